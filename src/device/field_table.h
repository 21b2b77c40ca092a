#pragma once
// The analog field table: one entry per field name of the panels (132 names). A field's
// value is (Mirror[Address] >> Lsb) & ((1 << Width) - 1).
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace qx {

enum class FieldSection { Ads, Adf, Op, ProgramCounter, DmmAdcClk, Mpn };

enum class FieldKind {
    Plain,             // address NAME width lsb
    Captioned,         // + caption
    GainCaptioned,     // + two gains + caption
    Gain,              // + four gains
    Selector,          // + 2^width labels + optional item prefix
    SelectorTwoRows,   // + two rows of 2^width labels + optional prefix
    SelectorNoLabels,  // + optional prefix
    AddressOnly,       // address NAME (width and lsb ignored)
};

// Fixed facts of a field name.
struct FieldInfo {
    const char *name;
    FieldSection section;
    FieldKind kind;
    const char *defaultPrefix;  // selectors: item prefix ending in '<'
    bool resetAtLoad;           // State set to 0 when the field's line is read
};

struct FieldEntry {
    uint16_t Address = 0;
    uint8_t Width = 0;
    uint8_t Lsb = 0;
    uint8_t State = 0;
    uint8_t Defined = 0;

    // What the definition adds for the field's kind.
    QString Caption;         // captioned kinds; empty when the line had none
    bool CaptionShown = false;  // #OP toggles make their label visible
    QStringList Labels;      // selectors: 2^width labels, "-" = no such choice
    QStringList Labels2;     // second label row (two-row selectors)
    QStringList Items;       // rebuilt choice list
    std::vector<int> ItemValues;  // choice number of each item
    std::vector<double> Gains;
    bool ItemsRebuilt = false;

    uint32_t mask() const { return Width >= 32 ? 0xFFFFFFFFu : ((1u << Width) - 1u); }
    int valueIn(uint8_t registerByte) const { return int((uint32_t(registerByte) >> Lsb) & mask()); }
    // The register byte with this field's bits replaced by `value`.
    uint8_t withValue(uint8_t registerByte, int value) const
    {
        const uint32_t m = mask() << Lsb;
        return uint8_t((registerByte & ~m) | ((uint32_t(value) << Lsb) & m));
    }
};

// The MPN section names 53 fields (four banks of ten switches and 13 more),
// so the table holds 132 names in all.
constexpr int FieldCount = 132;

// Static facts of all field names, in section order.
const std::array<FieldInfo, FieldCount> &FieldInfos();

class FieldTable {
public:
    FieldTable();
    // Index of a field name, -1 when the name is not a field.
    int indexOf(const QString &name) const { return index_.value(name, -1); }
    FieldEntry *find(const QString &name);
    const FieldEntry *find(const QString &name) const;
    FieldEntry &at(int index) { return entries_[size_t(index)]; }
    const FieldEntry &at(int index) const { return entries_[size_t(index)]; }
    const FieldInfo &info(int index) const { return FieldInfos()[size_t(index)]; }
    int definedCount() const;
private:
    std::array<FieldEntry, FieldCount> entries_{};
    QHash<QString, int> index_;
};

} // namespace qx
