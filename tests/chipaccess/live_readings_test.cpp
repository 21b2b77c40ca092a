#include "chipaccess/live_readings.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace qx;

TEST(LiveReadings, ResultDecoding)
{
    EXPECT_EQ(SignedResult24({0x00, 0x00, 0x80}), -8388608);
    EXPECT_EQ(SignedResult24({0xFF, 0xFF, 0x7F}), 8388607);
    EXPECT_EQ(SignedResult24({0xFF, 0xFF, 0xFF}), -1);
    EXPECT_EQ(SignedResult24({0x34, 0x12, 0x00}), 0x1234);
    EXPECT_EQ(RmsAccumulator40({0, 0, 0, 0, 1}), 4294967296ull);
    EXPECT_DOUBLE_EQ(std::sqrt(double(RmsAccumulator40({0, 0, 0, 0, 1}))), 65536.0);
    EXPECT_EQ(uint32_t(RmsAccumulator40({0, 0, 0, 0, 1})), 0u);
    EXPECT_EQ(RmsAccumulator40({0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0xFFFFFFFFFFull);
}

TEST(LiveReadings, ResistanceCycleTakesFourteenSamples)
{
    ResistanceSequence seq;
    std::vector<uint8_t> writes;
    int ready = 0;
    int readyAt = -1;
    // B samples 100..106 (three settle, four summed), then A samples 200..206.
    for (int i = 0; i < 14; ++i) {
        const int32_t s = i < 7 ? 100 + i : 200 + (i - 7);
        const auto step = seq.feed(s);
        if (step.writeRegister)
            writes.push_back(*step.writeRegister);
        if (step.readingReady) {
            ++ready;
            readyAt = i;
        }
    }
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(readyAt, 13);
    EXPECT_EQ(writes, (std::vector<uint8_t>{0x38, 0x11}));
    EXPECT_DOUBLE_EQ(seq.sumB(), (103 + 104 + 105 + 106) / 4.0);
    EXPECT_DOUBLE_EQ(seq.sumA(), (203 + 204 + 205 + 206) / 4.0);
    EXPECT_EQ(seq.phase(), 0x00);
    EXPECT_NEAR(*seq.reading(2.0), 2.0 * 204.5 / 104.5, 1e-12);
    EXPECT_STREQ(ResistanceFormat(0), "%.2f ohm");
    EXPECT_STREQ(ResistanceFormat(5), "%.3f M ohm");
}
