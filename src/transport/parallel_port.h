#pragma once
// The parallel-port adapter of the chip: a clocked serial link on a PC
// parallel port.
//
//   control bit 0  data to the chip
//   control bit 1  frame line (high between frames)
//   control bit 3  clock
//   status bit 6   data from the chip
//
// Bytes go most significant bit first, one clock pulse per bit. The port is
// reached by direct register access where the process may, otherwise through
// the kernel's parallel-port driver; which of the two is used is decided by
// the first open and kept for the run.
//
// A port that cannot be reached makes reachable() false, so the frames built
// on this link fail instead of reporting success on a dead port.
#include "transport/parallel_link.h"
#include "transport/port_io.h"

#include <memory>

namespace qx {

constexpr uint16_t Lpt1Base = 0x378;
constexpr uint16_t Lpt2Base = 0x278;
constexpr uint16_t Prn1Base = 0x3BC;

class ParallelPort final : public ParallelLink {
public:
    enum class Mode { Unset, Direct, KernelDriver };

    explicit ParallelPort(PortAccess &access) : access_(access) {}

    // Opens the port at `base` (closing another one that was open); true when
    // it can be reached. The first call fixes the mode.
    bool ParallelOpen(uint16_t base);
    // Opens the port and, for the three known bases, puts it in byte mode
    // with data 0 and the frame line high.
    void ParallelInit(uint16_t base);

    // Single register access to the open port. Without a port a read gives
    // the low byte of the address and a write does nothing.
    uint8_t PortRead(uint16_t address);
    void PortWrite(uint16_t address, uint8_t value);

    // The port chosen last (0x378 until one is chosen), opened on demand.
    bool reachable() override;
    void ParallelBegin(uint16_t port) override;
    void ParallelEnd(uint16_t port) override;
    void ParallelWriteByte(uint16_t port, uint8_t value) override;
    uint8_t ParallelReadByte(uint16_t port) override;
    // One delay unit is one read of the data register.
    void ParallelDelay(uint16_t port, int count) override;

    Mode mode() const { return mode_; }
    uint16_t base() const { return base_; }

private:
    void select(uint16_t port);

    PortAccess &access_;
    Mode mode_ = Mode::Unset;
    uint16_t base_ = Lpt1Base;
    std::unique_ptr<PortIo> io_;
};

} // namespace qx
