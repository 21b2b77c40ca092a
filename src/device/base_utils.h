#pragma once
// Number and text helpers shared by the views, panels and the definition
// reader (the Qx_base1a unit). All pure except DelayMs, which waits on a Clock.
#include <QString>
#include <cstdint>

namespace qx {
class Clock;

// Definition-file number syntax: decimal, or a suffix B/D/H; a leading sign
// marks decimal; a hexadecimal letter may not come first ("0FFH", not "FFH").
// On failure `value` is left unchanged and false is returned.
bool ParseNumber(const QString &text, int32_t &value);

// Plain conversions: any character outside the base makes the result 0.
// Accumulated from the last character in 32-bit wrap-around arithmetic.
int32_t ParseHex(const QString &text);
int32_t ParseDec(const QString &text);  // optional leading '-' or '+'
int32_t ParseBin(const QString &text);

// Low 16 bits in upper-case hex / unsigned decimal, left-padded with '0' to
// `width`; never cut.
QString HexText(int32_t value, int width);
QString DecText(int32_t value, int width);
// Binary digits of the value, padded to `width`; zero is `width` zeros.
QString BinText(int32_t value, int width);
// All 32 bits in upper-case hex without leading zeros ("0" for zero).
QString HexTextCompact(uint32_t value);

void DelayMs(Clock &clock, int64_t ms);

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const ScreenRect &) const = default;
};
// Pulls a window back onto a screen of the given size.
ScreenRect KeepOnScreen(ScreenRect window, int screenWidth, int screenHeight);

// Number of value lines at the start of a RAM file.
constexpr int RamFileSize() { return 512; }

} // namespace qx
