// The RAM file reader on arbitrary content, and a save of what it read.
#include "views/ram_file.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto content = std::make_unique<qx::RamFileContent>(qx::DecodeRamFile(bytes));
    std::array<uint8_t, qx::MirrorSize> mirror{};
    qx::AddressTable mask{};
    mask.fill(0xFF);
    auto marks = std::make_unique<qx::MarkTable>();
    for (int a = 0; a < qx::RamFileAddresses; ++a) {
        mirror[size_t(a)] = qx::RamLoadValue(content->valueLines[size_t(a)], 0xFF);
        (*marks)[size_t(a)] = content->marks[size_t(a)];
    }
    const QByteArray again = qx::EncodeRamFile(mirror, mask, *marks);
    if (again.isEmpty())
        __builtin_trap();
    return 0;
}
