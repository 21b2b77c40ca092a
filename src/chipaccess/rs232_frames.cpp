// Chip frames over the chip's own serial port: a 0x55 -> 0xAA handshake
// before every frame, then C0 lo hi n (read) or 40 lo hi n data (write).
#include "chipaccess/qx_up.h"

#include "device/base_utils.h"
#include "device/bench.h"
#include "transport/serial_port_io.h"
#include "transport/serial_queue.h"

#include <array>
#include <cstring>

namespace qx {

namespace {
constexpr uint8_t Hello = 0x55;
constexpr uint8_t Ack = 0xAA;
constexpr int HandshakeAttempts = 3;
} // namespace

void TQx_UP::showLineErrors(bool clearWhenNone)
{
    const uint32_t e = bench_.SerialLine.errors;
    if (e == LineError::Parity)
        bench_.status.show(1, "Parity Fail");
    else if (e == 0 && clearWhenNone)
        bench_.status.show(1, QString());
    else if (e != 0 && clearWhenNone)
        bench_.status.show(1, "Other Err");
}

// One hello and its answer. The answer is read into a scratch buffer, not
// into FrameBuffer, so it can never disturb data already placed there.
bool TQx_UP::rs232Handshake(STND &dev)
{
    SerialPortIo &port = *dev.Serial.Handle;
    SerialLineState &line = bench_.SerialLine;
    SerialSend(port, line, &Hello, 1);
    SerialWaitInput(port, line, bench_.clock, 1, HandshakeWaitMs);
    showLineErrors(false);
    std::array<uint8_t, 16> answer{};
    const int n = SerialReceive(port, line, answer.data(), int(answer.size()));
    return n > 0 && answer[0] == Ack;
}

bool TQx_UP::readRs232(STND &dev, int address, int count)
{
    auto open = [&dev] { return dev.Serial.IsOpen && dev.Serial.Handle; };
    SerialLineState &line = bench_.SerialLine;
    bool ready = false;
    for (int attempt = 0; attempt < HandshakeAttempts && !ready; ++attempt) {
        if (dev.Serial.Handle)
            SerialDiscard(*dev.Serial.Handle, line);
        if (!open())
            return false;
        ready = rs232Handshake(dev);
        if (!ready)
            DelayMs(bench_.clock, SerialRetryMs);
    }
    if (!ready || !open())
        return false;

    SerialPortIo &port = *dev.Serial.Handle;
    uint8_t *fb = frame();
    fb[0] = 0xC0;
    fb[1] = uint8_t(address & 0xFF);
    fb[2] = uint8_t((address >> 8) & 0xFF);
    fb[3] = uint8_t(count & 0xFF);
    SerialSend(port, line, fb, 4);
    SerialWaitInput(port, line, bench_.clock, count, SerialRetryMs);
    showLineErrors(true);

    if (line.queued > 0) {
        // Only the bytes asked for are kept; a peer that sends more cannot
        // run past the frame buffer (the surplus is dropped).
        const int got = SerialReceive(port, line, fb, count);
        if (got == count) {
            DelayMs(bench_.clock, SerialSettleMs);
            return true;
        }
        // Fewer bytes than asked for within the wait: the rest of the
        // buffer would be stale, so the read fails.
        bench_.status.show(1, "Data Short");
    } else {
        bench_.status.show(1, "Data Empty");
    }
    DelayMs(bench_.clock, SerialRetryMs);
    return false;
}

bool TQx_UP::writeRs232(STND &dev, int address, int count)
{
    if (!dev.Serial.IsOpen || !dev.Serial.Handle)
        return false;
    SerialPortIo &port = *dev.Serial.Handle;
    SerialLineState &line = bench_.SerialLine;
    SerialDiscard(port, line);
    if (!rs232Handshake(dev)) {
        DelayMs(bench_.clock, SerialRetryMs);
        return false;
    }

    uint8_t *fb = frame();
    std::memmove(fb + 4, fb + 5, size_t(count));
    fb[0] = 0x40;
    fb[1] = uint8_t(address & 0xFF);
    fb[2] = uint8_t((address >> 8) & 0xFF);
    fb[3] = uint8_t(count & 0xFF);
    SerialSend(port, line, fb, count + 4);
    SerialWaitInput(port, line, bench_.clock, 1, HandshakeWaitMs);
    showLineErrors(false);
    if (line.queued > 0) {
        SerialReceive(port, line, fb, FrameBufferSize);
        if (fb[0] != Ack) {
            DelayMs(bench_.clock, SerialRetryMs);
            return false;
        }
        DelayMs(bench_.clock, SerialSettleMs);
        return true;
    }
    DelayMs(bench_.clock, SerialSettleMs);
    return false;
}

} // namespace qx
