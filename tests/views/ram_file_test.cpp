#include "views/ram_file.h"

#include <QList>

#include <gtest/gtest.h>

using namespace qx;

namespace {
QList<QByteArray> lines(const QByteArray &b)
{
    QList<QByteArray> l = b.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}
} // namespace

TEST(RamFile, LayoutOfValuesMarksAndHints)
{
    std::array<uint8_t, MirrorSize> mirror{};
    AddressTable mask{};
    MarkTable marks{};
    mirror[0x00] = 0x0E;  // value kept unmasked where the address exists
    mask[0x00] = 0x0E;
    mirror[0x01] = 0x5A;  // absent address: "-"
    mask[0x1FF] = 0xFF;
    mirror[0x1FF] = 0xA5;
    mask[0x200] = 0xFF;  // beyond the file
    marks[0] = {true, false, 0x808080, ""};
    marks[5] = {false, true, -2147483633, "ref\r\ninput"};

    const QByteArray bytes = EncodeRamFile(mirror, mask, marks);
    EXPECT_FALSE(bytes.contains("\n\n"));
    const QList<QByteArray> l = lines(bytes);
    ASSERT_EQ(l.size(), 512 + 3 * 512);
    for (const QByteArray &line : l)
        ASSERT_TRUE(line.endsWith('\r')) << line.constData();
    EXPECT_EQ(l[0], "0E\r");
    EXPECT_EQ(l[1], "-\r");
    EXPECT_EQ(l[511], "A5\r");
    EXPECT_EQ(l[512], " 1 0\r");
    EXPECT_EQ(l[513], "8421504\r");
    EXPECT_EQ(l[514], "\r");
    EXPECT_EQ(l[512 + 15], " 0 1\r");
    EXPECT_EQ(l[512 + 16], "-2147483633\r");
    EXPECT_EQ(l[512 + 17], "ref  input\r");  // a line break would shift the rest of the file

    const RamFileContent back = DecodeRamFile(bytes);
    EXPECT_EQ(back.valueLines[0], "0E");
    EXPECT_EQ(back.valueLines[1], "-");
    EXPECT_EQ(back.marks[0], marks[0]);
    EXPECT_EQ(back.marks[5], (CellMarks{false, true, -2147483633, "ref  input"}));
    EXPECT_EQ(back.marks[6], CellMarks{});
}

TEST(RamFile, ShortOrDamagedFilesReadAsCleared)
{
    QByteArray bytes;
    for (int a = 0; a < 512; ++a)
        bytes += "11\r\n";
    bytes += " 1 1\r\n255\r\nfirst\r\n";    // address 0
    bytes += "x 1\r\nblue\r\nsecond\r\n";  // address 1: unreadable flag and colour
    bytes += " 1";                            // address 2: ends inside its flag line
    const RamFileContent c = DecodeRamFile(bytes);
    EXPECT_EQ(c.marks[0], (CellMarks{true, true, 255, "first"}));
    EXPECT_EQ(c.marks[1], (CellMarks{false, true, 0, "second"}));
    EXPECT_EQ(c.marks[2], (CellMarks{true, false, 0, ""}));
    EXPECT_EQ(c.marks[3], CellMarks{});

    const RamFileContent half = DecodeRamFile("12\n34\n");
    EXPECT_EQ(half.valueLines[1], "34");
    EXPECT_EQ(half.valueLines[2], "");
    EXPECT_EQ(RamLoadValue(half.valueLines[2], 0xFF), 0);
}

TEST(RamFile, LoadValueOfALine)
{
    struct Case { const char *line; uint8_t mask; uint8_t value; };
    const Case cases[] = {
        {"5A", 0xFF, 0x5A}, {"5a", 0xFF, 0x5A}, {"5A", 0x00, 0x00},  // absent address loads 0
        {"-", 0xFF, 0x00},  {"G1", 0xFF, 0x00}, {"", 0xFF, 0x00},
        {"0E", 0x0E, 0x0E}, {"1FF", 0xFF, 0xFF},  // only the byte is kept
    };
    for (const Case &c : cases)
        EXPECT_EQ(RamLoadValue(c.line, c.mask), c.value) << c.line;
}
