#pragma once
// The analog side of the simulated QX7020: its ADCs, the low-pass filter and
// RMS blocks behind ADC2, the programmable counter and the ratio measurement
// of a resistor on ADC1. The engine works on the chip's memory, reading its
// settings from the chip's own registers and writing results and flags
// there, and runs on time the owner hands it (advanceTo); nothing happens
// between two calls.
//
// Clocks. The system clock is 4.9152 MHz and runs while EN_OSC (0x32 bit 0)
// is set; nothing converts or counts without it. The modulators run at the
// system clock / 16, or / 8 with FCLK_SEL (0x32 bit 1) set: 307.2 or
// 614.4 kHz.
//
// Blocks, their enables, rates and results (rates for FCLK_SEL = 0):
//   ADC1  ENAD_S (0x30 bit 7). One result every 1024 << AD1OSR modulator
//         clocks (AD1OSR = 0x30 bits 0..2): 300 Hz at 0 down to 2.34 Hz
//         at 7. Signed 24-bit code at 0x00..0x02, flag SADC_IF (0x14 bit 2).
//   ADC2  ENAD_F (0x30 bit 6). One result every 16 << AD2OSR modulator
//         clocks (AD2OSR = 0x3D bits 0..2): 19.2 kHz down to 150 Hz.
//         Signed 18-bit code, sign-extended, at 0x03..0x05, flag FADC_IF
//         (bit 1).
//   LPF   ADC2 and EN_AVG (0x29 bit 6). The mean of each block of
//         2 << SELAVG ADC2 results (SELAVG = 0x3F bits 0..2), rounded, at
//         0x06..0x08 on the ADC2 scale; flag LPF_IF (bit 3).
//   RMS   ADC2 and EN_RMS (0x29 bit 5). The sum of the squares of each
//         block of ACC + 1 ADC2 codes (ACC = 0x31 bits 0..6), unsigned
//         40-bit at 0x09..0x0D (saturating); flag RMS_IF (bit 4).
//   Counter EN_CTR (0x1E bit 0). Switching it on starts a gate: counter A
//         (0x1B..0x1D) counts system clocks up from the value the host
//         left in it, B (0x18..0x1A) counts input cycles and C (0x15..0x17)
//         the system clocks the input is high. When A overflows past
//         0xFFFFFF it stops at 0, B and C hold their counts and CTIF
//         (bit 0) is set; the next gate needs EN_CTR off and on again.
//         Switching EN_CTR off freezes the counters.
//   ADC3 (ENADP) has no result register in the QX7020 and is not modelled.
//
// Inputs. ADC1 and ADC2 each see a configured voltage plus an offset and
// Gaussian noise, all referred to the ADC input, times the gain in front of
// the ADC (ADC1: AD1GN x1/x2/x4/x8 at 0x3C bits 0..1 and VRGNAD1 x2 at 0x22
// bit 7; ADC2: AD2GN at 0x3D bits 3..4 and VRGNAD2 at 0x3D bit 5), against
// a 1.2 V reference: code = volts * gain / 1.2 * 2^(bits-1), rounded and
// clipped. The noise generator is seeded, so a run repeats exactly.
//
// Resistance. The unknown resistor Rx and a reference resistor Rref sit in
// series across a 0.6 V bias. With AD1MUX (0x24) at 0x38 ADC1 sees the
// voltage across Rx, at 0x11 the voltage across Rref; any other multiplexer
// setting gives the configured ADC1 voltage. The ratio of the two readings
// is Rx / Rref.
#include <array>
#include <cstdint>
#include <functional>
#include <random>

