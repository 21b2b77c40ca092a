#pragma once
// "StepADC.txt": the switch test's settings, twelve lines.
#include <QByteArray>

#include <array>

namespace qx {

constexpr const char *StepConfigFileName = "StepADC.txt";

// The switch test's registers, always in this order.
constexpr std::array<int, 11> SwitchTestAddresses{49, 50, 55, 60, 61, 62, 63, 64, 48, 73, 52};

struct StepAdcConfig {
    int stepLengthIndex = 0;  // EvStepLen
    int loopStepIndex = 0;    // LoopStep
    std::array<int, 8> channelChecked{};                    // SwitCh1..SwitCh8
    std::array<std::array<int, 11>, 8> channelValues{};     // per channel, in address order
    int currentStep = 0;
};

QByteArray EncodeStepAdcConfig(const StepAdcConfig &c);
// Lines present replace their values; line 3 is read past (the addresses are fixed).
StepAdcConfig DecodeStepAdcConfig(const QByteArray &bytes, const StepAdcConfig &current);

} // namespace qx
