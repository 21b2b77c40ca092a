#pragma once
#include <QByteArray>
#include <QString>

namespace qx {

// Text read from definition and configuration files: UTF-8 when the bytes are
// valid UTF-8, else Big5 (files written on a traditional-Chinese system).
QString decodeLine(const QByteArray &bytes);

// Encodes text as Big5 bytes, for file headers that are laid out in Big5.
QByteArray encodeBig5(const QString &text);

} // namespace qx
