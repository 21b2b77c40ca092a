#pragma once
// How the memory and register views keep the per-address change tables.
//
// Every refresh runs the memory view first, then the register view. The
// memory view sets Changed for the 256 bytes of its bank by comparing with
// LastValue and moves LastValue on for every address the register view does
// not track; the register view then does both for its registers. So a byte
// is highlighted in either grid exactly when it changed since the previous
// refresh, and the highlight clears at the next refresh without change.
#include "device/chip_description.h"
#include "device/device_record.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace qx {

using AddressSet = std::bitset<MirrorSize>;

// Addresses shown by some register of the register lists (bit, byte, word
// high and low), inside the mirror.
AddressSet RegisterAddresses(const ChipModel &chip);

// Bytes of the memory grid: the masked value, or -1 where the address does
// not exist (mask 0 or outside the mirror).
using BankCells = std::array<int16_t, 256>;

// The memory view's refresh of one bank (0..4).
void RefreshMemoryBank(const std::array<uint8_t, MirrorSize> &mirror, const AddressTable &mask,
                       const AddressSet &registerTracked, AddressTable &lastValue, AddressTable &changed,
                       int bank, bool force, BankCells &cells);

// The register view's header strip.
struct HeaderValue {
    int value = 0;
    bool highlighted = false;
};
struct RegisterHeader {
    static constexpr int WorkAddress = 0x29;
    static constexpr int Fsr0High = 0x0F, Fsr0Low = 0x10, Fsr1High = 0x11, Fsr1Low = 0x12;
    HeaderValue work;
    std::array<HeaderValue, 2> fsr;  // FSR0, FSR1: high * 256 + low
    std::array<HeaderValue, 2> ind;  // the byte at FSR0, FSR1 (0 outside the mirror)
};
// Highlights a panel whose value differs from the one shown before, unless
// `force` is set.
void RefreshRegisterHeader(const std::array<uint8_t, MirrorSize> &mirror, RegisterHeader &header, bool force);

// Stores the masked value of every register entry, and sets Changed and
// LastValue for its addresses. An address shared by two entries is compared
// once per refresh, so the second entry sees the same change as the first.
void RefreshRegisterLists(ChipModel &chip, const std::array<uint8_t, MirrorSize> &mirror,
                          AddressTable &lastValue, AddressTable &changed);

// Bit-list indexes [start, end) of register view page 0..3. With a full
// list the range can point past its last entry; such rows are empty.
struct PageRange {
    int start = 0;
    int end = 0;
    int rows() const { return end - start; }
};
PageRange BitPageRange(const ChipDescription &desc, int page);

inline bool InMirror(int address) { return address >= 0 && address < MirrorSize; }

} // namespace qx
