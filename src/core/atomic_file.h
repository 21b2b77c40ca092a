#pragma once
#include <QByteArray>
#include <QString>

namespace qx {

// Writes a whole file through a temporary file and a rename, so a failed
// write leaves the old file whole. On failure `error` names the reason.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace qx
