#pragma once
// The parallel-port adapter with the chip behind it, at byte level: a frame
// opens with ParallelBegin, carries a command (C0 read, 40 write) and two
// address bytes, then data bytes clocked out (write) or in (read), and
// closes with ParallelEnd. Every frame is recorded.
#include "sim/sim_chip.h"
#include "transport/parallel_link.h"

#include <vector>

namespace qx::sim {

struct ParallelFrame {
    uint16_t port = 0;
    std::vector<uint8_t> written;  // bytes the tool sent, command first
    std::vector<uint8_t> read;     // bytes the chip returned
    int delays = 0;                // bus delays inside the frame
    int delayCount = 0;            // the count of the last delay
    bool ended = false;
};

class SimParallelLink final : public ParallelLink {
public:
    explicit SimParallelLink(SimChip &chip) : chip_(chip) {}

    void setReachable(bool r) { reachable_ = r; }
    const std::vector<ParallelFrame> &frames() const { return frames_; }

    bool reachable() override { return reachable_; }
    void ParallelBegin(uint16_t port) override;
    void ParallelEnd(uint16_t port) override;
    void ParallelWriteByte(uint16_t port, uint8_t value) override;
    uint8_t ParallelReadByte(uint16_t port) override;
    void ParallelDelay(uint16_t port, int count) override;

private:
    ParallelFrame *current();

    SimChip &chip_;
    bool reachable_ = true;
    bool inFrame_ = false;
    int next_ = 0;  // next data address of the open frame
    std::vector<ParallelFrame> frames_;
};

} // namespace qx::sim
