#pragma once
// The memory view's spreadsheet export: the first 512 addresses as a
// workbook with one worksheet "USER Data". Address a sits in row a/16 + 3;
// columns C..R hold the byte as a number, T..AI as "XXh" text; an address
// the chip does not have shows "-" in both.
#include "device/device_record.h"

#include <QString>

#include <array>
#include <cstdint>

namespace qx {

constexpr const char *RamWorkbookSheet = "USER Data";

// Writes the workbook to `path` through a temporary file next to it, so a
// failed export leaves an existing file whole. False with `error` set on
// failure.
bool WriteRamWorkbook(const QString &path, const std::array<uint8_t, MirrorSize> &mirror,
                      const AddressTable &mask, QString *error = nullptr);

} // namespace qx
