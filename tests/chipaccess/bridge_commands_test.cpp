// The bridge's own commands and the connect sequence.
#include "support/chip_bench.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qx;
using Bytes = std::vector<uint8_t>;

TEST(BridgeCommands, ConnectFindsAssignsAndIdentifiesTheBridge)
{
    test::ChipBench b;
    int connects = 0;
    b.up.connected.add([&] { ++connects; });
    ASSERT_TRUE(b.up.USBConnect());
    EXPECT_EQ(b.bench.status.text[0], "USB On Line");
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{
                                       {0xF9, 0x02, 0x00, 0x00},  // unassigned?
                                       {0xF9, 0x01, 0x00, 0x00},  // take number 0
                                       {0xF9, 0x04, 0x00, 0x00},
                                       {0xC5, 0xFF, 0x01, 0x00},
                                       {0xC5, 0xFF, 0x00, 0x00},
                                       {0xF9, 0xAC},
                                   }));
    EXPECT_EQ(b.bridge.bridgeNumber(), 0);

    // Open and answering: no search, only the open's identify and the connect's own.
    b.bridge.clearRequests();
    ASSERT_TRUE(b.up.USBConnect());
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xF9, 0xAC}, {0xF9, 0xAC}}));
    EXPECT_EQ(connects, 2);
}

TEST(BridgeCommands, ConnectFailures)
{
    test::ChipBench b;
    b.usb.setPresent(false);
    int connects = 0;
    b.up.connected.add([&] { ++connects; });
    EXPECT_FALSE(b.up.USBConnect());
    EXPECT_EQ(b.bench.status.text[0], "USB not Connect !!!");

    // A bridge another session has assigned (setting 2 is not 0xFFFF) is left alone.
    b.usb.setPresent(true);
    ASSERT_TRUE(b.up.USBConnect());
    b.usb.UsbClose(b.dev().Usb);  // link lost without a release
    EXPECT_FALSE(b.up.USBConnect());
    EXPECT_EQ(b.bench.status.text[0], "USB not Connect !!!");
    EXPECT_FALSE(b.dev().Usb.Handle);
    EXPECT_EQ(connects, 1);

    // Once the bridge is released it can be taken again.
    b.bridge.exchange(Bytes{0xF9, 0x01, 0xFF, 0xFF});
    EXPECT_TRUE(b.up.USBConnect());
}

TEST(BridgeCommands, HidBridgeTakesSetting6Too)
{
    test::ChipBench b(sim::SimUsbTransport::Semantics::Hid);
    ASSERT_TRUE(b.up.USBConnect());
    const auto r = b.bridge.requests();
    ASSERT_GE(r.size(), 4u);
    EXPECT_EQ(r[3][0], 0xF9);
    EXPECT_EQ(r[3][1], 0x06);
    for (const auto &report : r)
        EXPECT_EQ(report.size(), 64u);
}

TEST(BridgeCommands, SettingsVersionStatusPower)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::DMM, true));
    uint16_t answer = 0;
    ASSERT_TRUE(b.up.BridgeSetting(6, 0x1234, answer));
    EXPECT_EQ(answer, 0x1234);
    ASSERT_TRUE(b.up.BridgeSetting(2, 0, answer));
    EXPECT_EQ(answer, 0);  // the number this session took

    b.bridge.setVersion("ENOB2.01");
    EXPECT_EQ(b.up.BridgeVersion(), QString("ENOB2.01"));

    b.bridge.setStatusBytes(0x10, 0x22, 0x33);
    const auto status = b.up.BridgeReadStatus();
    ASSERT_TRUE(status);
    EXPECT_EQ(status->first, 0x10);
    EXPECT_EQ(status->second, 0x22);
    EXPECT_EQ(status->third, 0x33);

    EXPECT_TRUE(b.up.BridgeDmmPower(true));
    EXPECT_TRUE(b.bridge.dmmPowered());
    EXPECT_TRUE(b.up.BridgeDmmPower(false));
    EXPECT_FALSE(b.bridge.dmmPowered());

    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xF9, 0x06, 0x34, 0x12},
                                                       {0xF9, 0x02, 0x00, 0x00},
                                                       {0xF9, 0x05, 0, 0, 0, 0, 0, 0},
                                                       {0xB5, 0x07, 0x00},
                                                       {0xF9, 0x10, 0x01},
                                                       {0xF9, 0x10, 0x00}}));
}

