// The chip model seen through the tool: the poll timer's live ADC1 and
// resistance read-outs over the in-process bridge on virtual time, with the
// sample chip's definition, and the interrupt stream's records.
#include "chipaccess/poll_timer.h"
#include "device/chip_definition_loader.h"
#include "support/chip_bench.h"

#include <QFile>

#include <set>

#include <gtest/gtest.h>

using namespace qx;

namespace {

struct LiveBench : test::ChipBench {
    PollTimer poll{bench, up};
    explicit LiveBench(const sim::ChipInputs &inputs)
    {
        QFile f(QStringLiteral(QX_CHIPS_DIR "/QX7020.INC"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        LoadDefinitionLines(bench.chip, QString::fromLatin1(f.readAll()).split('\n'));
        chip.setInputs(inputs);
        EXPECT_TRUE(use(InterfaceKind::DMM));
        poll.setPollEnable(true);
    }
    void set(int address, uint8_t value) { EXPECT_TRUE(up.WriteChipByte(address, value)); }
    // One period of the poll timer.
    void tick()
    {
        clock.advance(PollTimer::PeriodMs);
        poll.Timer1Timer();
    }
};

constexpr double Adc1CodesPerVolt = 8388608 / 1.2;

} // namespace

TEST(LiveChip, PollShowsAdc1ReadingsOfTheConfiguredInput)
{
    struct Case { uint8_t ad1con, ad1buf; double volts, gain; };
    const Case cases[] = {{0x00, 0x00, 0.3, 1}, {0x01, 0x80, 0.05, 4}, {0x03, 0x00, -0.1, 8}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.gain);
        sim::ChipInputs in;
        in.adc1 = {c.volts, 0, 2e-6};
        LiveBench b(in);
        b.poll.AdsLive = true;
        b.set(0x3C, c.ad1con);
        b.set(0x22, c.ad1buf);
        b.set(0x30, 0x80);  // ENAD_S, 300 results a second
        const double expected = c.volts * c.gain * Adc1CodesPerVolt;
        const double noise = 2e-6 * c.gain * Adc1CodesPerVolt;
        std::set<double> seen;
        for (int i = 0; i < 20; ++i) {
            b.poll.Adc1New = {false, false};
            b.tick();
            ASSERT_TRUE(b.poll.Adc1New[0]) << "tick " << i;
            EXPECT_NEAR(b.poll.Adc1Value, expected, 5 * noise);
            EXPECT_EQ(b.poll.display.adsDigits, int64_t(b.poll.Adc1Value));
            seen.insert(b.poll.Adc1Value);
        }
        EXPECT_GT(seen.size(), 10u);  // fresh conversions, not one result over and over

        b.set(0x30, 0x00);  // ADC1 off: no further readings
        b.tick();
        b.poll.Adc1New = {false, false};
        for (int i = 0; i < 5; ++i)
            b.tick();
        EXPECT_FALSE(b.poll.Adc1New[0]);
    }
}

TEST(LiveChip, ResistanceReadOutGivesTheResistorTimesTheFactor)
{
    struct Case { double rx, rref, factor; };
    for (const Case &c : {Case{4700, 10000, 10000}, Case{150000, 100000, 1000}}) {
        SCOPED_TRACE(c.rx);
        sim::ChipInputs in;
        in.resistorOhms = c.rx;
        in.referenceOhms = c.rref;
        LiveBench b(in);
        b.poll.ResMeasure = true;
        b.poll.ResFactor[0] = c.factor;
        b.set(0x24, 0x11);  // the measurement starts in its B phase
        b.set(0x30, 0x80);
        int ticks = 0;
        while (b.poll.display.resistanceText.isEmpty() && ticks < 100) {
            b.tick();
            ++ticks;
        }
        ASSERT_LT(ticks, 100);
        const QString text = b.poll.display.resistanceText;
        ASSERT_TRUE(text.endsWith(" ohm")) << text.toStdString();
        const double expected = c.factor * c.rx / c.rref;
        EXPECT_NEAR(text.section(' ', 0, 0).toDouble(), expected, 1e-4 * expected);
    }
}

TEST(LiveChip, StreamCarriesTheMaskedConversions)
{
    sim::ChipInputs in;
    in.adc1 = {0.2, 0, 0};
    test::ChipBench b;
    b.chip.setInputs(in);
    ASSERT_TRUE(b.use(InterfaceKind::DMM));
    b.chip.write(0x30, 0xC2);  // ADC1 at 75 a second, ADC2 at 19.2 kHz
    ASSERT_TRUE(b.up.InterruptStreamSetup(0x04, true));
    b.clock.advance(200);
    ASSERT_EQ(b.up.InterruptStreamRead(), 12);
    const int32_t code = int32_t(std::lround(0.2 * Adc1CodesPerVolt));
    for (int i = 0; i < 12; ++i) {
        const auto &r = b.up.InterruptQueue.records[size_t(i)];
        EXPECT_EQ(r[0], 0x04);  // only ADC1: its flag, then the code most significant first
        EXPECT_EQ(r[1], 0x00);
        EXPECT_EQ(r[2] << 16 | r[3] << 8 | r[4], code);
    }

    ASSERT_TRUE(b.up.InterruptStreamSetup(0x04, false));
    while (b.chip.takeStreamRecords(100).size() > 0) {
    }
    b.clock.advance(1000);
    EXPECT_TRUE(b.chip.takeStreamRecords(100).empty());

    // A queue nobody reads fills up; the conversions beyond it are dropped.
    ASSERT_TRUE(b.up.InterruptStreamSetup(0x02, true));
    b.clock.advance(1000);
    EXPECT_EQ(b.chip.takeStreamRecords(2 * sim::SimChip::StreamCapacity).size(), size_t(sim::SimChip::StreamCapacity));
    EXPECT_GT(b.chip.streamDropped(), 10000);
}
