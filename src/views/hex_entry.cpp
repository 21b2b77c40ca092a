#include "views/hex_entry.h"

#include "device/base_utils.h"

namespace qx {

int HexEntry::digitValue(QChar c)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

bool HexEntry::addDigit(QChar c)
{
    const int d = digitValue(c);
    if (d < 0 || closed_ || text_.size() >= limit_.size())
        return false;
    if (d > digitValue(limit_[text_.size()]))
        return false;
    text_ += c.toUpper();
    if (text_.size() == limit_.size()) {
        accepted_ = true;
        closed_ = true;
        return true;
    }
    return false;
}

int HexEntry::value() const
{
    return ParseHex(text_);
}

} // namespace qx