namespace qx::sim {

struct AnalogInput {
    double volts = 0;        // DC level at the ADC input
    double offsetVolts = 0;  // added to every conversion
    double noiseVolts = 0;   // standard deviation of the Gaussian noise
};

struct ChipInputs {
    AnalogInput adc1{0.1, 0, 0.5e-6};
    AnalogInput adc2{0.1, 0, 20e-6};
    double counterHz = 1000;       // frequency at the counter input
    double counterDuty = 0.5;      // fraction of each period the input is high
    double resistorOhms = 4700;    // the unknown resistor
    double referenceOhms = 10000;  // the reference resistor in series with it
    uint64_t seed = 1;             // noise generator seed
};

class ConversionEngine {
public:
    using Memory = std::array<uint8_t, 1024>;
    using Record = std::array<uint8_t, 5>;
    // A finished result: its flag bit and its stream record.
    using ResultSink = std::function<void(uint8_t flag, const Record &record)>;

    static constexpr double SystemClockHz = 4915200;
    static constexpr double ReferenceVolts = 1.2;
    static constexpr double BiasVolts = 0.6;
    static constexpr int FlagRegister = 0x14;
    static constexpr uint8_t CounterFlag = 0x01, Adc2Flag = 0x02, Adc1Flag = 0x04, LpfFlag = 0x08, RmsFlag = 0x10;
    static constexpr uint8_t PhaseA = 0x38, PhaseB = 0x11;  // AD1MUX settings of the ratio measurement
    // A long pause between accesses is simulated for its last second only.
    static constexpr double CatchUpLimitMs = 1000;

    explicit ConversionEngine(Memory &memory);

    // New inputs; restarts the noise generator from their seed.
    void setInputs(const ChipInputs &inputs);
    const ChipInputs &inputs() const { return inputs_; }

    double nowMs() const { return nowMs_; }
    // Runs everything due up to `ms` (earlier times are ignored).
    void advanceTo(double ms, const ResultSink &sink);
    // Moves to `ms` with nothing converting or counting in between (a
    // sleeping chip, a clock attached anew).
    void skipTo(double ms);
    // After the host changed memory: a block just switched on starts its
    // first conversion (or gate) now; one switched off drops its partial
    // filter blocks.
    void settingsChanged();

    // Results per second for the current settings; 0 while off.
    double adc1Rate() const;
    double adc2Rate() const;

    // The flag bit that reading `address` clears (0 for none): a result
    // read clears its flag.
    static uint8_t flagClearedByReading(int address);

private:
    struct Converter {
        bool on = false;
        double nextDueMs = 0;
    };
    bool oscillator() const;
    double modulatorHz() const;
    bool adc1On() const;
    bool adc2On() const;
    bool lpfOn() const;
    bool rmsOn() const;
    bool counterEnabled() const;
    double adc1Gain() const;
    double adc2Gain() const;
    double adc1Volts() const;
    int32_t code(const AnalogInput &in, double volts, double gain, int bits);
    void convertAdc1(const ResultSink &sink);
    void convertAdc2(const ResultSink &sink);
    void runCounter(double fromMs, double toMs);
    void storeCounter(int address, uint32_t value);
    void result24(int address, int32_t value, uint8_t flag, const ResultSink &sink);
    double gaussian();
    double uniform();

    Memory &m_;
    ChipInputs inputs_;
    double nowMs_ = 0;
    Converter adc1_, adc2_;
    bool lpfWasOn_ = false, rmsWasOn_ = false;
    int lpfCount_ = 0;
    int64_t lpfSum_ = 0;
    int rmsCount_ = 0;
    uint64_t rmsSum_ = 0;
    // Counter gate.
    bool counterWasOn_ = false;
    bool gateOpen_ = false;
    uint32_t gateStart_ = 0;    // counter A when the gate opened
    double gateClocks_ = 0;     // system clocks counted since
    double inputPhase_ = 0;     // input cycle fraction at the gate's start
    // Noise: the standard's 64-bit Mersenne Twister (its sequence is fixed
    // for a seed) with our own Box-Muller pairs, so a seed repeats on any
    // library.
    std::mt19937_64 random_;
    bool spare_ = false;
    double spareValue_ = 0;
};

} // namespace qx::sim
