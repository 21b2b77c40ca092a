#include "transport/serial_ports.h"

#include "device/bench.h"
#include "transport/serial_lookups.h"

namespace qx {

std::shared_ptr<SerialPortIo> SerialPorts::openByName(const QString &portName) const
{
    const QString path = map_.devicePath(portName);
    if (path.isEmpty() || !opener_)
        return nullptr;
    return opener_(path);
}

std::shared_ptr<SerialPortIo> SerialPorts::handle(int index) const
{
    return index >= 0 && index < int(handles_.size()) ? handles_[size_t(index)] : nullptr;
}

void SerialPorts::keep(int index, std::shared_ptr<SerialPortIo> port)
{
    if (index >= 0 && index < int(handles_.size()))
        handles_[size_t(index)] = std::move(port);
}

void SerialPorts::closeAll()
{
    for (auto &h : handles_) {
        if (h)
            h->close();
        h.reset();
    }
}

void OpenChipPort(Bench &bench, SerialPorts &ports, int comIndex, int baudIndex, int parityIndex)
{
    STND &dev = bench.device();
    DevcRS232 &serial = dev.Serial;
    dev.ComIndex = comIndex;
    dev.BaudIndex = baudIndex;
    dev.ParityIndex = parityIndex;
    serial.PortName = GetCOMString(comIndex);
    serial.Parity = GetParity(parityIndex);
    serial.BaudRate = BaudRateValue(baudIndex);
    serial.StopBits = 0;
    serial.ByteSize = 8;

    const bool known = comIndex >= 0 && comIndex < 32;
    std::shared_ptr<SerialPortIo> port;
    if (known && (ports.OpenedPorts & (1u << comIndex)))
        port = ports.handle(comIndex);
    if (!port) {
        port = serial.PortName.isEmpty() ? nullptr : ports.openByName(serial.PortName);
        if (!port) {
            serial.Handle.reset();
            serial.IsOpen = 0;
            bench.status.show(0, "Uart  not  found");
            return;
        }
        ports.OpenedPorts |= 1u << comIndex;
        ports.keep(comIndex, port);
    }
    serial.Handle = port;
    serial.IsOpen = 1;

    SerialLineSettings s = port->settings();
    s.BaudRate = serial.BaudRate;
    s.ByteSize = serial.ByteSize;
    s.Parity = serial.Parity;
    s.StopBits = serial.StopBits;
    port->applySettings(s);
    // Report what the port took: a pty, for one, refuses parity.
    const SerialLineSettings now = port->settings();
    bench.status.show(0, QString("RS232 %1 , Baud = %2, Pariyt = %3")
                             .arg(serial.PortName)
                             .arg(now.BaudRate)
                             .arg(GetParityText(ParityIndexOfCode(now.Parity))));
}

} // namespace qx
