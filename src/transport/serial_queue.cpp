#include "transport/serial_queue.h"

#include "core/clock.h"
#include "transport/serial_port_io.h"

#include <array>

namespace qx {

uint32_t SerialQuery(SerialPortIo &port, SerialLineState &line)
{
    int queued = 0;
    line.errors = port.takeStatus(queued);
    line.queued = queued;
    return line.errors;
}

namespace {
// Takes `n` waiting bytes from the queue and forgets them.
void dropBytes(SerialPortIo &port, int n)
{
    std::array<uint8_t, 256> scratch{};
    while (n > 0) {
        const int got = port.read(scratch.data(), std::min<int>(n, int(scratch.size())));
        if (got <= 0)
            break;
        n -= got;
    }
}
} // namespace

void SerialDiscard(SerialPortIo &port, SerialLineState &line)
{
    SerialQuery(port, line);
    dropBytes(port, line.queued);
    line.read = 0;
}

bool SerialSend(SerialPortIo &port, SerialLineState &line, const uint8_t *data, int n)
{
    line.written = port.write(data, n);
    return line.written == n;
}

bool SerialWaitInput(SerialPortIo &port, SerialLineState &line, Clock &clock, int atLeast, int64_t limitMs)
{
    uint32_t seen = 0;
    const int64_t start = clock.nowMs();
    for (;;) {
        seen |= SerialQuery(port, line);
        if (line.queued >= atLeast || elapsedBeyond(clock, start, limitMs))
            break;
        clock.sleepMs(1);
    }
    line.errors = seen;
    return line.queued >= atLeast;
}

int SerialReceive(SerialPortIo &port, SerialLineState &line, uint8_t *buffer, int capacity)
{
    int queued = 0;
    line.errors |= port.takeStatus(queued);
    line.queued = queued;
    const int stored = port.read(buffer, std::min(queued, std::max(capacity, 0)));
    dropBytes(port, queued - stored);
    line.read = stored;
    line.queued = 0;
    return stored;
}

} // namespace qx
