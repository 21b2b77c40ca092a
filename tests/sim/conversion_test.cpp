// The chip model's analog blocks on their own time: rates, flags, the
// counter, noise and offset, and what the filter and RMS blocks make of
// the ADC2 samples.
#include "sim/sim_chip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace qx::sim;

namespace {

using Record = std::array<uint8_t, 5>;
using Writes = std::vector<std::pair<int, uint8_t>>;

int32_t Code24(const Record &r)
{
    const int32_t raw = r[2] << 16 | r[3] << 8 | r[4];
    return raw & 0x800000 ? raw - 0x1000000 : raw;
}

uint64_t Value40(const Record &r)
{
    uint64_t v = 0;
    for (uint8_t b : r)
        v = v << 8 | b;
    return v;
}

// A chip driven by advanceTo, with the records of the flags in `mask`
// collected as time passes.
struct TimedChip {
    SimChip chip;
    int64_t now = 0;
    explicit TimedChip(uint8_t mask) { chip.setStreamMask(mask); }
    void set(const Writes &writes)
    {
        for (auto [address, value] : writes)
            chip.write(address, value);
    }
    std::vector<Record> run(int64_t ms)
    {
        std::vector<Record> out;
        for (const int64_t end = now + ms; now < end;) {
            now = std::min(end, now + 20);  // short steps: the queue never fills
            chip.advanceTo(now);
            for (const Record &r : chip.takeStreamRecords(SimChip::StreamCapacity))
                out.push_back(r);
        }
        return out;
    }
};

struct Stats {
    double mean = 0, sigma = 0;
};

Stats Of(const std::vector<double> &v)
{
    Stats s;
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    double sq = 0;
    for (double x : v)
        sq += (x - s.mean) * (x - s.mean);
    s.sigma = std::sqrt(sq / double(v.size()));
    return s;
}

} // namespace

