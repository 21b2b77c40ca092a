#pragma once
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace qx::test {

// A scratch folder removed at the end of the test.
class TempDir {
public:
    QString path() const { return dir_.path() + "/"; }
    QString file(const QString &name) const { return path() + name; }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
private:
    QTemporaryDir dir_;
};

} // namespace qx::test
