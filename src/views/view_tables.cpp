#include "views/view_tables.h"

namespace qx {

AddressSet RegisterAddresses(const ChipModel &chip)
{
    AddressSet s;
    auto add = [&s](int a) { if (InMirror(a)) s.set(size_t(a)); };
    for (int i = 0; i < chip.bitRegisters.Count(); ++i)
        add(chip.bitRegisters.Get(i)->Address);
    for (int i = 0; i < chip.byteRegisters.Count(); ++i)
        add(chip.byteRegisters.Get(i)->Address);
    for (int i = 0; i < chip.wordRegisters.Count(); ++i) {
        add(chip.wordRegisters.Get(i)->AddressHigh);
        add(chip.wordRegisters.Get(i)->AddressLow);
    }
    return s;
}

void RefreshMemoryBank(const std::array<uint8_t, MirrorSize> &mirror, const AddressTable &mask,
                       const AddressSet &registerTracked, AddressTable &lastValue, AddressTable &changed,
                       int bank, bool force, BankCells &cells)
{
    for (int i = 0; i < 256; ++i) {
        const int a = bank * 256 + i;
        if (!InMirror(a)) {
            cells[size_t(i)] = -1;
            continue;
        }
        const size_t k = size_t(a);
        const uint8_t v = mirror[k] & mask[k];
        cells[size_t(i)] = mask[k] ? int16_t(v) : int16_t(-1);
        changed[k] = (!force && v != lastValue[k]) ? 1 : 0;
        if (!registerTracked.test(k))
            lastValue[k] = v;
    }
}

void RefreshRegisterHeader(const std::array<uint8_t, MirrorSize> &mirror, RegisterHeader &header, bool force)
{
    auto show = [force](HeaderValue &h, int v) {
        h.highlighted = !force && v != h.value;
        h.value = v;
    };
    auto at = [&mirror](int a) -> int { return InMirror(a) ? mirror[size_t(a)] : 0; };
    show(header.work, at(RegisterHeader::WorkAddress));
    const int fsr0 = at(RegisterHeader::Fsr0High) * 256 + at(RegisterHeader::Fsr0Low);
    const int fsr1 = at(RegisterHeader::Fsr1High) * 256 + at(RegisterHeader::Fsr1Low);
    show(header.fsr[0], fsr0);
    show(header.ind[0], at(fsr0));
    show(header.fsr[1], fsr1);
    show(header.ind[1], at(fsr1));
}

namespace {

// Change tracking of one refresh: each address is compared with its last
// value once; later entries at the same address reuse that result.
struct ChangeTracker {
    AddressTable &last;
    AddressTable &changed;
    AddressSet seen;

    void note(int a, uint8_t v)
    {
        if (!InMirror(a))
            return;
        const size_t k = size_t(a);
        if (seen.test(k))
            return;
        seen.set(k);
        changed[k] = v != last[k] ? 1 : 0;
        last[k] = v;
    }
};

} // namespace

void RefreshRegisterLists(ChipModel &chip, const std::array<uint8_t, MirrorSize> &mirror,
                          AddressTable &lastValue, AddressTable &changed)
{
    const AddressTable &mask = chip.AddressMask;
    auto masked = [&](int a) -> uint8_t { return InMirror(a) ? mirror[size_t(a)] & mask[size_t(a)] : 0; };
    ChangeTracker t{lastValue, changed, {}};
    for (int i = 0; i < chip.bitRegisters.Count(); ++i) {
        RegBitEntry &e = *chip.bitRegisters.Get(i);
        const uint8_t v = masked(e.Address);
        e.Value = v;
        t.note(e.Address, v);
    }
    for (int i = 0; i < chip.byteRegisters.Count(); ++i) {
        RegByteEntry &e = *chip.byteRegisters.Get(i);
        const uint8_t v = masked(e.Address);
        e.Value = v;
        t.note(e.Address, v);
    }
    for (int i = 0; i < chip.wordRegisters.Count(); ++i) {
        RegWordEntry &e = *chip.wordRegisters.Get(i);
        const uint8_t h = masked(e.AddressHigh);
        const uint8_t l = masked(e.AddressLow);
        e.Value = uint16_t(h * 256 + l);
        t.note(e.AddressHigh, h);
        t.note(e.AddressLow, l);
    }
}

PageRange BitPageRange(const ChipDescription &desc, int page)
{
    PageRange r;
    if (page < 0 || page > 3)
        return r;
    for (int p = 0; p < page; ++p)
        r.start += desc.bitPageCounts[size_t(p)];
    r.end = r.start + desc.bitPageCounts[size_t(page)];
    return r;
}

} // namespace qx