TEST(BridgeCommands, ResetPulseTimingAndStopAtFailure)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    ASSERT_TRUE(b.up.ChipResetPulse());
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xB5, 0x01, 0x01}, {0xB5, 0x01, 0x00}, {0xB5, 0x01, 0x01}}));
    EXPECT_EQ(b.clock.nowMs(), 2200);
    EXPECT_EQ(b.chip.resets(), 1);

    b.bridge.setSilent(true);
    b.bridge.clearRequests();
    EXPECT_FALSE(b.up.ChipResetPulse());
    EXPECT_EQ(b.bridge.requests().size(), 1u);
}

TEST(BridgeCommands, ReleaseUnassignsAndCloses)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::SPI));
    b.up.BridgeRelease();
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xF9, 0x01, 0xFF, 0xFF}}));
    EXPECT_FALSE(b.dev().Usb.Connected);
    EXPECT_EQ(b.bridge.bridgeNumber(), 0xFFFF);
    b.bridge.clearRequests();
    b.up.BridgeRelease();  // nothing to release
    EXPECT_TRUE(b.bridge.requests().empty());
}

TEST(BridgeCommands, InterruptStream)
{
    test::ChipBench b;
    ASSERT_TRUE(b.use(InterfaceKind::DMM, true));
    ASSERT_TRUE(b.up.InterruptStreamSetup(0x1F, true));
    EXPECT_TRUE(b.bridge.streamEnabled());
    EXPECT_EQ(b.bridge.streamMask(), 0x1F);
    b.chip.pushStreamRecord({1, 2, 3, 4, 5});
    b.chip.pushStreamRecord({6, 7, 8, 9, 10});
    b.bridge.setStreamStatus(0x42);
    EXPECT_EQ(b.up.InterruptStreamRead(), 2);
    EXPECT_EQ(b.up.InterruptQueue.status, 0x42);
    EXPECT_EQ(b.up.InterruptQueue.records[0], (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(b.up.InterruptQueue.records[1], (std::array<uint8_t, 5>{6, 7, 8, 9, 10}));
    // On the wire each record is last byte first.
    EXPECT_EQ(b.bridge.requests(), (std::vector<Bytes>{{0xC3, 0x00, 0x01, 0x01, 0x1F}, {0xC3, 0x01}}));

    ASSERT_TRUE(b.up.InterruptStreamSetup(0x1F, false));
    EXPECT_EQ(b.bridge.requests().back(), (Bytes{0xC3, 0x00, 0x01, 0x00, 0x00}));
    b.bridge.setSilent(true);
    EXPECT_EQ(b.up.InterruptStreamRead(), 0);
}

namespace {
// A bridge that answers every read with one fixed report.
class CannedUsb final : public UsbTransport {
public:
    Bytes answer;
    bool UsbOpen(Devc &, uint8_t &) override { return false; }
    bool UsbWriteReport(Devc &, const uint8_t *, int) override { return true; }
    bool UsbReadReport(Devc &, uint8_t *frame, int length) override
    {
        std::memcpy(frame, answer.data(), std::min<size_t>(answer.size(), size_t(length)));
        return true;
    }
    void UsbClose(Devc &) override {}
};
} // namespace

TEST(BridgeCommands, StreamCountAbove12YieldsNoRecords)
{
    test::ChipBench b;
    CannedUsb canned;
    b.up.setUsbTransport(&canned);
    canned.answer = Bytes(64, 0x11);
    canned.answer[0] = 13;
    EXPECT_EQ(b.up.InterruptStreamRead(), 0);
    EXPECT_EQ(b.up.InterruptQueue.count, 0);
    canned.answer[0] = 12;
    EXPECT_EQ(b.up.InterruptStreamRead(), 12);
    // Setup needs FA AA; identify needs "Tervalon".
    EXPECT_FALSE(b.up.InterruptStreamSetup(1, true));
    canned.answer = Bytes{'T', 'e', 'r', 'v', 'a', 'l', 'o', 'x'};
    b.dev().Usb.Connected = 1;
    EXPECT_FALSE(b.up.UsbIdentify());
    canned.answer[7] = 'n';
    EXPECT_TRUE(b.up.UsbIdentify());
    b.dev().Usb.Connected = 0;
    EXPECT_FALSE(b.up.UsbIdentify());  // needs a connected bridge
}
