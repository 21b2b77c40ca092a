#include "device/base_utils.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(ParseNumber, DefinitionFileSyntax)
{
    struct Case { const char *text; bool ok; int32_t value; };
    const Case cases[] = {
        {"0FFH", true, 255}, {"0ffh", true, 255}, {"1010B", true, 10}, {"1B", true, 1},
        {"12D", true, 12}, {"12", true, 12}, {"-5", true, -5}, {"+7", true, 7},
        {"-", true, 0}, {"0ABH", true, 0xAB}, {"0", true, 0}, {"7", true, 7},
        {"", false, 0}, {"FF", false, 0}, {"FFH", false, 0}, {"0FF", false, 0}, {"0AB", false, 0},
        {"1AB", false, 0}, {"-5H", false, 0}, {"12X", false, 0}, {"1-2", false, 0}, {"0G1H", false, 0},
        {"4294967297", true, 1},  // 32-bit wrap-around
    };
    for (const Case &c : cases) {
        int32_t v = -12345;
        EXPECT_EQ(ParseNumber(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -12345) << c.text;
    }
}

TEST(ParseNumber, PlainConversionsYieldZeroOnForeignCharacters)
{
    EXPECT_EQ(ParseHex("1aF"), 0x1AF);
    EXPECT_EQ(ParseHex("0x10"), 0);
    EXPECT_EQ(ParseHex("FFFFFFFF"), -1);
    EXPECT_EQ(ParseDec("-42"), -42);
    EXPECT_EQ(ParseDec("+42"), 42);
    EXPECT_EQ(ParseDec("4-2"), 0);
    EXPECT_EQ(ParseBin("1101"), 13);
    EXPECT_EQ(ParseBin("102"), 0);
    EXPECT_EQ(ParseHex(""), 0);
}

TEST(TextHelpers, PaddingAndWidths)
{
    EXPECT_EQ(HexText(0x1A, 4), "001A");
    EXPECT_EQ(HexText(0x12345, 2), "2345");
    EXPECT_EQ(HexText(0, 0), "0");
    EXPECT_EQ(HexText(-1, 2), "FFFF");
    EXPECT_EQ(DecText(65537, 3), "001");
    EXPECT_EQ(DecText(-1, 0), "65535");
    EXPECT_EQ(BinText(5, 8), "00000101");
    EXPECT_EQ(BinText(0, 8), "00000000");
    EXPECT_EQ(BinText(0, 0), "");
    EXPECT_EQ(BinText(6, 1), "110");
    EXPECT_EQ(HexTextCompact(0), "0");
    EXPECT_EQ(HexTextCompact(0xFF800000u), "FF800000");
    EXPECT_EQ(RamFileSize(), 512);
}

TEST(KeepOnScreen, PullsWindowsBackOntoTheScreen)
{
    struct Case { ScreenRect in; ScreenRect out; };
    const Case cases[] = {
        {{10, 10, 300, 200}, {10, 10, 300, 200}},      // on screen: unchanged
        {{0, 0, 2000, 1500}, {0, 0, 1024, 768}},       // too large: cut to the screen
        {{1100, 10, 300, 200}, {724, 10, 300, 200}},   // left beyond the screen
        {{1010, 10, 300, 200}, {1004, 10, 300, 200}},  // left within 20 of the edge
        {{10, 760, 300, 200}, {10, 748, 300, 200}},    // top within 20 of the edge
        {{10, 900, 300, 200}, {10, 568, 300, 200}},    // top beyond the screen
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeepOnScreen(c.in, 1024, 768), c.out) << c.in.left << "," << c.in.top;
}
