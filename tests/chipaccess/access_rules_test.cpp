// Rules that hold for every interface: mirror bounds, the refresh order,
// one access at a time, transfer sizes, channels and the typed helpers.
#include "support/chip_bench.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

TEST(AccessRules, MirrorBounds)
{
    test::ChipBench b;
    b.up.WriteMirror(1023, 0x12);
    EXPECT_EQ(b.up.ReadMirror(1023), 0x12);
    const auto before = b.dev().Mirror;
    b.up.WriteMirror(1024, 0x34);
    b.up.WriteMirror(-1, 0x34);
    EXPECT_EQ(b.dev().Mirror, before);
    EXPECT_EQ(b.up.ReadMirror(1024), 0);
    EXPECT_EQ(b.up.ReadMirror(-1), 0);
    b.up.WriteMirror(5, 9, 1);  // no channel 1
    EXPECT_EQ(b.up.ReadMirror(5, 1), 0);
}

TEST(AccessRules, ViewsRefreshInTheirFixedOrderWhoeverJoinedFirst)
{
    test::ChipBench b;
    std::vector<ViewSlot> order;
    // Joined in reverse, one window (ADF) not created yet.
    for (int s = ViewSlotCount - 1; s >= 0; --s) {
        const auto slot = ViewSlot(s);
        if (slot != ViewSlot::Adf)
            b.up.views().set(slot, [&order, slot] { order.push_back(slot); });
    }
    b.up.UpdateViews(0x40, 7);
    EXPECT_EQ(b.dev().Mirror[0x40], 7);
    EXPECT_EQ(order, (std::vector<ViewSlot>{ViewSlot::MemoryView, ViewSlot::RegisterView, ViewSlot::AdcClock,
                                            ViewSlot::Mpn, ViewSlot::Ads, ViewSlot::Op, ViewSlot::ProgramCounter}));
    order.clear();
    b.up.UpdateViews(2000, 7);  // outside the mirror: views still refresh
    EXPECT_EQ(order.size(), 7u);
}

namespace {
// A parallel adapter that tries a second chip access in the middle of a frame,
// as a timer firing during a busy wait would.
class NestingLink final : public ParallelLink {
public:
    NestingLink(ParallelLink &inner, TQx_UP &up) : inner_(inner), up_(up) {}
    std::vector<bool> nested;
    bool reachable() override { return true; }
    void ParallelBegin(uint16_t p) override { inner_.ParallelBegin(p); }
    void ParallelEnd(uint16_t p) override { inner_.ParallelEnd(p); }
    void ParallelWriteByte(uint16_t p, uint8_t v) override { inner_.ParallelWriteByte(p, v); }
    uint8_t ParallelReadByte(uint16_t p) override
    {
        const uint8_t v = inner_.ParallelReadByte(p);
        const uint8_t data[1] = {0xEE};
        nested = {up_.ReadChipBlock(0, 1), up_.WriteChipBlock(0, 1), up_.WriteChipByte(0, 1),
                  up_.writeBlock(0, data), up_.USBConnect(), up_.UsbIdentify(), up_.InterruptStreamRead() != 0};
        return v;
    }
    void ParallelDelay(uint16_t p, int c) override { inner_.ParallelDelay(p, c); }

private:
    ParallelLink &inner_;
    TQx_UP &up_;
};
} // namespace

TEST(AccessRules, ASecondAccessDuringOneIsRefused)
{
    test::ChipBench b;
    b.use(InterfaceKind::Parallel);
    NestingLink nesting(b.lpt, b.up);
    b.up.setParallelLink(&nesting);
    b.chip.load(0x10, {0x5A});
    ASSERT_TRUE(b.up.ReadChipBlock(0x10, 1));
    EXPECT_EQ(nesting.nested, std::vector<bool>(7, false));
    EXPECT_EQ(b.fb()[0], 0x5A);  // the refused calls did not touch the buffer
    EXPECT_EQ(b.lpt.frames().size(), 1u);
    EXPECT_FALSE(b.up.busy());
}

TEST(AccessRules, RefreshHooksMayReadTheChip)
{
    // The Program Counter panel re-reads its counter bytes while refreshing.
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    b.chip.load(0x15, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    std::optional<Bytes> counters;
    b.up.views().set(ViewSlot::ProgramCounter, [&] { counters = b.up.readBlock(0x15, 9); });
    ASSERT_TRUE(b.up.WriteChipByte(0x20, 1));
    EXPECT_EQ(counters, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(AccessRules, TransferSizesAndChannels)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    EXPECT_FALSE(b.up.ReadChipBlock(0, 0));
    EXPECT_FALSE(b.up.ReadChipBlock(0, 256));
    EXPECT_FALSE(b.up.WriteChipBlock(0, 300));
    EXPECT_FALSE(b.up.ReadChipBlock(0, 1, 1));
    EXPECT_FALSE(b.up.WriteChipByte(0, 1, 3));
    EXPECT_TRUE(b.bridge.requests().empty());
    EXPECT_TRUE(b.up.ReadChipBlock(0, 255));

    b.dev().InterfaceType = 6;  // no such interface
    EXPECT_FALSE(b.up.ReadChipBlock(0, 1));
    EXPECT_FALSE(b.up.WriteChipByte(0, 1));
}

TEST(AccessRules, TypedHelpersPlaceTheDataForTheInterface)
{
    for (InterfaceKind kind : {InterfaceKind::SPI, InterfaceKind::DMM, InterfaceKind::Parallel}) {
        test::ChipBench b;
        ASSERT_TRUE(b.use(kind));
        const Bytes data{0x10, 0x20, 0x30};
        ASSERT_TRUE(b.up.writeBlock(0x50, data));
        EXPECT_EQ(b.chip.readBlock(0x50, 3), data);
        EXPECT_EQ(b.up.readBlock(0x50, 3), data);
        EXPECT_FALSE(b.up.writeBlock(0x50, Bytes{}));
        EXPECT_FALSE(b.up.readBlock(0x50, 0));
    }
}
