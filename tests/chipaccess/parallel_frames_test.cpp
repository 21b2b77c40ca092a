// Parallel frames: command, address, data, each byte with the bus delay.
#include "support/chip_bench.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

TEST(ParallelFrames, ReadAndWriteFrames)
{
    test::ChipBench b;
    b.use(InterfaceKind::Parallel);
    b.bench.ParallelPortBase = 0x278;
    b.chip.load(0x1F0, {1, 2, 3});

    ASSERT_TRUE(b.up.ReadChipBlock(0x1F0, 3));
    EXPECT_EQ(Bytes(b.fb(), b.fb() + 3), (Bytes{1, 2, 3}));
    EXPECT_EQ(b.clock.nowMs(), 50);

    b.fb()[5] = 0xDE;
    b.fb()[6] = 0xAD;
    ASSERT_TRUE(b.up.WriteChipBlock(0x301, 2));
    EXPECT_EQ(b.chip.readBlock(0x301, 2), (Bytes{0xDE, 0xAD}));

    const auto &f = b.lpt.frames();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].written, (Bytes{0xC0, 0xF0, 0x01}));
    EXPECT_EQ(f[0].read, (Bytes{1, 2, 3}));
    EXPECT_EQ(f[0].delays, 6);
    EXPECT_EQ(f[1].written, (Bytes{0x40, 0x01, 0x03, 0xDE, 0xAD}));
    EXPECT_EQ(f[1].delays, 5);
    for (const auto &frame : f) {
        EXPECT_EQ(frame.port, 0x278);
        EXPECT_EQ(frame.delayCount, 1000);
        EXPECT_TRUE(frame.ended);
    }
}

TEST(ParallelFrames, UnreachablePortFailsWithAStatusText)
{
    test::ChipBench b;
    b.use(InterfaceKind::Parallel);
    b.lpt.setReachable(false);
    EXPECT_FALSE(b.up.ReadChipBlock(0, 1));
    b.fb()[5] = 1;
    EXPECT_FALSE(b.up.WriteChipBlock(0, 1));
    EXPECT_TRUE(b.lpt.frames().empty());
    EXPECT_EQ(b.bench.status.text[1], "Parallel port not found");

    b.up.setParallelLink(nullptr);
    b.bench.status.text[1].clear();
    EXPECT_FALSE(b.up.ReadChipBlock(0, 1));
    EXPECT_EQ(b.bench.status.text[1], "Parallel port not found");
}
