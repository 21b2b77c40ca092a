#include "views/view_tables.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {

// A chip with one bit register at 0x22 (bit 3 absent), one byte register at
// 0x10 and a word register 0x42/0x41, and RAM at 0x80..0xEF.
struct Tables {
    ChipModel chip;
    std::array<uint8_t, MirrorSize> mirror{};
    AddressTable last{}, changed{};
    AddressSet tracked;
    BankCells cells{};

    Tables()
    {
        RegBitEntry b;
        b.Address = 0x22;
        chip.bitRegisters.Add(b);
        chip.AddressMask[0x22] = 0xF7;
        RegByteEntry y;
        y.Address = 0x10;
        chip.byteRegisters.Add(y);
        chip.AddressMask[0x10] = 0xFF;
        RegWordEntry w;
        w.AddressHigh = 0x42;
        w.AddressLow = 0x41;
        chip.wordRegisters.Add(w);
        chip.AddressMask[0x41] = chip.AddressMask[0x42] = 0xFF;
        for (int a = 0x80; a <= 0xEF; ++a)
            chip.AddressMask[size_t(a)] = 0xFF;
        tracked = RegisterAddresses(chip);
    }
    // One refresh after a write: memory view first, then the register view.
    void refresh(bool force = false)
    {
        RefreshMemoryBank(mirror, chip.AddressMask, tracked, last, changed, 0, force, cells);
        RefreshRegisterLists(chip, mirror, last, changed);
    }
};

} // namespace

TEST(ViewTables, ChangesAreHighlightedOnceInBothGrids)
{
    Tables t;
    t.mirror[0x22] = 0xFF;  // register, masked to F7
    t.mirror[0x90] = 0x12;  // RAM
    t.mirror[0x41] = 0x01;  // low byte of the word register
    t.mirror[0x42] = 0x02;
    t.refresh();
    EXPECT_EQ(t.cells[0x22], 0xF7);
    EXPECT_EQ(t.chip.bitRegisters.Get(0)->Value, 0xF7);
    EXPECT_EQ(t.chip.wordRegisters.Get(0)->Value, 0x0201);
    for (int a : {0x22, 0x90, 0x41, 0x42})
        EXPECT_EQ(t.changed[size_t(a)], 1) << a;
    EXPECT_EQ(t.changed[0x10], 0);

    // The same values again (two equal writes): every highlight clears.
    t.refresh();
    for (int a : {0x22, 0x90, 0x41, 0x42})
        EXPECT_EQ(t.changed[size_t(a)], 0) << a;

    // An address inside a register area that no register shows still stops
    // being "changed" once it has been shown.
    t.chip.AddressMask[0x33] = 0xFF;
    t.mirror[0x33] = 0x44;
    t.refresh();
    EXPECT_EQ(t.changed[0x33], 1);
    t.refresh();
    EXPECT_EQ(t.changed[0x33], 0);
}

TEST(ViewTables, ForcedMemoryRefreshStillLeavesRegistersToTheRegisterView)
{
    Tables t;
    t.mirror[0x10] = 0x55;
    t.mirror[0x90] = 0x66;
    RefreshMemoryBank(t.mirror, t.chip.AddressMask, t.tracked, t.last, t.changed, 0, true, t.cells);
    EXPECT_EQ(t.changed[0x90], 0);
    EXPECT_EQ(t.last[0x90], 0x66);
    EXPECT_EQ(t.last[0x10], 0);  // the register view moves it on
    RefreshRegisterLists(t.chip, t.mirror, t.last, t.changed);
    EXPECT_EQ(t.changed[0x10], 1);
    EXPECT_EQ(t.last[0x10], 0x55);
}

TEST(ViewTables, AddressSharedByTwoRegistersIsComparedOnce)
{
    Tables t;
    RegByteEntry y;
    y.Address = 0x22;  // also the bit register
    t.chip.byteRegisters.Add(y);
    t.mirror[0x22] = 0x01;
    t.refresh();
    EXPECT_EQ(t.changed[0x22], 1);
    EXPECT_EQ(t.chip.byteRegisters.Get(1)->Value, 0x01);
}

TEST(ViewTables, BankFourAndAbsentAddressesShowNothing)
{
    Tables t;
    t.refresh();
    EXPECT_EQ(t.cells[0x33], -1);
    EXPECT_EQ(t.cells[0x80], 0);
    RefreshMemoryBank(t.mirror, t.chip.AddressMask, t.tracked, t.last, t.changed, 4, false, t.cells);
    for (int16_t c : t.cells)
        ASSERT_EQ(c, -1);
}

TEST(ViewTables, HeaderHighlightsAndIndirectBytes)
{
    std::array<uint8_t, MirrorSize> m{};
    RegisterHeader h;
    m[0x29] = 0x42;
    m[0x0F] = 0x01;
    m[0x10] = 0x23;
    m[0x123] = 0x99;
    RefreshRegisterHeader(m, h, false);
    EXPECT_EQ(h.work.value, 0x42);
    EXPECT_TRUE(h.work.highlighted);
    EXPECT_EQ(h.fsr[0].value, 0x123);
    EXPECT_EQ(h.ind[0].value, 0x99);
    EXPECT_FALSE(h.fsr[1].highlighted);  // 0 before and after
    RefreshRegisterHeader(m, h, false);
    EXPECT_FALSE(h.work.highlighted);

    m[0x0F] = 0x04;  // FSR0 = 0x423, outside the mirror
    m[0x29] = 0x43;
    RefreshRegisterHeader(m, h, true);  // force: nothing highlighted
    EXPECT_EQ(h.fsr[0].value, 0x423);
    EXPECT_EQ(h.ind[0].value, 0);
    EXPECT_FALSE(h.work.highlighted || h.fsr[0].highlighted || h.ind[0].highlighted);
}

TEST(ViewTables, PageRanges)
{
    ChipDescription d;
    d.bitPageCounts = {10, 0, 300, 300};  // a definition larger than the list
    EXPECT_EQ(BitPageRange(d, 0).start, 0);
    EXPECT_EQ(BitPageRange(d, 0).end, 10);
    EXPECT_EQ(BitPageRange(d, 1).rows(), 0);
    EXPECT_EQ(BitPageRange(d, 3).start, 310);
    EXPECT_EQ(BitPageRange(d, 3).end, 610);
    EXPECT_EQ(BitPageRange(d, 7).rows(), 0);
}
