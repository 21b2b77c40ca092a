#include "transport/parallel_port.h"

namespace qx {

namespace {

constexpr uint8_t DataBit = 0x01;
constexpr uint8_t FrameBit = 0x02;
constexpr uint8_t ClockBit = 0x08;
constexpr uint8_t StatusDataBit = 0x40;

} // namespace

bool ParallelPort::ParallelOpen(uint16_t base)
{
    if (io_ && base == base_)
        return true;
    io_.reset();
    base_ = base;
    if (mode_ == Mode::Unset) {
        io_ = access_.openDirect(base);
        mode_ = io_ ? Mode::Direct : Mode::KernelDriver;
        if (!io_)
            io_ = access_.openKernelPort(base);
    } else if (mode_ == Mode::Direct) {
        io_ = access_.openDirect(base);
    } else {
        io_ = access_.openKernelPort(base);
    }
    return io_ != nullptr;
}

void ParallelPort::ParallelInit(uint16_t base)
{
    if (!ParallelOpen(base))
        return;
    if (base != Lpt1Base && base != Prn1Base && base != Lpt2Base)
        return;
    const uint16_t ecr = base + ParallelEcrOffset;
    const uint16_t control = base + ParallelControlOffset;
    PortWrite(ecr, uint8_t((PortRead(ecr) & ~0xE0) | 0x20));
    PortWrite(base, 0);
    PortWrite(control, uint8_t((PortRead(control) & 0xD0) | 0x06));
}

uint8_t ParallelPort::PortRead(uint16_t address)
{
    return io_ ? io_->read(address) : uint8_t(address & 0xFF);
}

void ParallelPort::PortWrite(uint16_t address, uint8_t value)
{
    if (io_)
        io_->write(address, value);
}

bool ParallelPort::reachable()
{
    return ParallelOpen(base_);
}

void ParallelPort::select(uint16_t port)
{
    if (port != base_ || !io_)
        ParallelOpen(port);
}

void ParallelPort::ParallelBegin(uint16_t port)
{
    select(port);
    const uint16_t control = port + ParallelControlOffset;
    uint8_t c = uint8_t((PortRead(control) | FrameBit) & ~(ClockBit | DataBit));
    PortWrite(control, c);
    c &= uint8_t(~FrameBit);
    PortWrite(control, c);
}

void ParallelPort::ParallelEnd(uint16_t port)
{
    select(port);
    const uint16_t control = port + ParallelControlOffset;
    PortWrite(control, uint8_t(PortRead(control) | FrameBit));
}

void ParallelPort::ParallelWriteByte(uint16_t port, uint8_t value)
{
    select(port);
    const uint16_t control = port + ParallelControlOffset;
    uint8_t c = PortRead(control);
    for (int bit = 7; bit >= 0; --bit) {
        c = uint8_t((c & ~DataBit) | ((value >> bit) & 1));
        PortWrite(control, c);
        c |= ClockBit;
        PortWrite(control, c);
        c &= uint8_t(~ClockBit);
        PortWrite(control, c);
    }
}

uint8_t ParallelPort::ParallelReadByte(uint16_t port)
{
    select(port);
    const uint16_t control = port + ParallelControlOffset;
    const uint16_t status = port + ParallelStatusOffset;
    uint8_t c = PortRead(control);
    uint8_t result = 0;
    for (int i = 0; i < 8; ++i) {
        c |= ClockBit;
        PortWrite(control, c);
        result = uint8_t((result << 1) | ((PortRead(status) & StatusDataBit) ? 1 : 0));
        c &= uint8_t(~ClockBit);
        PortWrite(control, c);
    }
    return result;
}

void ParallelPort::ParallelDelay(uint16_t port, int count)
{
    select(port);
    for (int i = 0; i <= count; ++i)
        PortRead(port);
}

} // namespace qx
