#pragma once
// Decoding of the result bytes latched by the interrupt-flag poll, and the
// two-phase resistance measurement that consumes ADC1 samples.
#include <array>
#include <cstdint>
#include <optional>

namespace qx {

// Signed 24-bit result, byte 0 least significant, bit 23 the sign.
int32_t SignedResult24(const std::array<uint8_t, 3> &bytes);
// Unsigned 40-bit RMS accumulator, byte 4 most significant.
uint64_t RmsAccumulator40(const std::array<uint8_t, 5> &bytes);

// The resistance measurement: three samples settle and four are averaged
// under each setting of register 0x24 (0x38 while measuring A, 0x11 for B).
// One reading takes 14 ADC1 samples.
class ResistanceSequence {
public:
    static constexpr int PhaseRegister = 0x24;
    static constexpr uint8_t SettingA = 0x38;
    static constexpr uint8_t SettingB = 0x11;

    struct Step {
        std::optional<uint8_t> writeRegister;  // value for register 0x24, when due
        bool readingReady = false;             // sums A and B hold a new pair
    };

    // Consumes one ADC1 sample.
    Step feed(int32_t sample);

    uint8_t phase() const { return phase_; }
    void setPhase(uint8_t p) { phase_ = p; }
    double sumA() const { return sumA_; }
    double sumB() const { return sumB_; }
    // factor * A / B; nullopt while B is 0.
    std::optional<double> reading(double factor) const;

private:
    uint8_t phase_ = 0;  // bit 7: A(1)/B(0); bit 6: summing; bits 0..3: sample count
    double sumA_ = 0;
    double sumB_ = 0;
};

// The read-out format of resistance range 0..5.
const char *ResistanceFormat(int range);

} // namespace qx