TEST(ChipConversions, RunOnlyWhileEnabledAtTheirRate)
{
    struct Case { const char *name; Writes writes; uint8_t flag; double hz; };
    const Case cases[] = {
        {"ADC1 at AD1OSR 0", {{0x30, 0x80}}, 0x04, 300},
        {"ADC1 at AD1OSR 7", {{0x30, 0x87}}, 0x04, 300.0 / 128},
        {"ADC1 on the doubled clock", {{0x32, 0x03}, {0x30, 0x82}}, 0x04, 150},
        {"ADC1 without the oscillator", {{0x32, 0x00}, {0x30, 0x80}}, 0x04, 0},
        {"ADC1 off", {{0x30, 0x07}}, 0x04, 0},
        {"ADC2 at AD2OSR 0", {{0x30, 0x40}}, 0x02, 19200},
        {"ADC2 at AD2OSR 7", {{0x3D, 0x07}, {0x30, 0x40}}, 0x02, 150},
        {"filter, blocks of 2 << SELAVG", {{0x3D, 0x07}, {0x3F, 0x01}, {0x29, 0x40}, {0x30, 0x40}}, 0x08, 150.0 / 4},
        {"RMS, blocks of ACC + 1", {{0x3D, 0x07}, {0x31, 0x02}, {0x29, 0x20}, {0x30, 0x40}}, 0x10, 50},
        {"filter and RMS without ADC2", {{0x29, 0x60}, {0x30, 0x80}}, 0x18, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TimedChip t(c.flag);
        t.run(500);  // nothing converts before it is switched on
        EXPECT_EQ(t.chip.read(0x14), 0);
        t.set(c.writes);
        EXPECT_NEAR(double(t.run(2001).size()), c.hz * 2.001, 1.0);
        t.chip.write(0x30, 0x00);
        EXPECT_TRUE(t.run(1000).empty());
    }
}

TEST(ChipConversions, FlagsSetByAConversionAndClearedByReadingItsResult)
{
    SimChip chip;
    chip.write(0x30, 0x87);  // ADC1, one result every 426.7 ms
    chip.advanceTo(420);
    EXPECT_EQ(chip.read(0x14), 0x00);
    chip.advanceTo(430);
    EXPECT_EQ(chip.read(0x14), 0x04);
    EXPECT_EQ(chip.read(0x14), 0x04);  // reading the flags leaves them
    chip.read(0x05);                   // another result's byte
    EXPECT_EQ(chip.read(0x14), 0x04);
    chip.read(0x01);
    EXPECT_EQ(chip.read(0x14), 0x00);

    chip.advanceTo(860);
    EXPECT_EQ(chip.read(0x14), 0x04);
    chip.write(0x14, 0x00);  // the host clears by writing 0
    EXPECT_EQ(chip.read(0x14), 0x00);
    chip.write(0x14, 0x11);  // and may raise a flag itself
    chip.readBlock(0x09, 5);
    EXPECT_EQ(chip.read(0x14), 0x01);
    chip.readBlock(0x15, 9);
    EXPECT_EQ(chip.read(0x14), 0x00);

    // Asleep, nothing converts; the access that wakes the chip restarts it.
    chip.write(0xFD, 0xA5);
    chip.advanceTo(5000);
    EXPECT_TRUE(chip.sleeping());
    EXPECT_EQ(chip.read(0x14), 0x00);
    chip.advanceTo(5000 + 427);
    EXPECT_EQ(chip.read(0x14), 0x04);
}

TEST(ChipConversions, CounterGateMeasuresTheInputFrequency)
{
    SimChip chip;
    ChipInputs in;
    in.counterHz = 4915;
    in.counterDuty = 0.25;
    chip.setInputs(in);
    chip.writeBlock(0x1B, std::array<uint8_t, 3>{0x00, 0x00, 0xC0}.data(), 3);  // A from 0xC00000
    for (int gate = 0; gate < 2; ++gate) {
        const int64_t start = gate * 2000;
        chip.advanceTo(start);
        chip.write(0x1E, 0x00);
        chip.write(0x1E, 0x01);  // EN_CTR on: the gate opens
        chip.advanceTo(start + 850);  // 4194304 clocks of 4.9152 MHz: 853.3 ms
        EXPECT_EQ(chip.read(0x14), 0x00);
        const auto running = chip.readBlock(0x15, 9);
        EXPECT_GT(running[8], 0xC0);
        chip.advanceTo(start + 860);
        EXPECT_EQ(chip.read(0x14), 0x01);
        const auto c = chip.readBlock(0x15, 9);
        EXPECT_EQ(chip.read(0x14), 0x00);
        auto counter = [&](int i) { return c[size_t(i)] | c[size_t(i) + 1] << 8 | c[size_t(i) + 2] << 16; };
        const int C = counter(0), B = counter(3), A = counter(6);
        EXPECT_EQ(A, 0);
        const double gateClocks = A + 4194304.0;
        EXPECT_NEAR(B / gateClocks * 4915200, 4915, 1.2);  // one input cycle of quantisation
        EXPECT_NEAR(C / gateClocks, 0.25, 1e-6);
        chip.write(0x1D, 0xC0);  // the host reloads A for the next gate
        chip.advanceTo(start + 1900);
        EXPECT_EQ(chip.read(0x14), 0x00);  // no new gate until EN_CTR goes off and on
    }
}

TEST(ChipConversions, NoiseAndOffsetAsConfigured)
{
    // codes per volt: 2^23 / 1.2 for ADC1, 2^17 / 1.2 for ADC2
    const double adc1 = 8388608 / 1.2, adc2 = 131072 / 1.2;
    struct Case { const char *name; Writes writes; uint8_t flag; AnalogInput in; double gainCodes; };
    const Case cases[] = {
        {"ADC1, gain 1", {{0x30, 0x80}}, 0x04, {0.1, 50e-6, 2e-6}, adc1},
        {"ADC1, AD1GN x8 and VRGNAD1 x2", {{0x3C, 0x03}, {0x22, 0x80}, {0x30, 0x80}}, 0x04, {0.01, 0, 1e-6}, 16 * adc1},
        {"ADC2, AD2GN x2", {{0x3D, 0x0F}, {0x30, 0x40}}, 0x02, {-0.1, -20e-6, 50e-6}, 2 * adc2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto samples = [&](uint64_t seed) {
            TimedChip t(c.flag);
            ChipInputs in;
            in.adc1 = in.adc2 = c.in;
            in.seed = seed;
            t.chip.setInputs(in);
            t.set(c.writes);
            std::vector<double> v;
            while (v.size() < 3000)
                for (const Record &r : t.run(1000))
                    v.push_back(Code24(r));
            v.resize(3000);
            return v;
        };
        const std::vector<double> v = samples(7);
        const Stats s = Of(v);
        const double sigma = c.in.noiseVolts * c.gainCodes;
        EXPECT_NEAR(s.sigma, sigma, 0.05 * sigma);
        EXPECT_NEAR(s.mean, (c.in.volts + c.in.offsetVolts) * c.gainCodes, 4 * sigma / std::sqrt(3000.0) + 0.5);
        EXPECT_EQ(samples(7), v);  // a seed repeats
        EXPECT_NE(samples(8), v);
    }
}

TEST(ChipConversions, FilterAndRmsFollowTheAdc2Samples)
{
    // The same seed gives the same ADC2 samples in both runs.
    const Writes setup{{0x3F, 0x02}, {0x31, 0x04}, {0x29, 0x60}, {0x3D, 0x07}, {0x30, 0x40}};
    for (uint8_t block : {0x08, 0x10}) {
        SCOPED_TRACE(block == 0x08 ? "filter" : "RMS");
        TimedChip t(uint8_t(0x02 | block));
        t.set(setup);
        std::vector<int32_t> adc2;
        int results = 0;
        Record last{};
        for (const Record &r : t.run(1000)) {
            if (r[0] == 0x02 && r[1] == 0) {
                adc2.push_back(Code24(r));
                continue;
            }
            ++results;
            last = r;
            if (block == 0x08) {  // the rounded mean of the last 8 samples
                ASSERT_GE(adc2.size(), 8u);
                const double sum = std::accumulate(adc2.end() - 8, adc2.end(), 0.0);
                EXPECT_EQ(r[0], 0x08);
                EXPECT_EQ(Code24(r), std::lround(sum / 8));
            } else {  // the sum of the squares of the last ACC + 1 = 5 samples
                ASSERT_GE(adc2.size(), 5u);
                uint64_t sq = 0;
                for (auto it = adc2.end() - 5; it != adc2.end(); ++it)
                    sq += uint64_t(int64_t(*it) * *it);
                EXPECT_EQ(Value40(r), sq);
            }
        }
        EXPECT_EQ(results, block == 0x08 ? 150 / 8 : 150 / 5);
        // The result registers hold the last result, low byte first.
        const auto reg = t.chip.readBlock(block == 0x08 ? 0x06 : 0x09, block == 0x08 ? 3 : 5);
        for (size_t i = 0; i < reg.size(); ++i)
            EXPECT_EQ(reg[i], last[4 - i]);
    }
}
