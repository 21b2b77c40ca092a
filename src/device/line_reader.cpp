#include "device/line_reader.h"

#include <utility>

namespace qx {

void ParseLine::setLine(const QString &asRead)
{
    text = asRead.toUpper().left(MaxText);
    CutLIPara(*this);
}

QString ParseLine::param(int k) const
{
    if (k < 1 || k > LastToken || start[size_t(k)] == 0)
        return QString();
    return text.mid(start[size_t(k)] - 1, length[size_t(k)]);
}

int ParseLine::tokenCount() const
{
    int n = 0;
    for (int k = FirstToken; k <= LastToken && start[size_t(k)] != 0; ++k)
        ++n;
    return n;
}

void CutLIPara(ParseLine &line)
{
    line.start.fill(0);
    line.length.fill(0);
    const QString &t = line.text;
    int end = int(t.size());
    for (int i = 0; i < int(t.size()); ++i) {
        if (t[i] == '"' || t[i] == ';') {
            line.start[1] = i + 1;
            line.length[1] = int(t.size()) - i;
            end = i;
            break;
        }
    }
    int k = ParseLine::FirstToken;
    int i = 0;
    while (i < end && k <= ParseLine::LastToken) {
        while (i < end && (t[i] == ' ' || t[i] == '\t'))
            ++i;
        if (i >= end)
            break;
        const int s = i;
        while (i < end && t[i] != ' ' && t[i] != '\t')
            ++i;
        line.start[size_t(k)] = s + 1;
        line.length[size_t(k)] = i - s;
        ++k;
    }
}

int IsPseudo(const QString &token)
{
    static const std::pair<const char *, int> table[] = {
        {"#PRODUCT", 1}, {"#COMPILER", 2}, {"#ID", 3}, {"#ROM", 4}, {"#REG0", 5}, {"#REG1", 6},
        {"#RAMBANK0", 7}, {"#RAMBANK1", 8}, {"#RAMBANK2", 9}, {"#RAMBANK3", 10}, {"#RAMBANK4", 11},
        {"#REGBIT", 12}, {"#REGBIT1", 13}, {"#REGBIT2", 14}, {"#REGBIT3", 15},
        {"#REGBYTE", 16}, {"#REGWORD", 17}, {"#REG3BYTE", 18}, {"#STACK", 19}, {"#SBMADDR", 20},
        {"#SIMIC", 21}, {"#REGBITSTR", 22}, {"#REGBYTESTR", 23}, {"#REGWORDSTR", 24},
        {"#REGBITSTRCN", 25}, {"#REGBYTESTRCN", 26}, {"#REGWORDSTRCN", 27},
        {"#OP", 29}, {"#CMP0S", 30}, {"#DMM", 31}, {"#DMMADCCLK", 32}, {"#PROGRAMCOUNTER", 33},
        {"#MPN", 34}, {"#ADS", 35}, {"#ADF", 36}, {"#FLUKE", 37}, {"#ADCNUM", 38},
    };
    for (const auto &[name, code] : table)
        if (token == QLatin1String(name))
            return code;
    return NotDirective;
}

} // namespace qx
