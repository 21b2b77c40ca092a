#include "widgets/window_placement.h"

#include <QList>
#include <QStringList>

namespace qx {

QByteArray EncodePlacements(const std::vector<WindowPlacement> &entries)
{
    QByteArray out = "1.10\r\n";
    const int n = int(std::min<size_t>(entries.size(), MaxPlacements));
    out += QByteArray::number(n) + "\r\n";
    for (int i = 0; i < n; ++i) {
        const WindowPlacement &p = entries[size_t(i)];
        out += p.name.toUtf8() + "\r\n";
        for (int v : {p.left, p.top, p.width, p.height, p.state, p.visible ? 1 : 0})
            out += QByteArray::number(v).rightJustified(5, ' ');
        out += "\r\n";
    }
    return out;
}

std::optional<std::vector<WindowPlacement>> DecodePlacements(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &l : lines)
        l = l.trimmed();
    if (lines.isEmpty() || lines[0] != "1.10")
        return std::nullopt;
    std::vector<WindowPlacement> out;
    bool ok = false;
    const int n = lines.size() > 1 ? lines[1].toInt(&ok) : 0;
    if (!ok)
        return out;
    for (int i = 0; i < std::min(n, MaxPlacements); ++i) {
        const int at = 2 + 2 * i;
        if (at + 1 >= lines.size())
            break;
        const QStringList v = QString::fromLatin1(lines[at + 1]).split(' ', Qt::SkipEmptyParts);
        if (v.size() != 6)
            break;
        WindowPlacement p;
        p.name = QString::fromUtf8(lines[at]);
        int *fields[] = {&p.left, &p.top, &p.width, &p.height, &p.state};
        for (int k = 0; k < 5; ++k)
            *fields[k] = v[k].toInt();
        p.visible = v[5].toInt() != 0;
        out.push_back(p);
    }
    return out;
}

WindowPlacement FitPlacementToScreen(WindowPlacement p, int sw, int sh)
{
    if (p.state != 0)
        return p;
    if (p.width > sw) p.width = sw;
    if (p.height > sh) p.height = sh;
    if (p.left > sw - 20) p.left = sw - p.width;
    if (p.top > sh - 20) p.top = sh - p.height;
    return p;
}

} // namespace qx
