// Number syntax and line reader on arbitrary text.
#include "core/text_codec.h"
#include "device/base_utils.h"
#include "device/line_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = qx::decodeLine(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    int32_t v = 0;
    qx::ParseNumber(text, v);
    qx::ParseHex(text);
    qx::ParseDec(text);
    qx::ParseBin(text);
    qx::ParseLine pl;
    pl.setLine(text);
    for (int k = 1; k <= qx::ParseLine::LastToken; ++k) {
        const QString t = pl.param(k);
        if (t.size() > qx::ParseLine::MaxText)
            __builtin_trap();
    }
    qx::IsPseudo(pl.token(4));
    return 0;
}
