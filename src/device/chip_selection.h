#pragma once
// The chip selection file "QxSel.INC": one chip per line, token 4 the
// definition file, tokens 5 and 6 the chip name and memory size.
#include <QString>
#include <QStringList>

#include <optional>

namespace qx {

struct ProgramPaths;

constexpr const char *SelectionFileName = "QxSel.INC";

// The chip list as the setup form shows it: token 5, two spaces, token 6.
// Without a selection file: the four built-in entries repeated 16 times.
QStringList ChipList(const ProgramPaths &paths);
bool SelectionFileExists(const ProgramPaths &paths);

// Reads the file's lines decoded (UTF-8, else Big5); nullopt when it cannot be opened.
std::optional<QStringList> ReadTextLines(const QString &path);

// The definition file named on line chipIndex + 1 of the selection file, as a
// path in the definition folder (empty when the selection file is missing).
QString DefinitionPathFor(const ProgramPaths &paths, int chipIndex);

} // namespace qx
