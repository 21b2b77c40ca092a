// The configuration readers on arbitrary file content: QxADC.cfg (with the
// tool's title as first line, so the groups are reached), StepADC.txt and
// the window placement file.
#include "shell/qxadc_config.h"
#include "shell/step_adc_config.h"
#include "widgets/window_placement.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString title = "QX-ENOB TEST for QX7020";
    const auto load = qx::DecodeQxAdcConfig(title.toUtf8() + "\r\n" + bytes, title, qx::QxAdcConfig{});
    qx::EncodeQxAdcConfig(title, load.config);
    qx::EncodeStepAdcConfig(qx::DecodeStepAdcConfig(bytes, qx::StepAdcConfig{}));
    qx::DecodePlacements("1.10\r\n" + bytes);
    return 0;
}
