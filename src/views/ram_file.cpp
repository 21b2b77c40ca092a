#include "views/ram_file.h"

#include "core/text_codec.h"
#include "device/base_utils.h"

#include <QList>

namespace qx {

namespace {

// A hint holding a line break would shift every following line of the file.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

bool parseInt(const QByteArray &text, int32_t &value)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return false;
    value = int32_t(uint32_t(v));  // colours above 0x7FFFFFFF keep their bits
    return true;
}

} // namespace

QByteArray EncodeRamFile(const std::array<uint8_t, MirrorSize> &mirror, const AddressTable &mask,
                         const MarkTable &marks)
{
    QByteArray out;
    out.reserve(RamFileAddresses * 24);
    for (int a = 0; a < RamFileAddresses; ++a) {
        out += mask[size_t(a)] ? HexText(mirror[size_t(a)], 2).toLatin1() : QByteArray("-");
        out += "\r\n";
    }
    for (int a = 0; a < RamFileAddresses; ++a) {
        const CellMarks &m = marks[size_t(a)];
        out += QByteArray::number(m.marked ? 1 : 0).rightJustified(2, ' ');
        out += QByteArray::number(m.hinted ? 1 : 0).rightJustified(2, ' ');
        out += "\r\n";
        out += QByteArray::number(m.colour);
        out += "\r\n";
        out += oneLine(m.hint).toUtf8();
        out += "\r\n";
    }
    return out;
}

RamFileContent DecodeRamFile(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the break after the last line ends it, it starts nothing
    for (QByteArray &l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    int next = 0;
    auto line = [&]() -> QByteArray { return next < lines.size() ? lines[next++] : QByteArray(); };

    RamFileContent c;
    for (int a = 0; a < RamFileAddresses; ++a)
        c.valueLines[size_t(a)] = QString::fromLatin1(line()).trimmed();
    for (int a = 0; a < RamFileAddresses; ++a) {
        CellMarks &m = c.marks[size_t(a)];
        const QList<QByteArray> flags = line().simplified().split(' ');
        int32_t mark = 0, hint = 0, colour = 0;
        if (!flags.isEmpty() && !parseInt(flags[0], mark))
            mark = 0;
        if (flags.size() < 2 || !parseInt(flags[1], hint))
            hint = 0;
        if (!parseInt(line(), colour))
            colour = 0;
        m.marked = mark == 1;
        m.hinted = hint == 1;
        m.colour = colour;
        m.hint = decodeLine(line());
    }
    return c;
}

uint8_t RamLoadValue(const QString &line, uint8_t addressMask)
{
    return addressMask ? uint8_t(ParseHex(line) & 0xFF) : 0;
}

} // namespace qx
