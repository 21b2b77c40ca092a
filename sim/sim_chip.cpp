#include "sim/sim_chip.h"

namespace qx::sim {

SimChip::SimChip()
{
    // A recognisable start pattern, so a read that returns nothing but
    // zeros stands out.
    for (int a = 0; a < MemorySize; ++a)
        memory_[size_t(a)] = uint8_t((a * 7 + 3) & 0xFF);
    memory_[SleepRegister] = 0;
}

uint8_t SimChip::readLocked(int address)
{
    sleeping_ = false;
    if (address < 0 || address >= MemorySize)
        return 0xFF;  // nothing answers outside the chip's memory
    if (address == SleepRegister)
        return 0;
    return memory_[size_t(address)];
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
}

uint8_t SimChip::read(int address)
{
    std::lock_guard lock(mutex_);
    return readLocked(address);
}

void SimChip::write(int address, uint8_t value)
{
    std::lock_guard lock(mutex_);
    writeLocked(address, value);
}

std::vector<uint8_t> SimChip::readBlock(int address, int count)
{
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> out;
    out.reserve(size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        out.push_back(readLocked(address + i));
    return out;
}

void SimChip::writeBlock(int address, const uint8_t *data, int count)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < count; ++i)
        writeLocked(address + i, data[i]);
}

void SimChip::load(int address, const std::vector<uint8_t> &bytes)
{
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < bytes.size(); ++i)
        if (address + int(i) >= 0 && address + int(i) < MemorySize)
            memory_[size_t(address) + i] = bytes[i];
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

void SimChip::pushStreamRecord(const std::array<uint8_t, 5> &record)
{
    std::lock_guard lock(mutex_);
    stream_.push_back(record);
}

std::vector<std::array<uint8_t, 5>> SimChip::takeStreamRecords(int max)
{
    std::lock_guard lock(mutex_);
    std::vector<std::array<uint8_t, 5>> out;
    while (!stream_.empty() && int(out.size()) < max) {
        out.push_back(stream_.front());
        stream_.pop_front();
    }
    return out;
}

} // namespace qx::sim
