#pragma once
// The queue operations the RS232 chip frames and the instrument links are
// built from. Each updates the shared line-state block.
#include "device/bench.h"

#include <cstdint>

namespace qx {

class Clock;
class SerialPortIo;

// Line errors (cleared by the query) and the receive-queue count.
uint32_t SerialQuery(SerialPortIo &port, SerialLineState &line);
// Query, then read exactly the waiting bytes and drop them.
void SerialDiscard(SerialPortIo &port, SerialLineState &line);
// Writes n bytes; true when all went out.
bool SerialSend(SerialPortIo &port, SerialLineState &line, const uint8_t *data, int n);
// Queries until at least `atLeast` bytes wait or `limitMs` has passed.
// line.errors collects every error seen while waiting. True when enough wait.
bool SerialWaitInput(SerialPortIo &port, SerialLineState &line, Clock &clock, int atLeast, int64_t limitMs);
// Reads the waiting bytes, at most `capacity` of them into `buffer`; what
// does not fit is taken from the queue and dropped, so a chatty peer can
// never write past the buffer. Returns the number stored.
int SerialReceive(SerialPortIo &port, SerialLineState &line, uint8_t *buffer, int capacity);

} // namespace qx
