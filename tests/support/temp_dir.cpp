#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qx::test {

void TempDir::write(const QString &name, const QByteArray &bytes) const
{
    const QString p = file(name);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempDir::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace qx::test
