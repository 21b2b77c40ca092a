// The whole definition loader on arbitrary file content. The input is split
// into lines like a file; the model is reused so reloads are exercised too.
#include "core/text_codec.h"
#include "device/chip_definition_loader.h"
#include "device/chip_description.h"
#include "device/chip_description_json.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static auto model = std::make_unique<qx::ChipModel>();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList lines;
    for (const QByteArray &raw : bytes.split('\n'))
        lines << qx::decodeLine(raw);
    qx::LoadDefinitionLines(*model, lines);
    for (int i = 0; i < qx::FieldCount; ++i) {
        const qx::FieldEntry &f = model->fields.at(i);
        f.valueIn(0xFF);
        if (f.Items.size() > 256)
            __builtin_trap();
    }
    qx::DescriptionToText(*model);
    return 0;
}
