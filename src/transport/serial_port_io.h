#pragma once
// An open serial port as the chip link and the instrument links use it:
// line settings, a status query that reports line errors and the receive
// queue, non-blocking reads, writes and the DTR line. The Qt SerialPort
// implementation serves real ports and ptys; tests use a fake.
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace qx {

class Clock;

// Line-error bits of a status query.
namespace LineError {
constexpr uint32_t Parity = 0x01;
constexpr uint32_t Framing = 0x02;
constexpr uint32_t Overrun = 0x04;
constexpr uint32_t Break = 0x08;
constexpr uint32_t Io = 0x10;  // the port itself failed (read/write/resource error)
}

// Line settings in the codes of the device record: parity 0 none, 1 odd,
// 2 even; stop bits 0 one, 1 one and a half, 2 two.
struct SerialLineSettings {
    int32_t BaudRate = 0;
    uint16_t ByteSize = 8;
    uint16_t Parity = 0;
    uint16_t StopBits = 0;
    bool operator==(const SerialLineSettings &) const = default;
};

class SerialPortIo {
public:
    virtual ~SerialPortIo() = default;
    // The settings the port has now (what it accepted).
    virtual SerialLineSettings settings() const = 0;
    // Applies each setting; false when the port refused any of them (the
    // accepted ones stay applied).
    virtual bool applySettings(const SerialLineSettings &s) = 0;
    // Line errors since the last call (cleared by the call) and the number
    // of bytes waiting in the receive queue.
    virtual uint32_t takeStatus(int &queued) = 0;
    // Writes n bytes; returns the number written.
    virtual int write(const uint8_t *data, int n) = 0;
    // Takes at most `max` of the bytes already waiting; never blocks.
    virtual int read(uint8_t *data, int max) = 0;
    virtual bool setDtr(bool on) = 0;
    virtual void close() = 0;
};

// Opens a serial device by path for reading and writing, exclusively;
// nullptr when it does not exist or cannot be opened.
using SerialPortOpener = std::function<std::shared_ptr<SerialPortIo>(const QString &devicePath)>;

// Opener of real ports through Qt SerialPort. Writes drain within a bound
// measured on `clock`.
SerialPortOpener QtSerialPortOpener(Clock &clock);

} // namespace qx
