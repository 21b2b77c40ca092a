#include "chipaccess/poll_timer.h"
#include "device/chip_definition_loader.h"
#include "support/chip_bench.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {
// The flag byte at 0x14 (CTIF bit 0, FADC_IF 1, SADC_IF 2, LPF_IF 3, RMS_IF 4)
// and the chopper fields.
const QStringList flagFields{
    "#ADS", "14H SADC_IF 1 2", "22H AD1CHO 2 0",
    "#ADF", "14H FADC_IF 1 1", "14H LPF_IF 1 3", "14H RMS_IF 1 4", "23H AD2CHO 1 0", "23H ADPCHO 1 1",
    "#PROGRAMCOUNTER", "14H CTIF 1 0"};

struct PollBench : test::ChipBench {
    PollTimer poll{bench, up};
    PollBench()
    {
        LoadDefinitionLines(bench.chip, flagFields);
        use(InterfaceKind::DMM);
        poll.setPollEnable(true);
    }
    // DMM read frames sent since the last clear, as (register byte, count).
    std::vector<std::pair<int, int>> reads()
    {
        std::vector<std::pair<int, int>> r;
        for (const auto &f : bridge.requests())
            if (f.size() >= 4 && f[0] == 0xC2 && (f[2] & 1))
                r.push_back({f[2] >> 1, f[3]});
        return r;
    }
};
} // namespace

TEST(PollTimer, Rs232OnlyCountsTicks)
{
    test::ChipBench b;
    PollTimer poll(b.bench, b.up);
    poll.setPollEnable(true);
    b.use(InterfaceKind::RS232);
    for (int i = 0; i < 2999; ++i)
        poll.Timer1Timer();
    EXPECT_EQ(poll.ticksSinceTransfer(), 2999);
    poll.Timer1Timer();
    EXPECT_EQ(poll.ticksSinceTransfer(), 0);
    EXPECT_TRUE(b.bridge.requests().empty());
    EXPECT_EQ(b.bench.status.text[0], QString());
}

TEST(PollTimer, ReconnectAfterThirtySecondsOfSilenceOnUsb)
{
    PollBench b;
    b.poll.setPollEnable(false);
    b.up.BridgeRelease();  // the link is down and the bridge free again
    ASSERT_FALSE(b.dev().Usb.Connected);
    b.usb.TicksSinceTransfer = 2999;
    b.poll.Timer1Timer();
    EXPECT_EQ(b.bench.status.text[0], "USB On Line");
    EXPECT_TRUE(b.dev().Usb.Connected);
    b.usb.setPresent(false);
    b.usb.UsbClose(b.dev().Usb);
    b.usb.TicksSinceTransfer = 3000;
    b.poll.Timer1Timer();
    EXPECT_EQ(b.bench.status.text[0], "USB not Connect !!!");
}

TEST(PollTimer, PendingCounterFlagIsReadEveryTickUntilCleared)
{
    PollBench b;
    b.chip.write(0x14, 0x01);
    for (int a = 0; a < 9; ++a)
        b.chip.write(0x15 + a, uint8_t(0xA0 + a));
    b.poll.Timer1Timer();
    b.chip.write(0x14, 0x00);  // the chip's flag is gone, ours stays pending
    b.bridge.clearRequests();
    b.poll.Timer1Timer();
    b.poll.Timer1Timer();
    EXPECT_EQ(b.reads(), (std::vector<std::pair<int, int>>{{0x14, 1}, {0x15, 9}, {0x14, 1}, {0x15, 9}}));
    EXPECT_EQ(b.poll.CounterLatch[8], 0xA8);
    b.poll.IntfFlags &= uint8_t(~CounterFlag);  // the counter panel consumed it
    b.bridge.clearRequests();
    b.poll.Timer1Timer();
    EXPECT_EQ(b.reads(), (std::vector<std::pair<int, int>>{{0x14, 1}}));

    b.poll.setPollEnable(false);
    b.bridge.clearRequests();
    b.poll.Timer1Timer();
    EXPECT_TRUE(b.reads().empty());
}

