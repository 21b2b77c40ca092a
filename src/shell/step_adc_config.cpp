#include "shell/step_adc_config.h"

#include "shell/config_text.h"

#include <optional>
#include <vector>

namespace qx {

QByteArray EncodeStepAdcConfig(const StepAdcConfig &c)
{
    ConfigWriter w;
    w.integer(c.stepLengthIndex, 4).integer(c.loopStepIndex, 4).endLine();
    for (int v : c.channelChecked)
        w.integer(v, 4);
    w.endLine();
    for (int a : SwitchTestAddresses)
        w.integer(a, 4);
    w.endLine();
    for (const auto &channel : c.channelValues) {
        for (int v : channel)
            w.integer(v, 4);
        w.endLine();
    }
    w.integer(c.currentStep, 4).endLine();
    return w.bytes();
}

namespace {
std::optional<std::vector<int>> readLine(ConfigReader &r, int n)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i) {
        const auto x = r.integer();
        if (!x)
            return std::nullopt;
        v.push_back(int(*x));
    }
    r.skipRestOfLine();
    return v;
}
} // namespace

StepAdcConfig DecodeStepAdcConfig(const QByteArray &bytes, const StepAdcConfig &current)
{
    StepAdcConfig c = current;
    ConfigReader r(bytes);
    for (int line = 1; line <= 12 && !r.atEnd(); ++line) {
        const int n = line == 1 ? 2 : line == 2 ? 8 : line == 12 ? 1 : 11;
        const auto v = readLine(r, n);
        if (!v)
            break;
        if (line == 1) {
            c.stepLengthIndex = (*v)[0];
            c.loopStepIndex = (*v)[1];
        } else if (line == 2) {
            for (int i = 0; i < 8; ++i)
                c.channelChecked[size_t(i)] = (*v)[size_t(i)];
        } else if (line >= 4 && line <= 11) {
            for (int i = 0; i < 11; ++i)
                c.channelValues[size_t(line - 4)][size_t(i)] = (*v)[size_t(i)];
        } else if (line == 12) {
            c.currentStep = (*v)[0];
        }
    }
    return c;
}

} // namespace qx
