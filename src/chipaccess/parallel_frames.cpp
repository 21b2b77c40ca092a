// Chip frames over the parallel-port adapter: C0 lo hi then the data bytes
// clocked in (read), or 40 lo hi and the data clocked out (write), each
// byte followed by the bus delay.
#include "chipaccess/qx_up.h"

#include "device/base_utils.h"
#include "device/bench.h"
#include "transport/parallel_link.h"

namespace qx {

bool TQx_UP::parallelReady()
{
    if (parallel_ && parallel_->reachable())
        return true;
    bench_.status.show(1, "Parallel port not found");
    return false;
}

namespace {

// One byte to the chip followed by the bus delay.
void putByte(ParallelLink &link, uint16_t port, uint8_t b)
{
    link.ParallelWriteByte(port, b);
    link.ParallelDelay(port, TQx_UP::ParallelDelayCount);
}

// Opens the frame and sends its command byte (0xC0 read, 0x40 write) and
// the address, low byte first.
void frameHead(ParallelLink &link, uint16_t port, uint8_t command, int address)
{
    link.ParallelBegin(port);
    putByte(link, port, command);
    putByte(link, port, uint8_t(address & 0xFF));
    putByte(link, port, uint8_t((address >> 8) & 0xFF));
}

} // namespace

bool TQx_UP::readParallel(int address, int count)
{
    if (!parallelReady())
        return false;
    ParallelLink &link = *parallel_;
    const uint16_t port = bench_.ParallelPortBase;
    frameHead(link, port, 0xC0, address);
    uint8_t *fb = frame();
    for (int i = 0; i < count; ++i) {
        fb[i] = link.ParallelReadByte(port);
        link.ParallelDelay(port, ParallelDelayCount);
    }
    link.ParallelEnd(port);
    DelayMs(bench_.clock, UsbSettleMs);
    return true;
}

bool TQx_UP::writeParallel(int address, int count)
{
    if (!parallelReady())
        return false;
    ParallelLink &link = *parallel_;
    const uint16_t port = bench_.ParallelPortBase;
    const uint8_t *fb = frame();
    frameHead(link, port, 0x40, address);
    for (int i = 0; i < count; ++i)
        putByte(link, port, fb[5 + i]);
    link.ParallelEnd(port);
    DelayMs(bench_.clock, UsbSettleMs);
    return true;
}

} // namespace qx
