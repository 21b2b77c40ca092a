#pragma once
// The device record of a channel (STND) with its mirror of chip memory, the
// serial and USB link records inside it, and the device table.
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace qx {

class SerialPortIo;  // an open serial port (transport)
class BridgeIo;      // an open USB bridge (transport)

constexpr int MirrorSize = 1024;
constexpr int CaptureLength = 65536;
constexpr int FrameBufferSize = 260;

enum class InterfaceKind : uint16_t { RS232 = 0, SPI = 1, Special = 2, Parallel = 3, UART = 4, DMM = 5 };
// The setup form's interface list texts, indexed by InterfaceType.
const std::array<const char *, 6> &InterfaceNames();

// An open serial port and its line settings: the chip's own link and every
// instrument port. For an instrument, IsOpen is its "selected" flag.
struct DevcRS232 {
    std::shared_ptr<SerialPortIo> Handle;
    QString PortName;
    uint8_t IsOpen = 0;
    int32_t BaudRate = 0;
    uint16_t ByteSize = 8;
    uint16_t Parity = 0;    // 0 none, 1 odd, 2 even
    uint16_t StopBits = 0;  // 0 = one stop bit
    // Meter links only: scan-time choice (0..5) and continuous-save flag.
    uint8_t ScanTime = 0;
    uint8_t ContinuousSave = 0;
};

struct UsbPipe {
    uint16_t MaxPacket = 0;
    uint8_t Address = 0;
};

// The USB bridge record.
struct Devc {
    std::shared_ptr<BridgeIo> Handle;
    QString DeviceName;                        // "QxUSB-n" for a bulk bridge
    std::array<uint8_t, 148> DeviceDescriptor{};
    UsbPipe InPipe;
    UsbPipe OutPipe;
    uint8_t Connected = 0;
};

// Device record of one channel.
struct STND {
    uint16_t ChipIndex = 0;
    double NoiseMean = 0;
    double NoiseVppNV = 0;
    double NoiseRmsNV = 0;
    double NoiseEnob = 0;
    double NoiseVppCount = 0;
    double NoiseRmsCount = 0;
    double NoiseFreeBits = 0;
    std::vector<double> CaptureSeriesA = std::vector<double>(CaptureLength, 0.0);
    std::vector<double> CaptureSeriesB = std::vector<double>(CaptureLength, 0.0);
    std::array<uint8_t, MirrorSize> Mirror{};
    uint16_t InterfaceType = 0;
    int32_t BaudIndex = 0;
    int32_t ComIndex = 0;
    int32_t ParityIndex = 0;
    DevcRS232 Serial;
    Devc Usb;

    InterfaceKind interface() const { return InterfaceKind(InterfaceType); }
};

// The table of device records. The tool drives one chip, so the table holds
// channel 0 only; every other channel index is refused (nullptr).
class DeviceTable {
public:
    static constexpr int Channels = 1;
    STND *channel(int index) { return valid(index) ? &records_[size_t(index)] : nullptr; }
    const STND *channel(int index) const { return valid(index) ? &records_[size_t(index)] : nullptr; }
    static bool valid(int index) { return index >= 0 && index < Channels; }
private:
    std::array<STND, Channels> records_{};
};

// Per-address tables of the views.
using AddressTable = std::array<uint8_t, MirrorSize>;

} // namespace qx
