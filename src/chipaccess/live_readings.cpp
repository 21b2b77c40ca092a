#include "chipaccess/live_readings.h"

namespace qx {

int32_t SignedResult24(const std::array<uint8_t, 3> &b)
{
    const uint32_t raw = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16);
    return (raw & 0x800000u) ? int32_t(raw) - 0x1000000 : int32_t(raw);
}

uint64_t RmsAccumulator40(const std::array<uint8_t, 5> &b)
{
    uint64_t v = 0;
    for (int i = 4; i >= 0; --i)
        v = (v << 8) | b[size_t(i)];
    return v;
}

ResistanceSequence::Step ResistanceSequence::feed(int32_t s)
{
    Step step;
    const bool a = phase_ & 0x80;
    const bool summing = phase_ & 0x40;
    const int count = phase_ & 0x0F;
    if (!summing) {
        if (count >= 2) {
            phase_ = uint8_t((a ? 0x80 : 0x00) | 0x40);
            (a ? sumA_ : sumB_) = 0;
        } else {
            phase_ = uint8_t(phase_ + 1);
        }
        return step;
    }
    double &sum = a ? sumA_ : sumB_;
    sum += s;
    if (count < 3) {
        phase_ = uint8_t(phase_ + 1);
        return step;
    }
    sum /= 4;
    if (!a) {
        step.writeRegister = SettingA;
        phase_ = 0x80;
    } else {
        step.writeRegister = SettingB;
        phase_ = 0x00;
        step.readingReady = true;
    }
    return step;
}

std::optional<double> ResistanceSequence::reading(double factor) const
{
    if (sumB_ == 0)
        return std::nullopt;
    return factor * sumA_ / sumB_;
}

const char *ResistanceFormat(int range)
{
    static const char *formats[] = {"%.2f ohm", "%.4f K ohm", "%.3f K ohm", "%.2f K ohm", "%.4f M ohm", "%.3f M ohm"};
    return range >= 0 && range < 6 ? formats[range] : formats[0];
}

} // namespace qx
