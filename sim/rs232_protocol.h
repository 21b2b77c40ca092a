#pragma once
// The chip's side of the RS232 link as a byte-stream state machine: 0x55
// is answered with 0xAA; C0 lo hi n with the n bytes at the address; 40 lo
// hi n and n data bytes are stored and answered with 0xAA. Bytes outside a
// frame are ignored. Every frame received is recorded.
#include "sim/sim_chip.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace qx::sim {

class Rs232Protocol {
public:
    explicit Rs232Protocol(SimChip &chip) : chip_(chip) {}

    // Feeds bytes from the line; returns the bytes to send back.
    std::vector<uint8_t> feed(const uint8_t *data, int n);

    // Complete frames received so far (a hello is the one-byte frame 55).
    std::vector<std::vector<uint8_t>> frames() const;
    void clearFrames();

    // Fault models for tests: answer nothing at all, or append `extra`
    // bytes of noise to every read answer.
    void setSilent(bool silent);
    void setExtraReadBytes(int extra);

private:
    std::vector<uint8_t> complete();

    SimChip &chip_;
    mutable std::mutex mutex_;
    std::vector<uint8_t> pending_;
    std::vector<std::vector<uint8_t>> frames_;
    bool silent_ = false;
    int extra_ = 0;
};

} // namespace qx::sim
