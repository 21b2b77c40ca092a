#include "transport/port_map.h"

#include "core/program_paths.h"
#include "core/text_codec.h"

#include <QFile>
#include <QRegularExpression>

namespace qx {

namespace {
// 1..17 for "COM1".."COM17" (any case), else 0.
int comNumber(const QString &name)
{
    static const QRegularExpression re("^COM([1-9][0-9]?)$", QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(name.trimmed());
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return n <= 17 ? n : 0;
}
} // namespace

PortMap PortMap::load(const ProgramPaths &paths)
{
    QFile f(paths.inProgramDir(PortMapFileName));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return parse(decodeLine(f.readAll()));
}

PortMap PortMap::parse(const QString &text)
{
    PortMap map;
    for (QString line : text.split('\n')) {
        const int hash = line.indexOf('#');
        if (hash >= 0)
            line.truncate(hash);
        const QStringList parts = line.split(QRegularExpression("[ \t\r]+"), Qt::SkipEmptyParts);
        if (parts.size() >= 2 && comNumber(parts[0]) > 0)
            map.set(parts[0], parts[1]);
    }
    return map;
}

void PortMap::set(const QString &portName, const QString &devicePath)
{
    paths_.insert(portName.trimmed().toUpper(), devicePath);
}

QString PortMap::devicePath(const QString &portName) const
{
    const int n = comNumber(portName);
    if (n == 0)
        return {};
    const auto it = paths_.constFind(portName.trimmed().toUpper());
    if (it != paths_.constEnd())
        return *it;
    return QString("/dev/ttyS%1").arg(n - 1);
}

} // namespace qx
