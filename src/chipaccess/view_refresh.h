#pragma once
// The refresh hooks that run after every single-register write, always in
// the same order whichever window joined first: memory view, register
// view, ADC_CLK, MPN, ADS, ADF, OP, Program Counter. A slot nobody filled
// is skipped.
#include <array>
#include <functional>

namespace qx {

enum class ViewSlot : int {
    MemoryView = 0,
    RegisterView,
    AdcClock,
    Mpn,
    Ads,
    Adf,
    Op,
    ProgramCounter,
};
constexpr int ViewSlotCount = 8;

class ViewRefresh {
public:
    using Fn = std::function<void()>;
    // Fills (or replaces) the slot's refresh; an empty function clears it.
    void set(ViewSlot slot, Fn fn) { slots_[size_t(slot)] = std::move(fn); }
    void refreshAll() const
    {
        for (const auto &f : slots_)
            if (f)
                f();
    }

private:
    std::array<Fn, ViewSlotCount> slots_{};
};

} // namespace qx
