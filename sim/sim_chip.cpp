#include "sim/sim_chip.h"

#include "core/clock.h"

#include <algorithm>

namespace qx::sim {

SimChip::SimChip()
{
    // A recognisable start pattern, so a read that returns nothing but
    // zeros stands out.
    for (int a = 0; a < MemorySize; ++a)
        memory_[size_t(a)] = uint8_t((a * 7 + 3) & 0xFF);
    memory_[SleepRegister] = 0;
    // The analog blocks power up off, with the oscillator running.
    memory_[ConversionEngine::FlagRegister] = 0;
    std::fill(memory_.begin() + 0x1E, memory_.begin() + 0x33, uint8_t(0));
    std::fill(memory_.begin() + 0x3C, memory_.begin() + 0x41, uint8_t(0));
    memory_[0x32] = 0x01;
    engine_.settingsChanged();
}

void SimChip::catchUpLocked()
{
    if (clock_)
        advanceLocked(double(clock_->nowMs()));
}

void SimChip::advanceLocked(double now)
{
    if (sleeping_) {
        engine_.skipTo(now);
        return;
    }
    engine_.advanceTo(now, [this](uint8_t flag, const ConversionEngine::Record &record) {
        if (!(flag & streamMask_))
            return;
        if (int(stream_.size()) >= StreamCapacity)
            ++streamDropped_;
        else
            stream_.push_back(record);
    });
}

uint8_t SimChip::readLocked(int address)
{
    sleeping_ = false;
    if (address < 0 || address >= MemorySize)
        return 0xFF;  // nothing answers outside the chip's memory
    if (address == SleepRegister)
        return 0;
    const uint8_t value = memory_[size_t(address)];
    memory_[ConversionEngine::FlagRegister] &= uint8_t(~ConversionEngine::flagClearedByReading(address));
    return value;
}

void SimChip::writeLocked(int address, uint8_t value)
{
    if (address < 0 || address >= MemorySize)
        return;
    if (address == SleepRegister) {
        sleeping_ = value == SleepCode;
        return;
    }
    sleeping_ = false;
    memory_[size_t(address)] = value;
    engine_.settingsChanged();
}

uint8_t SimChip::read(int address)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();
    return readLocked(address);
}

void SimChip::write(int address, uint8_t value)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();
    writeLocked(address, value);
}

std::vector<uint8_t> SimChip::readBlock(int address, int count)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();
    std::vector<uint8_t> out;
    out.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        out.push_back(readLocked(address + i));
    return out;
}

void SimChip::writeBlock(int address, const uint8_t *data, int count)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();
    for (int i = 0; i < count; ++i)
        writeLocked(address + i, data[i]);
}

void SimChip::load(int address, const std::vector<uint8_t> &bytes)
{
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < bytes.size(); ++i)
        if (address + int(i) >= 0 && address + int(i) < MemorySize)
            memory_[size_t(address) + i] = bytes[i];
    engine_.settingsChanged();
}

std::array<uint8_t, SimChip::MemorySize> SimChip::memory() const
{
    std::lock_guard lock(mutex_);
    return memory_;
}

uint16_t SimChip::controlWord() const
{
    std::lock_guard lock(mutex_);
    return uint16_t(memory_[ControlWordHigh] << 8 | memory_[ControlWordLow]);
}

bool SimChip::sleeping() const
{
    std::lock_guard lock(mutex_);
    return sleeping_;
}

int SimChip::resets() const
{
    std::lock_guard lock(mutex_);
    return resets_;
}

void SimChip::reset()
{
    std::lock_guard lock(mutex_);
    ++resets_;
    sleeping_ = false;
    stream_.clear();
}

void SimChip::setClock(const Clock *clock)
{
    std::lock_guard lock(mutex_);
    clock_ = clock;
    if (clock_)
        engine_.skipTo(double(clock_->nowMs()));
}

void SimChip::advanceTo(int64_t ms)
{
    std::lock_guard lock(mutex_);
    advanceLocked(double(ms));
}

void SimChip::setInputs(const ChipInputs &inputs)
{
    std::lock_guard lock(mutex_);
    engine_.setInputs(inputs);
}

ChipInputs SimChip::inputs() const
{
    std::lock_guard lock(mutex_);
    return engine_.inputs();
}

double SimChip::adc1Rate() const
{
    std::lock_guard lock(mutex_);
    return engine_.adc1Rate();
}

double SimChip::adc2Rate() const
{
    std::lock_guard lock(mutex_);
    return engine_.adc2Rate();
}

void SimChip::setStreamMask(uint8_t mask)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();  // what converted before the change follows the old mask
    streamMask_ = mask;
}

uint8_t SimChip::streamMask() const
{
    std::lock_guard lock(mutex_);
    return streamMask_;
}

int SimChip::streamDropped() const
{
    std::lock_guard lock(mutex_);
    return streamDropped_;
}

void SimChip::pushStreamRecord(const std::array<uint8_t, 5> &record)
{
    std::lock_guard lock(mutex_);
    stream_.push_back(record);
}

std::vector<std::array<uint8_t, 5>> SimChip::takeStreamRecords(int max)
{
    std::lock_guard lock(mutex_);
    catchUpLocked();
    std::vector<std::array<uint8_t, 5>> out;
    while (!stream_.empty() && int(out.size()) < max) {
        out.push_back(stream_.front());
        stream_.pop_front();
    }
    return out;
}

} // namespace qx::sim
