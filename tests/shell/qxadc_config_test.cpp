#include "core/atomic_file.h"
#include "shell/app_title.h"
#include "shell/qxadc_config.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qx;

namespace {
const QString title = "QX-ENOB TEST for QX7020";

QxAdcConfig sample()
{
    QxAdcConfig c;
    c.chipIndex = 0;
    c.interfaceType = 5;
    c.comIndex = 0;
    c.baudIndex = 5;
    c.parityIndex = 0;
    c.options[2] = true;
    c.registerPage = 3;
    c.memoryBank = 1;
    c.adsOutputBits = 2;
    c.adpOutputBits = -1;
    c.peakHoldSelect = 1;
    c.pointIndex = 7;
    c.scaleIndex = 1;
    c.fftView = true;
    c.functionIndex = 2;
    c.lptIndex = 1;
    c.calibrationReference = 1234567;
    c.calibrationReading = 89;
    c.scaleShadow = {1, 2, 3, 4, 5, 6};
    c.dmmShadow = {255, 0, 16, 32, 64, 128};
    c.comFun = 1;
    c.adShift = 3;
    c.photo = 1;
    c.referenceVoltage = "1.2345";
    c.averageIndex = 4;
    c.modeCountText = "  12 modes";
    c.chipVariant = 2;
    c.setdmmFolder = "/home/bench/cal";
    return c;
}
} // namespace

TEST(QxAdcConfig, LayoutToTheByte)
{
    const QByteArray expected =
        "QX-ENOB TEST for QX7020\r\n"
        "   0   5   0   5   0\r\n"
        "FALSE\r\nFALSE\r\nTRUE\r\nFALSE\r\nFALSE\r\nFALSE\r\n"
        " 3\r\n 1\r\n"
        "   2  -1   1\r\n"
        "   7   1\r\nTRUE\r\n"
        "   2\r\n"
        "   1\r\n"
        " 1234567      89\r\n"
        "   1   2   3   4   5   6\r\n"
        " 255   0  16  32  64 128\r\n"
        "   1\r\n   3\r\n"
        "   1\r\n"
        "1.2345\r\n"
        "   4\r\n"
        "    12\r\n"
        "0B108\r\n"
        "/home/bench/cal\r\n";
    EXPECT_EQ(EncodeQxAdcConfig(title, sample()), expected);
}

TEST(QxAdcConfig, RoundTripAndForeignTitle)
{
    const QByteArray bytes = EncodeQxAdcConfig(title, sample());
    const auto load = DecodeQxAdcConfig(bytes, title, QxAdcConfig{});
    ASSERT_TRUE(load.titleMatched);
    EXPECT_EQ(load.groupsRead, 17);
    QxAdcConfig expect = sample();
    expect.fftView = false;          // read and ignored
    expect.modeCountText = "12";     // the decimal text of the stored count
    EXPECT_EQ(EncodeQxAdcConfig(title, load.config), EncodeQxAdcConfig(title, expect));
    EXPECT_EQ(load.config.dmmShadow, sample().dmmShadow);
    EXPECT_EQ(load.config.setdmmFolder, "/home/bench/cal");

    const auto other = DecodeQxAdcConfig(bytes, "qx-enob test for qx7020", QxAdcConfig{});
    EXPECT_FALSE(other.titleMatched);
    EXPECT_EQ(other.groupsRead, 0);
}

TEST(QxAdcConfig, FirstRunDefaultsAndShortFiles)
{
    QxAdcConfig initial;
    initial.modeCountText = "abc";
    const QByteArray first = EncodeQxAdcConfig(title, initial);
    EXPECT_TRUE(first.contains("FALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\n"));
    EXPECT_TRUE(first.contains("\r\n    48\r\n0B3F7\r\n\r\n"));
    EXPECT_TRUE(first.endsWith("0B3F7\r\n\r\n"));
    const auto back = DecodeQxAdcConfig(first, title, initial);
    EXPECT_EQ(back.config.calibrationReference, 500000);
    EXPECT_EQ(back.config.calibrationReading, 50000);

    // A file ending after group 5 applies groups 0..5 and keeps the rest.
    QByteArray shortFile = EncodeQxAdcConfig(title, sample());
    const int cut = int(shortFile.indexOf("   1\r\n 1234567"));
    shortFile.truncate(cut);
    QxAdcConfig current;
    current.photo = 7;
    const auto part = DecodeQxAdcConfig(shortFile, title, current);
    EXPECT_EQ(part.groupsRead, 6);
    EXPECT_EQ(part.config.functionIndex, 2);
    EXPECT_EQ(part.config.photo, 7);

    // Hand-edited spacing, extra lines, and a non-number that stops the load.
    const QByteArray hand = "QX-ENOB TEST for QX7020\n 1 2\n3   4 5 trailing words\nTRUE\n";
    const auto h = DecodeQxAdcConfig(hand, title, QxAdcConfig{});
    EXPECT_EQ(h.config.interfaceType, 2);
    EXPECT_EQ(h.config.parityIndex, 5);
    EXPECT_TRUE(h.config.options[0]);
    const auto bad = DecodeQxAdcConfig("QX-ENOB TEST for QX7020\n 1 x 3 4 5\n", title, QxAdcConfig{});
    EXPECT_EQ(bad.groupsRead, 0);
    EXPECT_EQ(bad.config.chipIndex, 0);
}

TEST(QxAdcConfig, VariantCodesAndModeCounts)
{
    const std::pair<const char *, int> codes[] = {
        {"0B3F7", 0}, {"03077", 1}, {"3077", 1}, {"0B108", 2}, {"0b301", 3}, {" 03077", 0}, {"xyz", 0}, {"", 0}};
    for (const auto &[code, variant] : codes)
        EXPECT_EQ(ChipVariantFromCode(code), variant) << code;
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(ChipVariantFromCode(ChipVariantCode(v)), v);

    const std::pair<const char *, int64_t> counts[] = {
        {"abc", 48}, {"", 48}, {"0", 48}, {"  -7x", -7}, {"+5", 5}, {"12 modes", 12}, {" 1 2", 1}};
    for (const auto &[text, n] : counts)
        EXPECT_EQ(ModeCountForSave(text), n) << text;

    EXPECT_EQ(ParallelBaseForIndex(0), 0x378);
    EXPECT_EQ(ParallelBaseForIndex(1), 0x278);
    EXPECT_EQ(ParallelBaseForIndex(2), 0x3BC);
    EXPECT_EQ(ParallelBaseForIndex(-1), 0x378);
}

TEST(ConfigFiles, AppTitleAndAtomicWrite)
{
    test::TempDir dir;
    EXPECT_EQ(ReadAppTitle(dir.path()), "QX-ENOB TEST for QX7020");
    dir.write("QxAppName.cfg", "Bench 7\r\nignored\r\n");
    EXPECT_EQ(ReadAppTitle(dir.path()), "Bench 7");

    ASSERT_TRUE(WriteFileAtomically(dir.file("QxADC.cfg"), "old"));
    // A folder that cannot take the file (here: a path below a regular file,
    // which fails whatever the process may do).
    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.file("QxADC.cfg/QxADC.cfg"), "new", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dir.read("QxADC.cfg"), "old");
}
