#pragma once
// The PC's serial ports as the tool opens them: the opener of real ports,
// the port map, the set of ports opened in this run (OpenedPorts) and one
// handle per opened port, so returning to a port reuses its own handle and
// no handle is lost when the chip link moves to another port.
#include "transport/port_map.h"
#include "transport/serial_port_io.h"

#include <array>
#include <cstdint>
#include <memory>

namespace qx {

class Bench;

class SerialPorts {
public:
    SerialPorts(SerialPortOpener opener, PortMap map) : opener_(std::move(opener)), map_(std::move(map)) {}
    ~SerialPorts() { closeAll(); }
    SerialPorts(const SerialPorts &) = delete;
    SerialPorts &operator=(const SerialPorts &) = delete;

    // Bit i: the port of list index i ("COM" i+1) was opened in this run.
    uint32_t OpenedPorts = 0;

    PortMap &map() { return map_; }
    // Opens the named port through the map; nullptr when it cannot be opened.
    // Instrument links open their ports here (and close them themselves).
    std::shared_ptr<SerialPortIo> openByName(const QString &portName) const;
    // The handle kept for list index i (nullptr when not open).
    std::shared_ptr<SerialPortIo> handle(int index) const;
    void keep(int index, std::shared_ptr<SerialPortIo> port);
    // Program end: closes every kept handle.
    void closeAll();

private:
    SerialPortOpener opener_;
    PortMap map_;
    std::array<std::shared_ptr<SerialPortIo>, 32> handles_{};
};

// Opens the chip's serial port of channel 0 with the setup form's COM, baud
// and parity list indexes and reports the result in status panel 0:
// "Uart  not  found", or "RS232 COMn , Baud = <baud read back>, Pariyt = <parity>".
// A port opened before in this run is not reopened; only its line settings
// are rewritten.
void OpenChipPort(Bench &bench, SerialPorts &ports, int comIndex, int baudIndex, int parityIndex);

} // namespace qx
