#pragma once
// Byte-level operations of the parallel-port adapter that the Parallel
// frames of the chip access layer are built on.
#include <cstdint>

namespace qx {

class ParallelLink {
public:
    virtual ~ParallelLink() = default;
    // False when the port cannot be reached (frames then fail).
    virtual bool reachable() = 0;
    virtual void ParallelBegin(uint16_t port) = 0;
    virtual void ParallelEnd(uint16_t port) = 0;
    virtual void ParallelWriteByte(uint16_t port, uint8_t value) = 0;
    virtual uint8_t ParallelReadByte(uint16_t port) = 0;
    virtual void ParallelDelay(uint16_t port, int count) = 0;
};

} // namespace qx
