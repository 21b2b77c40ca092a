#include "sim/conversion_engine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace qx::sim {

namespace {
// The QX7020 registers the analog blocks take their settings from.
constexpr int FECON = 0x1E;   // bit 0 EN_CTR
constexpr int AD1BUF = 0x22;  // bit 7 VRGNAD1
constexpr int AD1MUX = 0x24;
constexpr int PKCON = 0x29;   // bit 5 EN_RMS, bit 6 EN_AVG
constexpr int ADCEN = 0x30;   // bits 0..2 AD1OSR, bit 6 ENAD_F, bit 7 ENAD_S
constexpr int ACCCON = 0x31;  // bits 0..6 ACC
constexpr int CLKCON = 0x32;  // bit 0 EN_OSC, bit 1 FCLK_SEL
constexpr int AD1CON = 0x3C;  // bits 0..1 AD1GN
constexpr int AD2CON = 0x3D;  // bits 0..2 AD2OSR, bits 3..4 AD2GN, bit 5 VRGNAD2
constexpr int LPFCON = 0x3F;  // bits 0..2 SELAVG
constexpr int Adc1Result = 0x00, Adc2Result = 0x03, LpfResult = 0x06, RmsResult = 0x09;
constexpr int CounterC = 0x15, CounterB = 0x18, CounterA = 0x1B;
constexpr double CounterSpan = 16777216.0;  // counter A overflows past 0xFFFFFF
constexpr uint64_t RmsMax = (uint64_t(1) << 40) - 1;
constexpr double Never = std::numeric_limits<double>::infinity();
} // namespace

ConversionEngine::ConversionEngine(Memory &memory) : m_(memory)
{
    setInputs(inputs_);
}

void ConversionEngine::setInputs(const ChipInputs &inputs)
{
    inputs_ = inputs;
    random_.seed(inputs.seed);
    spare_ = false;
}

bool ConversionEngine::oscillator() const { return m_[CLKCON] & 0x01; }
double ConversionEngine::modulatorHz() const { return SystemClockHz / ((m_[CLKCON] & 0x02) ? 8 : 16); }
bool ConversionEngine::adc1On() const { return oscillator() && (m_[ADCEN] & 0x80); }
bool ConversionEngine::adc2On() const { return oscillator() && (m_[ADCEN] & 0x40); }
bool ConversionEngine::lpfOn() const { return adc2On() && (m_[PKCON] & 0x40); }
bool ConversionEngine::rmsOn() const { return adc2On() && (m_[PKCON] & 0x20); }
bool ConversionEngine::counterEnabled() const { return oscillator() && (m_[FECON] & 0x01); }

double ConversionEngine::adc1Rate() const
{
    return adc1On() ? modulatorHz() / double(1024 << (m_[ADCEN] & 0x07)) : 0;
}

double ConversionEngine::adc2Rate() const
{
    return adc2On() ? modulatorHz() / double(16 << (m_[AD2CON] & 0x07)) : 0;
}

double ConversionEngine::adc1Gain() const
{
    return double(1 << (m_[AD1CON] & 0x03)) * ((m_[AD1BUF] & 0x80) ? 2.0 : 1.0);
}

double ConversionEngine::adc2Gain() const
{
    return double(1 << ((m_[AD2CON] >> 3) & 0x03)) * ((m_[AD2CON] & 0x20) ? 2.0 : 1.0);
}

double ConversionEngine::adc1Volts() const
{
    const double rx = std::max(inputs_.resistorOhms, 0.0);
    const double rref = std::max(inputs_.referenceOhms, 0.0);
    const double total = rx + rref;
    if (m_[AD1MUX] == PhaseA)
        return total > 0 ? BiasVolts * rx / total : 0;
    if (m_[AD1MUX] == PhaseB)
        return total > 0 ? BiasVolts * rref / total : 0;
    return inputs_.adc1.volts;
}

uint8_t ConversionEngine::flagClearedByReading(int address)
{
    if (address >= Adc1Result && address < Adc1Result + 3)
        return Adc1Flag;
    if (address >= Adc2Result && address < Adc2Result + 3)
        return Adc2Flag;
    if (address >= LpfResult && address < LpfResult + 3)
        return LpfFlag;
    if (address >= RmsResult && address < RmsResult + 5)
        return RmsFlag;
    if (address >= CounterC && address < CounterA + 3)
        return CounterFlag;
    return 0;
}

double ConversionEngine::uniform()
{
    return double(random_() >> 11) * 0x1.0p-53;  // [0, 1)
}

double ConversionEngine::gaussian()
{
    if (spare_) {
        spare_ = false;
        return spareValue_;
    }
    const double u1 = 1.0 - uniform();  // (0, 1]: the logarithm stays finite
    const double u2 = uniform();
    const double r = std::sqrt(-2.0 * std::log(u1));
    const double a = 2.0 * 3.14159265358979323846 * u2;
    spareValue_ = r * std::sin(a);
    spare_ = true;
    return r * std::cos(a);
}

int32_t ConversionEngine::code(const AnalogInput &in, double volts, double gain, int bits)
{
    double v = volts + in.offsetVolts;
    if (in.noiseVolts > 0)
        v += in.noiseVolts * gaussian();
    const double full = double(int64_t(1) << (bits - 1));
    const double c = std::nearbyint(v * gain / ReferenceVolts * full);
    return int32_t(std::clamp(c, -full, full - 1));
}

void ConversionEngine::result24(int address, int32_t value, uint8_t flag, const ResultSink &sink)
{
    const uint32_t raw = uint32_t(value) & 0xFFFFFFu;
    const Record record{flag, 0x00, uint8_t(raw >> 16), uint8_t(raw >> 8), uint8_t(raw)};
    for (int i = 0; i < 3; ++i)
        m_[size_t(address + i)] = record[size_t(4 - i)];
    m_[FlagRegister] |= flag;
    if (sink)
        sink(flag, record);
}

