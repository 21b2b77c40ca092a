#include "device/base_utils.h"

#include "core/clock.h"

namespace qx {

namespace {

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

// Accumulates digits of `base` from the last character; 0 on a foreign character.
int32_t accumulate(const QString &text, int base, int firstDigit)
{
    uint32_t result = 0;
    uint32_t place = 1;
    for (int i = text.size() - 1; i >= firstDigit; --i) {
        const int d = digitValue(text[i]);
        if (d < 0 || d >= base)
            return 0;
        result += uint32_t(d) * place;
        place *= uint32_t(base);
    }
    return int32_t(result);
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

QString padded(QString digits, int width)
{
    if (digits.size() < width)
        digits.prepend(QString(width - digits.size(), '0'));
    return digits;
}

} // namespace

int32_t ParseHex(const QString &text) { return accumulate(text, 16, 0); }
int32_t ParseBin(const QString &text) { return accumulate(text, 2, 0); }

int32_t ParseDec(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const bool signedText = text[0] == '-' || text[0] == '+';
    const int32_t magnitude = accumulate(text, 10, signedText ? 1 : 0);
    if (signedText && text[0] == '-')
        return int32_t(0u - uint32_t(magnitude));
    return magnitude;
}

bool ParseNumber(const QString &text, int32_t &value)
{
    if (text.isEmpty())
        return false;
    enum Base { Bin = 1, Dec = 2, Hex = 4 };
    int marks = 0;
    bool suffix = false;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c))
            continue;
        if (i == 0) {
            if (c != '-' && c != '+')
                return false;
            marks |= Dec;
        } else if (i == n - 1) {
            switch (c.toUpper().unicode()) {
            case 'B': marks |= Bin; break;
            case 'D': marks |= Dec; break;
            case 'H': marks |= Hex; break;
            default: return false;
            }
            suffix = true;
        } else {
            if (!isAsciiLetter(c) || digitValue(c) < 0)
                return false;
            marks |= Hex;
        }
    }
    if (marks != 0 && marks != Bin && marks != Dec && marks != Hex)
        return false;
    const QString body = suffix ? text.left(n - 1) : text;
    switch (marks) {
    case Bin: value = ParseBin(body); break;
    case Hex: value = ParseHex(body); break;
    default: value = ParseDec(body); break;
    }
    return true;
}

QString HexText(int32_t value, int width)
{
    return padded(QString::number(uint32_t(value) & 0xFFFFu, 16).toUpper(), width);
}

QString DecText(int32_t value, int width)
{
    return padded(QString::number(uint32_t(value) & 0xFFFFu), width);
}

QString BinText(int32_t value, int width)
{
    if (value == 0)
        return QString(qMax(width, 0), '0');
    return padded(QString::number(uint32_t(value), 2), width);
}

QString HexTextCompact(uint32_t value)
{
    return QString::number(value, 16).toUpper();
}

void DelayMs(Clock &clock, int64_t ms)
{
    const int64_t start = clock.nowMs();
    for (int64_t elapsed = 0; elapsed < ms; elapsed = clock.nowMs() - start)
        clock.sleepMs(ms - elapsed);
}

ScreenRect KeepOnScreen(ScreenRect w, int sw, int sh)
{
    if (w.width > sw) w.width = sw;
    if (w.height > sh) w.height = sh;
    if (w.left > sw) w.left = sw - w.width;
    else if (w.left > sw - 20) w.left = sw - 20;
    if (w.top > sh) w.top = sh - w.height;
    else if (w.top > sh - 20) w.top = sh - 20;
    return w;
}

} // namespace qx
