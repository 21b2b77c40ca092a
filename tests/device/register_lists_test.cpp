#include "device/bench.h"
#include "device/register_lists.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(RegisterLists, HoldFiveHundredTwelveEntriesInTwoPages)
{
    TCRREGBytePtr list;
    for (int i = 0; i < 512; ++i) {
        RegByteEntry e;
        e.Address = uint16_t(i);
        ASSERT_EQ(list.Add(e), 0);
    }
    RegByteEntry extra;
    extra.Address = 999;
    EXPECT_NE(list.Add(extra), 0);
    EXPECT_EQ(list.Count(), 512);
    EXPECT_EQ(list.AddressOf(511), 511);
    EXPECT_EQ(list.AddressOf(256), 256);
    EXPECT_EQ(list.Get(512), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.AddressOf(600), -1);
    list.Get(300)->Description = "kept";
    EXPECT_EQ(list.Get(300)->Description.str(), "kept");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Get(0), nullptr);
}

TEST(RegisterLists, WordKeyAndShortTextLimits)
{
    TCRREGWordPtr words;
    RegWordEntry w;
    w.AddressHigh = 0x5A;
    w.AddressLow = 0x5B;
    words.Add(w);
    EXPECT_EQ(words.AddressOf(0), 23131);

    RegBitEntry b;
    b.Name = QString(40, 'N');
    b.Description = QString(300, 'D');
    b.bit(0).Description = QString(300, 'd');
    EXPECT_EQ(b.Name.str().size(), 15);
    EXPECT_EQ(b.Description.str().size(), 160);
    EXPECT_EQ(b.Bits[7].Description.str().size(), 250);
}

TEST(DeviceTable, RefusesEveryChannelButZero)
{
    DeviceTable table;
    ASSERT_NE(table.channel(0), nullptr);
    EXPECT_EQ(table.channel(1), nullptr);
    EXPECT_EQ(table.channel(15), nullptr);
    EXPECT_EQ(table.channel(-1), nullptr);
    const STND &d = *table.channel(0);
    EXPECT_EQ(d.InterfaceType, 0);
    EXPECT_EQ(d.ChipIndex, 0);
    EXPECT_EQ(d.Serial.IsOpen, 0);
    EXPECT_EQ(d.CaptureSeriesA.size(), size_t(CaptureLength));
    EXPECT_EQ(InterfaceNames()[5], std::string("DMM"));
}