TEST(PollTimer, LiveReadOuts)
{
    PollBench b;
    b.poll.AdsLive = true;
    b.poll.AdfLive = true;
    b.poll.AdsDivisor = 1;
    b.poll.AdfDivisor = 4;
    b.chip.load(0x00, {0x00, 0x00, 0x80, 0x10, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1});
    b.chip.write(0x14, SadcFlag | FadcFlag | LpfFlag | RmsFlag);
    b.poll.Timer1Timer();
    EXPECT_EQ(b.poll.Adc1Value, -8388608);
    EXPECT_EQ(b.poll.display.adsDigits, -8388608);
    EXPECT_TRUE(b.poll.Adc1New[0] && b.poll.Adc1New[1]);
    EXPECT_EQ(b.poll.display.adc2Text, "4");
    EXPECT_EQ(b.poll.display.lpfDigits, 0);  // -1 / 4 in integer division
    EXPECT_EQ(b.poll.RmsValue, 4294967296.0);
    EXPECT_EQ(b.poll.display.rmsText, "65536.00");
    EXPECT_EQ(b.poll.display.rmsLabel, "0x0");
    EXPECT_EQ(b.poll.IntfFlags, 0);
}

TEST(PollTimer, ResistanceCycleAndWhoConsumesTheSample)
{
    PollBench b;
    b.poll.ResMeasure = true;
    b.poll.AdsLive = true;
    b.chip.write(0x14, SadcFlag);
    b.poll.Timer1Timer();
    EXPECT_EQ(b.poll.Resistance.phase(), 0);  // the ADS display took the sample

    b.poll.AdsLive = false;
    b.poll.ResFactor[0] = 1000.0;
    std::vector<uint8_t> phaseWrites;
    int readings = 0;
    for (int i = 0; i < 14; ++i) {
        const int32_t s = i < 7 ? 100 : 300;
        b.chip.load(0x00, {uint8_t(s & 0xFF), uint8_t(s >> 8), 0});
        b.chip.write(0x14, SadcFlag);  // a new result; reading it clears the flag
        b.bridge.clearRequests();
        const QString before = b.poll.display.resistanceText;
        b.poll.Timer1Timer();
        for (const auto &f : b.bridge.requests())
            if (f.size() >= 5 && f[0] == 0xC2 && f[2] == (0x24 << 1))
                phaseWrites.push_back(f[4]);
        readings += b.poll.display.resistanceText != before ? 1 : 0;
    }
    EXPECT_EQ(phaseWrites, (std::vector<uint8_t>{0x38, 0x11}));
    EXPECT_EQ(readings, 1);
    EXPECT_EQ(b.poll.display.resistanceText, "3000.00 ohm");
    EXPECT_EQ(b.up.ReadMirror(0x24), 0x11);
}

TEST(PollTimer, ChopperIndicatorsBlinkEveryTenthTick)
{
    PollBench b;
    b.poll.setPollEnable(false);
    b.up.WriteMirror(0x22, 3);  // AD1CHO >= 2 alternates
    b.up.WriteMirror(0x23, 1);  // AD2CHO = 1 swaps, ADPCHO = 0 shows the second
    std::vector<IndicatorPair> seen;
    for (int i = 0; i < 30; ++i) {
        b.poll.Timer1Timer();
        if (b.poll.blinkDivider() == 0)
            seen.push_back(b.poll.ad1Chopper);
    }
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(seen[0], seen[2]);
    EXPECT_FALSE(b.poll.adpChopper.first);
    EXPECT_TRUE(b.poll.adpChopper.second);
    b.up.WriteMirror(0x22, 1);
    for (int i = 0; i < 10; ++i)
        b.poll.Timer1Timer();
    EXPECT_FALSE(b.poll.ad1Chopper.first);
}
