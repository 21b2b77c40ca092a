#pragma once
// ".ram" memory dump files: the first 512 chip addresses with their marks
// and hints. Pure codec, no windows and no chip access.
//
// Layout (CR LF line ends):
//   512 lines, one per address 0..511: HexText(byte, 2), or "-" for an
//   address the chip does not have;
//   then per address three lines: mark flag and hint flag, each right-aligned
//   in two characters (" 1 0"); the mark colour as a decimal integer; the
//   hint text.
#include "device/device_record.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace qx {

// Marks and hints of one address, as the memory view keeps them. The colour
// is stored as the file holds it: 0x00BBGGRR, negative for a system colour.
struct CellMarks {
    bool marked = false;
    bool hinted = false;
    int32_t colour = 0;
    QString hint;
    bool operator==(const CellMarks &) const = default;
};

using MarkTable = std::array<CellMarks, MirrorSize>;

constexpr int RamFileAddresses = 512;

QByteArray EncodeRamFile(const std::array<uint8_t, MirrorSize> &mirror, const AddressTable &mask,
                         const MarkTable &marks);

// What a file holds for the addresses 0..511. Lines missing at the end of a
// short file count as empty: the value line reads as 0, the marks as cleared
// (flags 0, colour 0, no text). A flag or colour line that is not an integer
// counts as 0 as well.
struct RamFileContent {
    std::array<QString, RamFileAddresses> valueLines;
    std::array<CellMarks, RamFileAddresses> marks;
};
RamFileContent DecodeRamFile(const QByteArray &bytes);

// The byte a value line loads into an address: ParseHex of the line where the
// address exists, 0 where it does not.
uint8_t RamLoadValue(const QString &line, uint8_t addressMask);

} // namespace qx