void ConversionEngine::convertAdc1(const ResultSink &sink)
{
    result24(Adc1Result, code(inputs_.adc1, adc1Volts(), adc1Gain(), 24), Adc1Flag, sink);
}

void ConversionEngine::convertAdc2(const ResultSink &sink)
{
    const int32_t c = code(inputs_.adc2, inputs_.adc2.volts, adc2Gain(), 18);
    result24(Adc2Result, c, Adc2Flag, sink);
    if (lpfOn()) {
        lpfSum_ += c;
        if (++lpfCount_ >= (2 << (m_[LPFCON] & 0x07))) {
            result24(LpfResult, int32_t(std::lround(double(lpfSum_) / lpfCount_)), LpfFlag, sink);
            lpfSum_ = 0;
            lpfCount_ = 0;
        }
    }
    if (rmsOn()) {
        rmsSum_ = std::min(RmsMax, rmsSum_ + uint64_t(int64_t(c) * c));
        if (++rmsCount_ >= (m_[ACCCON] & 0x7F) + 1) {
            Record record{};
            for (int i = 0; i < 5; ++i) {
                const uint8_t b = uint8_t(rmsSum_ >> (8 * i));
                m_[size_t(RmsResult + i)] = b;
                record[size_t(4 - i)] = b;
            }
            m_[FlagRegister] |= RmsFlag;
            if (sink)
                sink(RmsFlag, record);
            rmsSum_ = 0;
            rmsCount_ = 0;
        }
    }
}

void ConversionEngine::storeCounter(int address, uint32_t value)
{
    for (int i = 0; i < 3; ++i)
        m_[size_t(address + i)] = uint8_t(value >> (8 * i));
}

void ConversionEngine::runCounter(double fromMs, double toMs)
{
    if (!gateOpen_ || !counterEnabled())
        return;
    const double span = CounterSpan - gateStart_;
    gateClocks_ = std::min(span, gateClocks_ + (toMs - fromMs) / 1000.0 * SystemClockHz);
    const bool overflow = gateClocks_ >= span;
    const double hz = std::max(inputs_.counterHz, 0.0);
    const double duty = std::clamp(inputs_.counterDuty, 0.0, 1.0);
    const double cycles = std::floor(gateClocks_ / SystemClockHz * hz + inputPhase_);
    storeCounter(CounterA, overflow ? 0 : gateStart_ + uint32_t(gateClocks_));
    storeCounter(CounterB, uint32_t(std::min(cycles, CounterSpan - 1)));
    storeCounter(CounterC, uint32_t(std::nearbyint(gateClocks_ * duty)));
    if (overflow) {
        m_[FlagRegister] |= CounterFlag;
        gateOpen_ = false;
    }
}

void ConversionEngine::settingsChanged()
{
    for (auto [conv, on, rate] : {std::tuple{&adc1_, adc1On(), adc1Rate()}, std::tuple{&adc2_, adc2On(), adc2Rate()}}) {
        if (on && !conv->on)
            conv->nextDueMs = nowMs_ + 1000.0 / rate;
        conv->on = on;
    }
    if (lpfOn() != lpfWasOn_) {
        lpfWasOn_ = !lpfWasOn_;
        lpfSum_ = 0;
        lpfCount_ = 0;
    }
    if (rmsOn() != rmsWasOn_) {
        rmsWasOn_ = !rmsWasOn_;
        rmsSum_ = 0;
        rmsCount_ = 0;
    }
    const bool counterOn = m_[FECON] & 0x01;
    if (counterOn && !counterWasOn_) {
        gateOpen_ = true;
        gateStart_ = uint32_t(m_[CounterA]) | uint32_t(m_[CounterA + 1]) << 8 | uint32_t(m_[CounterA + 2]) << 16;
        gateClocks_ = 0;
        inputPhase_ = uniform();
        storeCounter(CounterB, 0);
        storeCounter(CounterC, 0);
    }
    counterWasOn_ = counterOn;
}

void ConversionEngine::skipTo(double ms)
{
    if (ms <= nowMs_)
        return;
    for (Converter *c : {&adc1_, &adc2_})
        c->nextDueMs += ms - nowMs_;
    nowMs_ = ms;
}

void ConversionEngine::advanceTo(double ms, const ResultSink &sink)
{
    if (ms <= nowMs_)
        return;
    runCounter(nowMs_, ms);
    if (ms - nowMs_ > CatchUpLimitMs) {
        // Only the last stretch can still be seen in the results: move the
        // schedules over whole periods to its start.
        const double start = ms - CatchUpLimitMs;
        for (auto [conv, rate] : {std::pair{&adc1_, adc1Rate()}, std::pair{&adc2_, adc2Rate()}})
            if (conv->on && conv->nextDueMs < start) {
                const double period = 1000.0 / rate;
                conv->nextDueMs += std::ceil((start - conv->nextDueMs) / period) * period;
            }
        nowMs_ = start;
    }
    const double period1 = adc1_.on ? 1000.0 / adc1Rate() : Never;
    const double period2 = adc2_.on ? 1000.0 / adc2Rate() : Never;
    for (;;) {
        const double due1 = adc1_.on ? adc1_.nextDueMs : Never;
        const double due2 = adc2_.on ? adc2_.nextDueMs : Never;
        const double due = std::min(due1, due2);
        if (due > ms)
            break;
        nowMs_ = due;
        if (due1 <= due2) {
            convertAdc1(sink);
            adc1_.nextDueMs += period1;
        } else {
            convertAdc2(sink);
            adc2_.nextDueMs += period2;
        }
    }
    nowMs_ = ms;
}

} // namespace qx::sim
