#include "device/line_reader.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(LineReader, TokensCommentAndLimits)
{
    ParseLine pl;
    pl.setLine("  20h\tdcos 2 0 ; remark with \"quote\" 9 9");
    EXPECT_EQ(pl.tokenCount(), 4);
    EXPECT_EQ(pl.token(4), "20H");
    EXPECT_EQ(pl.token(5), "DCOS");
    EXPECT_EQ(pl.token(7), "0");
    EXPECT_EQ(pl.token(8), "");
    EXPECT_EQ(pl.param(1), "; REMARK WITH \"QUOTE\" 9 9");

    pl.setLine("A \"B ; C");
    EXPECT_EQ(pl.param(1), "\"B ; C");
    EXPECT_EQ(pl.tokenCount(), 1);

    QString many;
    for (int i = 0; i < 40; ++i)
        many += QString("T%1 ").arg(i);
    pl.setLine(many);
    EXPECT_EQ(pl.tokenCount(), 29);
    EXPECT_EQ(pl.token(32), "T28");

    pl.setLine(QString(150, 'X') + " ABCDEFGHIJKLMNOP");
    EXPECT_EQ(pl.text.size(), 160);
    EXPECT_EQ(pl.token(5), "ABCDEFGHI");

    pl.setLine("");
    EXPECT_EQ(pl.tokenCount(), 0);
    EXPECT_FALSE(pl.hasComment());
}

TEST(LineReader, DirectiveCodes)
{
    const std::pair<const char *, int> cases[] = {
        {"#PRODUCT", 1}, {"#COMPILER", 2}, {"#ID", 3}, {"#ROM", 4}, {"#REG0", 5}, {"#REG1", 6},
        {"#RAMBANK0", 7}, {"#RAMBANK4", 11}, {"#REGBIT", 12}, {"#REGBIT3", 15}, {"#REGBYTE", 16},
        {"#REGWORD", 17}, {"#REG3BYTE", 18}, {"#STACK", 19}, {"#SBMADDR", 20}, {"#SIMIC", 21},
        {"#REGBITSTR", 22}, {"#REGWORDSTR", 24}, {"#REGBITSTRCN", 25}, {"#REGWORDSTRCN", 27},
        {"#OP", 29}, {"#CMP0S", 30}, {"#DMM", 31}, {"#DMMADCCLK", 32}, {"#PROGRAMCOUNTER", 33},
        {"#MPN", 34}, {"#ADS", 35}, {"#ADF", 36}, {"#FLUKE", 37}, {"#ADCNUM", 38},
        {"#product", 255}, {"#RAMBANK5", 255}, {"", 255}, {"ADS", 255},
    };
    for (const auto &[token, code] : cases)
        EXPECT_EQ(IsPseudo(token), code) << token;
}
