// Qt SerialPort behind SerialPortIo. Qt reports no parity or framing errors
// any more, so line errors come from the kernel's serial counters
// (TIOCGICOUNT) where the driver keeps them; ptys do not, and report none.
#include "core/clock.h"
#include "transport/serial_port_io.h"

#include <QSerialPort>

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace qx {

namespace {

QSerialPort::Parity toQt(uint16_t parity)
{
    switch (parity) {
    case 1: return QSerialPort::OddParity;
    case 2: return QSerialPort::EvenParity;
    default: return QSerialPort::NoParity;
    }
}

uint16_t fromQt(QSerialPort::Parity p)
{
    switch (p) {
    case QSerialPort::OddParity: return 1;
    case QSerialPort::EvenParity: return 2;
    default: return 0;
    }
}

QSerialPort::StopBits stopsToQt(uint16_t s)
{
    switch (s) {
    case 1: return QSerialPort::OneAndHalfStop;
    case 2: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
    }
}

uint16_t stopsFromQt(QSerialPort::StopBits s)
{
    switch (s) {
    case QSerialPort::OneAndHalfStop: return 1;
    case QSerialPort::TwoStop: return 2;
    default: return 0;
    }
}

class QtSerialPortIo final : public SerialPortIo {
public:
    QtSerialPortIo(Clock &clock, const QString &path) : clock_(clock) { port_.setPortName(path); }

    bool open()
    {
        if (!port_.open(QIODevice::ReadWrite))
            return false;
        readCounters(last_);
        return true;
    }

    SerialLineSettings settings() const override
    {
        SerialLineSettings s;
        s.BaudRate = port_.baudRate();
        s.ByteSize = uint16_t(port_.dataBits());
        s.Parity = fromQt(port_.parity());
        s.StopBits = stopsFromQt(port_.stopBits());
        return s;
    }

    bool applySettings(const SerialLineSettings &s) override
    {
        bool ok = port_.setBaudRate(s.BaudRate);
        ok = port_.setDataBits(QSerialPort::DataBits(s.ByteSize)) && ok;
        ok = port_.setParity(toQt(s.Parity)) && ok;
        ok = port_.setStopBits(stopsToQt(s.StopBits)) && ok;
        port_.clearError();
        return ok;
    }

    uint32_t takeStatus(int &queued) override
    {
        uint32_t errors = 0;
        if (port_.isOpen())
            port_.waitForReadyRead(0);  // move what the kernel holds into the queue
        switch (port_.error()) {
        case QSerialPort::NoError:
        case QSerialPort::TimeoutError:
            break;
        default:
            errors |= LineError::Io;
        }
        port_.clearError();
        serial_icounter_struct now{};
        if (readCounters(now)) {
            if (now.parity != last_.parity) errors |= LineError::Parity;
            if (now.frame != last_.frame) errors |= LineError::Framing;
            if (now.overrun != last_.overrun || now.buf_overrun != last_.buf_overrun) errors |= LineError::Overrun;
            if (now.brk != last_.brk) errors |= LineError::Break;
            last_ = now;
        }
        queued = int(port_.bytesAvailable());
        return errors;
    }

    int write(const uint8_t *data, int n) override
    {
        if (n <= 0 || !port_.isOpen())
            return 0;
        const qint64 put = port_.write(reinterpret_cast<const char *>(data), n);
        if (put < 0)
            return 0;
        // Drain within the time the bytes take on the line, plus a second.
        const int64_t bound = 1000 + int64_t(n) * 11 * 1000 / std::max<int32_t>(port_.baudRate(), 1);
        const int64_t start = clock_.nowMs();
        while (port_.bytesToWrite() > 0 && !elapsedBeyond(clock_, start, bound)) {
            if (!port_.waitForBytesWritten(0))
                clock_.sleepMs(1);
        }
        return port_.bytesToWrite() > 0 ? int(put - port_.bytesToWrite()) : int(put);
    }

    int read(uint8_t *data, int max) override
    {
        if (max <= 0 || !port_.isOpen())
            return 0;
        const qint64 take = std::min<qint64>(max, port_.bytesAvailable());
        const qint64 got = port_.read(reinterpret_cast<char *>(data), take);
        return got < 0 ? 0 : int(got);
    }

    bool setDtr(bool on) override { return port_.setDataTerminalReady(on); }
    void close() override { port_.close(); }

private:
    bool readCounters(serial_icounter_struct &c) const
    {
        return port_.isOpen() && ::ioctl(int(port_.handle()), TIOCGICOUNT, &c) == 0;
    }

    Clock &clock_;
    QSerialPort port_;
    serial_icounter_struct last_{};
};

} // namespace

SerialPortOpener QtSerialPortOpener(Clock &clock)
{
    return [&clock](const QString &path) -> std::shared_ptr<SerialPortIo> {
        auto port = std::make_shared<QtSerialPortIo>(clock, path);
        if (!port->open())
            return nullptr;
        return port;
    };
}

} // namespace qx
