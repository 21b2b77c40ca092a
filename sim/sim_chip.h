#pragma once
// The simulated chip: its 1024-byte data memory with the few addresses
// that do more than store a byte, and the records its interrupt stream
// forwards to the bridge. Safe to use from a protocol server's thread.
#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace qx::sim {

class SimChip {
public:
    static constexpr int MemorySize = 1024;
    // 0x1A/0x1B form one 16-bit word that the tool writes as a pair.
    static constexpr int ControlWordLow = 0x1A, ControlWordHigh = 0x1B;
    // Writing SleepCode to 0x0FD puts the chip to sleep; any access wakes it.
    static constexpr int SleepRegister = 0xFD;
    static constexpr uint8_t SleepCode = 0xA5;

    SimChip();

    uint8_t read(int address);
    void write(int address, uint8_t value);
    std::vector<uint8_t> readBlock(int address, int count);
    void writeBlock(int address, const uint8_t *data, int count);

    // Test set-up: fills memory without the side effects of write().
    void load(int address, const std::vector<uint8_t> &bytes);
    std::array<uint8_t, MemorySize> memory() const;
    // The word at 0x1A/0x1B (high byte from 0x1B).
    uint16_t controlWord() const;
    bool sleeping() const;
    int resets() const;
    // Reset line edge low -> high: the chip restarts (wakes and drops its
    // pending stream records; memory keeps its bytes).
    void reset();

    // Interrupt stream: records the chip has queued for the bridge.
    void pushStreamRecord(const std::array<uint8_t, 5> &record);
    std::vector<std::array<uint8_t, 5>> takeStreamRecords(int max);

private:
    uint8_t readLocked(int address);
    void writeLocked(int address, uint8_t value);

    mutable std::mutex mutex_;
    std::array<uint8_t, MemorySize> memory_{};
    bool sleeping_ = false;
    int resets_ = 0;
    std::deque<std::array<uint8_t, 5>> stream_;
};

} // namespace qx::sim
