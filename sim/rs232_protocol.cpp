#include "sim/rs232_protocol.h"

namespace qx::sim {

std::vector<uint8_t> Rs232Protocol::feed(const uint8_t *data, int n)
{
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> out;
    for (int i = 0; i < n; ++i) {
        if (pending_.empty() && data[i] != 0x55 && data[i] != 0xC0 && data[i] != 0x40)
            continue;  // line noise between frames
        pending_.push_back(data[i]);
        const std::vector<uint8_t> answer = complete();
        if (!silent_)
            out.insert(out.end(), answer.begin(), answer.end());
    }
    return out;
}

// Answers the pending frame once it is complete.
std::vector<uint8_t> Rs232Protocol::complete()
{
    const uint8_t command = pending_[0];
    std::vector<uint8_t> answer;
    if (command == 0x55) {
        answer = {0xAA};
    } else if (pending_.size() < 4) {
        return {};
    } else {
        const int address = pending_[1] | pending_[2] << 8;
        const int count = pending_[3];
        if (command == 0xC0) {
            answer = chip_.readBlock(address, count);
            for (int k = 0; k < extra_; ++k)
                answer.push_back(uint8_t(0xE0 + k));
        } else {
            if (int(pending_.size()) < 4 + count)
                return {};
            chip_.writeBlock(address, pending_.data() + 4, count);
            answer = {0xAA};
        }
    }
    frames_.push_back(pending_);
    pending_.clear();
    return answer;
}

std::vector<std::vector<uint8_t>> Rs232Protocol::frames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

void Rs232Protocol::clearFrames()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
}

void Rs232Protocol::setSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

void Rs232Protocol::setExtraReadBytes(int extra)
{
    std::lock_guard lock(mutex_);
    extra_ = extra;
}

} // namespace qx::sim
