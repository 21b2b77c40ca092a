#pragma once
// Everything the tool knows about the selected chip, filled by the definition
// loader: identity, memory layout, register lists, the address mask and the
// analog field table, plus what the windows must show for it.
#include "device/device_record.h"
#include "device/field_table.h"
#include "device/register_lists.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace qx {

struct AddressRange {
    uint16_t start = 0;
    uint16_t end = 0;
    // A bank with start < end exists: the memory view shows its tab.
    bool present() const { return start < end; }
    bool operator==(const AddressRange &) const = default;
};

struct ChipDescription {
    QString productName;
    uint16_t chipId = 0;
    int32_t romSize = 4096;
    std::array<AddressRange, 2> registerAreas{};
    std::array<AddressRange, 5> ramBanks{};
    uint8_t stackDepth = 4;
    uint16_t simulatorId = 0;
    int32_t adcCount = 0;
    std::array<uint16_t, 4> bitPageCounts{};  // bit registers per register-view page
    uint16_t byteCount = 0;
    uint16_t wordCount = 0;
    uint16_t threeByteCount = 0;
    // Names of byte and word registers in definition order; the register view
    // places name c at column c mod 9, row (c div 9) * 2.
    QStringList byteRegisterNames;
    QStringList wordRegisterNames;

    // What the windows show for this definition.
    std::array<bool, 4> pageShown{};   // register view pages 1..4
    bool instrumentsShown = false;     // #FLUKE: instrument menus and controls
    QString registerViewCaption;       // product name + " Register"

    // ADF panel: the first control group for an ADC count of 2, else the second.
    bool adfFirstGroup() const { return adcCount == 2; }
    bool bankShown(int bank) const { return bank >= 0 && bank < 5 && ramBanks[size_t(bank)].present(); }
    // After a load: a selected bank or page that no longer exists falls back.
    int bankAfterLoad(int selected) const;
    int pageAfterLoad(int selected) const;  // pages 0..3
};

// The chip description with the tables a load fills.
struct ChipModel {
    ChipDescription desc;
    AddressTable AddressMask{};
    TCRREGBitPtr bitRegisters;
    TCRREGBytePtr byteRegisters;
    TCRREGWordPtr wordRegisters;
    FieldTable fields;
};

} // namespace qx
