#include "qxctl_commands.h"

#include "core/program_paths.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("qxbench");
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto paths = qx::ProgramPaths::fromEnvironment(QCoreApplication::applicationDirPath());
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int rc = qx::RunQxctl(args, paths, out, err);
    out.flush();
    err.flush();
    return rc;
}
