#pragma once
#include <QStringList>
#include <QTextStream>

namespace qx {
struct ProgramPaths;

// True when the arguments are a chip command: options (--interface, --port,
// --device, --baud, --parity, --opto) and read / write / writebyte.
bool IsChipCommand(const QStringList &args);
// Runs a chip command through the chip access layer of a fresh bench.
int RunChipCommand(const QStringList &args, const ProgramPaths &paths, QTextStream &out, QTextStream &err);

extern const char *ChipCommandUsage;

} // namespace qx
