#pragma once
// The three register lists filled by the chip definition and shown by the
// register view: up to 512 entries each, kept in two pages of 256 that are
// allocated when their first entry arrives.
#include "device/short_text.h"

#include <array>
#include <cstdint>
#include <memory>

namespace qx {

struct RegBitSlot {
    ShortText<15> Name;
    ShortText<250> Description;
};

struct RegBitEntry {
    ShortText<15> Name;
    ShortText<160> Description;
    uint16_t Address = 0;
    std::array<RegBitSlot, 8> Bits;  // Bits[0] is bit 7 ... Bits[7] is bit 0
    int16_t Value = 0;

    RegBitSlot &bit(int bitNumber) { return Bits[7 - bitNumber]; }
    const RegBitSlot &bit(int bitNumber) const { return Bits[7 - bitNumber]; }
    int addressKey() const { return Address; }
};

struct RegByteEntry {
    ShortText<160> Description;
    uint16_t Address = 0;
    int16_t Value = 0;
    int addressKey() const { return Address; }
};

struct RegWordEntry {
    ShortText<160> Description;
    uint16_t AddressHigh = 0;
    uint16_t AddressLow = 0;
    uint16_t Value = 0;
    int addressKey() const { return AddressHigh * 256 + AddressLow; }
};

template <typename Entry>
class RegisterList {
public:
    static constexpr int PageSize = 256;
    static constexpr int Capacity = 2 * PageSize;

    RegisterList() = default;
    RegisterList(const RegisterList &) = delete;
    RegisterList &operator=(const RegisterList &) = delete;

    void Clear()
    {
        pages_[0].reset();
        pages_[1].reset();
        count_ = 0;
    }

    // 0 on success; 2 when the list is full (nothing stored).
    int Add(const Entry &entry)
    {
        if (count_ >= Capacity)
            return 2;
        const int page = count_ / PageSize;
        const int slot = count_ % PageSize;
        if (slot == 0 || !pages_[page])
            pages_[page] = std::make_unique<Page>();
        (*pages_[page])[slot] = entry;
        ++count_;
        return 0;
    }

    int Count() const { return count_; }

    // The stored entry for 0 <= index < Count(), nullptr otherwise.
    Entry *Get(int index)
    {
        if (index < 0 || index >= count_)
            return nullptr;
        return &(*pages_[index / PageSize])[index % PageSize];
    }
    const Entry *Get(int index) const { return const_cast<RegisterList *>(this)->Get(index); }

    // Lookup key of an entry (word registers: high * 256 + low); -1 when absent.
    int AddressOf(int index) const
    {
        const Entry *e = Get(index);
        return e ? e->addressKey() : -1;
    }

    // Index of the first entry whose key is `key`, -1 when none.
    int IndexOfAddress(int key) const
    {
        for (int i = 0; i < count_; ++i)
            if (AddressOf(i) == key)
                return i;
        return -1;
    }

private:
    using Page = std::array<Entry, PageSize>;
    std::unique_ptr<Page> pages_[2];
    int count_ = 0;
};

using TCRREGBitPtr = RegisterList<RegBitEntry>;
using TCRREGBytePtr = RegisterList<RegByteEntry>;
using TCRREGWordPtr = RegisterList<RegWordEntry>;

} // namespace qx
