#pragma once
#include <QStringList>
#include <QTextStream>

namespace qx {
struct ProgramPaths;

// The command-line companion's commands. Each returns the exit status and
// writes its output to `out`, errors to `err`.
int RunQxctl(const QStringList &args, const ProgramPaths &paths, QTextStream &out, QTextStream &err);

} // namespace qx
