#include "core/program_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qx {

namespace {
QString withSlash(QString p)
{
    if (!p.endsWith('/'))
        p += '/';
    return p;
}
} // namespace

ProgramPaths ProgramPaths::at(const QString &programDir, const QString &definitionDir)
{
    return ProgramPaths{withSlash(programDir), withSlash(definitionDir)};
}

ProgramPaths ProgramPaths::fromEnvironment(const QString &executableDir)
{
    QString program = qEnvironmentVariable("QX_PROGRAM_DIR");
    if (program.isEmpty()) {
        QFileInfo exe(executableDir);
        if (!executableDir.isEmpty() && exe.isDir() && exe.isWritable()) {
            program = executableDir;
        } else {
            program = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
            if (program.isEmpty())
                program = QDir::homePath() + "/.local/share/qxbench";
            QDir().mkpath(program);
        }
    }
    QString lab = qEnvironmentVariable("QXLAB");
    if (lab.isEmpty())
        lab = QDir::homePath() + "/QXLAB";
    return ProgramPaths{withSlash(program), withSlash(withSlash(lab) + "Include")};
}

} // namespace qx
