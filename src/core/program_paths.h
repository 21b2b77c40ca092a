#pragma once
#include <QString>

namespace qx {

// Where the tool keeps its files. ProgramDir holds the selection file, the
// configuration and result files; the definition folder holds chip
// definitions. Both are resolved once, in one place, from the environment:
//   QX_PROGRAM_DIR  overrides ProgramDir;
//   otherwise the executable's folder when writable, else the per-user data folder;
//   QXLAB           root of the definition folder ($QXLAB/Include/, default ~/QXLAB).
struct ProgramPaths {
    QString programDir;     // always ends with '/'
    QString definitionDir;  // always ends with '/'

    static ProgramPaths fromEnvironment(const QString &executableDir);
    // Both folders given explicitly (tests, tools).
    static ProgramPaths at(const QString &programDir, const QString &definitionDir);

    QString inProgramDir(const QString &fileName) const { return programDir + fileName; }
    QString inDefinitionDir(const QString &fileName) const { return definitionDir + fileName; }
};

} // namespace qx
