// The single-register write: per-interface and per-address rules, the
// read-back that enters the mirror, and the ADC set-up shadows.
#include "support/chip_bench.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

TEST(WriteChipByte, WritesReadsBackAndRefreshes)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    int refreshes = 0;
    b.up.views().set(ViewSlot::RegisterView, [&] { ++refreshes; });
    ASSERT_TRUE(b.up.WriteChipByte(0x45, 0x5A));
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xB1, 0x40, 0x45, 0x00, 0x01, 0x5A}, {0xB1, 0xC0, 0x45, 0x00, 0x01}}));
    EXPECT_EQ(b.dev().Mirror[0x45], 0x5A);
    EXPECT_EQ(refreshes, 1);
}

TEST(WriteChipByte, MirrorKeepsTheValueTheChipReadsBack)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    // The sleep register takes the value but reads as 0: the mirror shows 0.
    ASSERT_TRUE(b.up.WriteChipByte(0xFD, 0x33));
    EXPECT_EQ(b.dev().Mirror[0xFD], 0x00);
}

TEST(WriteChipByte, FailedReadBackLeavesMirrorAndViewsAlone)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    b.dev().Mirror[0x45] = 0x11;
    int refreshes = 0;
    b.up.views().set(ViewSlot::MemoryView, [&] { ++refreshes; });
    b.bridge.setSilent(true);
    EXPECT_FALSE(b.up.WriteChipByte(0x45, 0x5A));
    EXPECT_EQ(b.dev().Mirror[0x45], 0x11);
    EXPECT_EQ(refreshes, 0);
}

TEST(WriteChipByte, Register1BIsWrittenAsAPairAt1A)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    b.dev().Mirror[0x1A] = 0x77;
    b.dev().Mirror[0x1B] = 0x99;
    ASSERT_TRUE(b.up.WriteChipByte(0x1B, 0x3C));
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xB1, 0x40, 0x1A, 0x00, 0x02, 0x77, 0x3C}}));
    EXPECT_EQ(b.dev().Mirror[0x1B], 0);
    EXPECT_EQ(b.dev().Mirror[0x1A], 0x77);
    EXPECT_EQ(b.chip.controlWord(), 0x3C77);
}

TEST(WriteChipByte, ClockRegistersWaitASecondBeforeTheReadBack)
{
    for (int address : {0x31, 0x32}) {
        test::ChipBench b;
        ASSERT_TRUE(b.use(InterfaceKind::SPI));
        ASSERT_TRUE(b.up.WriteChipByte(address, 0x81));
        EXPECT_EQ(b.clock.nowMs(), 50 + 1000 + 50);
        EXPECT_EQ(b.bridge.requests().size(), 2u);
        EXPECT_EQ(b.dev().Mirror[size_t(address)], 0x81);
    }
    // A failed write is not checked: the read-back still decides.
    test::ChipBench b;
    b.dev().InterfaceType = uint16_t(InterfaceKind::Parallel);
    ASSERT_TRUE(b.up.WriteChipByte(0x31, 0x05));
    EXPECT_EQ(b.lpt.frames().size(), 2u);
}

TEST(WriteChipByte, DmmWritesFromFrameBuffer4AndKeepsNoShadow)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::DMM));
    b.bench.ComFun = AdcFunction::DMM;
    ASSERT_TRUE(b.up.WriteChipByte(0x3D, 0x66));
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xC2, 0x00, 0x7A, 0x01, 0x66}, {0xC2, 0x00, 0x7B, 0x01}}));
    EXPECT_EQ(b.dev().Mirror[0x3D], 0x66);
    EXPECT_EQ(b.bench.DmmShadow, (std::array<uint8_t, 6>{}));
    EXPECT_EQ(b.clock.nowMs(), 0);
}

TEST(WriteChipByte, UartSetsUpTheRelayFirst)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::UART));
    ASSERT_TRUE(b.up.WriteChipByte(0x20, 0x44));
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xC0, 0x00, 0x00, 0x06, 0x81, 0x02},
                                                       {0xC1, 0x00, 0x20, 0x00, 0x01, 0x44},
                                                       {0xC1, 0x80, 0x20, 0x00, 0x01}}));
    EXPECT_EQ(b.dev().Mirror[0x20], 0x44);

    // Without a bridge handle the relay cannot be set up: nothing is sent.
    b.usb.UsbClose(b.dev().Usb);
    b.bridge.clearRequests();
    EXPECT_FALSE(b.up.WriteChipByte(0x20, 0x45));
    EXPECT_TRUE(b.bridge.requests().empty());
    EXPECT_EQ(b.dev().Mirror[0x20], 0x44);
}

TEST(WriteChipByte, ShadowsFollowTheAnalysisFunction)
{
    struct Case {
        AdcFunction function;
        int address;
        int element;        // -1: no shadow changes
        bool dmmShadow;
    };
    const Case cases[] = {
        {AdcFunction::DMM, 0x3D, 1, true},
        {AdcFunction::Scale, 0x3D, 1, false},
        {AdcFunction::Scale, 0x3C, 0, false},
        {AdcFunction::DMM, 0x40, 4, true},
        {AdcFunction::Scale, 0x30, 5, false},
        {AdcFunction::DMM, 0x30, 5, true},
        {AdcFunction::Scale, 0x41, -1, false},
        {AdcFunction::Scale, 0x3B, -1, false},
        {AdcFunction::None, 0x3D, -1, false},
    };
    for (const Case &c : cases) {
        test::ChipBench b;
        ASSERT_TRUE(b.use(InterfaceKind::SPI));
        b.bench.ComFun = c.function;
        ASSERT_TRUE(b.up.WriteChipByte(c.address, 0xA7));
        std::array<uint8_t, 6> expectScale{}, expectDmm{};
        if (c.element >= 0)
            (c.dmmShadow ? expectDmm : expectScale)[size_t(c.element)] = 0xA7;
        EXPECT_EQ(b.bench.ScaleShadow, expectScale) << c.address;
        EXPECT_EQ(b.bench.DmmShadow, expectDmm) << c.address;
    }
}

TEST(WriteChipByte, FailedWriteKeepsTheShadow)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    b.bench.ComFun = AdcFunction::Scale;
    b.bridge.setSilent(true);
    EXPECT_FALSE(b.up.WriteChipByte(0x3C, 0x12));
    EXPECT_EQ(b.bench.ScaleShadow[0], 0);
}
