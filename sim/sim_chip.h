#pragma once
// The simulated chip: its 1024-byte data memory with the few addresses
// that do more than store a byte, the analog blocks that convert while they
// are enabled (conversion_engine.h has their rules), and the records its
// interrupt stream forwards to the bridge. Safe to use from a protocol
// server's thread.
//
// Time. The chip runs on a Clock its owner attaches (virtual time in tests,
// the system clock in qxsim) or on advanceTo() calls; every access first
// brings the analog blocks up to the clock's time. Without a clock time
// only moves by advanceTo(). A sleeping chip converts nothing.
//
// Flags. A conversion stores its result and sets its bit in the flag byte
// 0x14. Reading any byte of a result clears that result's flag (the
// counter bytes 0x15..0x1D clear CTIF), so a host that polls the flag
// byte sees each conversion once. Writing the flag byte stores the byte
// as written: a host clears bits by writing 0 to them and may raise one.
//
// Power-up. Memory holds a recognisable pattern, except that no flag is
// pending, the analog front end 0x1E..0x32 and the ADC set-up 0x3C..0x40
// read 0 (everything off) and CLKCON 0x32 has the oscillator on (0x01).
//
// Interrupt stream. While the bridge streams with a mask (setStreamMask),
// every conversion whose flag is in the mask queues a 5-byte record, first
// byte most significant:
//   ADC1, ADC2, LPF:  flag bit, 0x00, result bits 23..16, 15..8, 7..0
//   RMS:              the 40-bit accumulator, bits 39..32 first
// The counter is not streamed. The queue holds StreamCapacity records;
// conversions that find it full are dropped and counted.
#include "sim/conversion_engine.h"

#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace qx {
class Clock;
}

namespace qx::sim {

class SimChip {
public:
    static constexpr int MemorySize = 1024;
    // 0x1A/0x1B form one 16-bit word that the tool writes as a pair.
    static constexpr int ControlWordLow = 0x1A, ControlWordHigh = 0x1B;
    // Writing SleepCode to 0x0FD puts the chip to sleep; any access wakes it.
    static constexpr int SleepRegister = 0xFD;
    static constexpr uint8_t SleepCode = 0xA5;
    static constexpr int StreamCapacity = 1024;

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

    // Time: conversions follow `clock` from its present time on (nullptr
    // detaches it); advanceTo moves the chip's own time forward.
    void setClock(const Clock *clock);
    void advanceTo(int64_t ms);
    // What the analog inputs see; restarts the noise generator.
    void setInputs(const ChipInputs &inputs);
    ChipInputs inputs() const;
    // Conversions per second of ADC1 and ADC2 under the present settings.
    double adc1Rate() const;
    double adc2Rate() const;

    // Interrupt stream: the flags the bridge streams (0: none), and the
    // records the chip has queued for it.
    void setStreamMask(uint8_t mask);
    uint8_t streamMask() const;
    void pushStreamRecord(const std::array<uint8_t, 5> &record);
    std::vector<std::array<uint8_t, 5>> takeStreamRecords(int max);
    int streamDropped() const;

private:
    uint8_t readLocked(int address);
    void writeLocked(int address, uint8_t value);
    void catchUpLocked();
    void advanceLocked(double ms);

    mutable std::mutex mutex_;
    std::array<uint8_t, MemorySize> memory_{};
    bool sleeping_ = false;
    int resets_ = 0;
    std::deque<std::array<uint8_t, 5>> stream_;
    uint8_t streamMask_ = 0;
    int streamDropped_ = 0;
    const Clock *clock_ = nullptr;
    ConversionEngine engine_{memory_};
};

} // namespace qx::sim
