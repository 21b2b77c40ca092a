#pragma once
// Register access to a PC parallel port, and the ways of getting it.
//
// Registers are named by their I/O address: data = base, status = base + 1,
// control = base + 2, extended control (ECR) = base + 0x402.
#include <cstdint>
#include <memory>

namespace qx {

constexpr uint16_t ParallelStatusOffset = 1;
constexpr uint16_t ParallelControlOffset = 2;
constexpr uint16_t ParallelEcrOffset = 0x402;

class PortIo {
public:
    virtual ~PortIo() = default;
    virtual uint8_t read(uint16_t address) = 0;
    virtual void write(uint16_t address, uint8_t value) = 0;
};

class PortAccess {
public:
    virtual ~PortAccess() = default;
    // Direct register access to the port at `base`; nullptr when the process
    // is not permitted (or the machine has no port I/O instructions).
    virtual std::unique_ptr<PortIo> openDirect(uint16_t base) = 0;
    // The port through the kernel's parallel-port driver; nullptr when that
    // port is not there or cannot be claimed.
    virtual std::unique_ptr<PortIo> openKernelPort(uint16_t base) = 0;
};

// ioperm + inb/outb for direct access, ppdev (/dev/parport0..2 for 0x378,
// 0x278, 0x3BC) for the kernel driver.
std::unique_ptr<PortAccess> MakeSystemPortAccess();

} // namespace qx
