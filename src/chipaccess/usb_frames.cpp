// Chip frames through the USB bridge: SPI, the compact Special frames, the
// bridge's UART relay and the DMM front end's register frames.
#include "chipaccess/qx_up.h"

#include "device/base_utils.h"
#include "device/bench.h"
#include "transport/usb_transport.h"

namespace qx {

namespace {
constexpr uint8_t SpiCommand = 0xB1, SpiIsolated = 0xBC;
constexpr uint8_t SpecialCommand = 0xBA, SpecialIsolated = 0xBE;
constexpr uint8_t UartRelay = 0xC1;
constexpr uint8_t DmmRegisters = 0xC2;
constexpr uint8_t UartReadDone = 0xFA;
constexpr uint8_t UartWriteDone = 0xAA;
} // namespace

bool TQx_UP::exchange(Devc &devc, int sendLength, int readLength)
{
    return usb_ && usb_->UsbWriteReport(devc, frame(), sendLength) && usb_->UsbReadReport(devc, frame(), readLength);
}

// A HID bridge moves one 64-byte report each way; a frame that does not fit
// would be cut (lost data) or answered with stale bytes, so it is refused.
bool TQx_UP::fitsOneReport(int sendLength, int readLength) const
{
    if (!usb_ || !usb_->HidMode)
        return true;
    return sendLength <= HidReportSize && readLength <= HidReportSize;
}

// MP202 and MP521 take the compact frame without the high address bits.
bool TQx_UP::specialModelMode() const
{
    const QString &model = bench_.chip.desc.productName;
    return model == "MP202" || model == "MP521";
}

bool TQx_UP::readUsb(STND &dev, int address, int count)
{
    uint8_t *fb = frame();
    const uint8_t lo = uint8_t(address & 0xFF);
    const uint8_t hi = uint8_t((address >> 8) & 0xFF);
    const uint8_t n = uint8_t(count & 0xFF);
    const bool opto = bench_.Photo;

    switch (dev.interface()) {
    case InterfaceKind::SPI:
    case InterfaceKind::Special: {
        if (!dev.Usb.Connected || !fitsOneReport(5, count))
            return false;
        if (dev.interface() == InterfaceKind::SPI) {
            fb[0] = opto ? SpiIsolated : SpiCommand;
            fb[1] = 0xC0;
            fb[2] = lo;
            fb[3] = hi;
        } else {
            fb[0] = opto ? SpecialIsolated : SpecialCommand;
            fb[1] = specialModelMode() ? 0xC0 : uint8_t(0x80 | ((hi << 2) & 0x7C));
            fb[2] = lo;
            fb[3] = n;
        }
        fb[4] = n;
        if (!exchange(dev.Usb, 5, count))
            return false;
        DelayMs(bench_.clock, UsbSettleMs);
        return true;
    }
    case InterfaceKind::UART:
        if (!fitsOneReport(5, count + 1))
            return false;
        fb[0] = UartRelay;
        fb[1] = 0x80;
        fb[2] = lo;
        fb[3] = hi;
        fb[4] = n;
        if (!exchange(dev.Usb, 5, count + 1))
            return false;
        DelayMs(bench_.clock, UsbSettleMs);
        return fb[count] == UartReadDone;
    case InterfaceKind::DMM:
        if (!fitsOneReport(4, count))
            return false;
        fb[0] = DmmRegisters;
        fb[1] = opto ? 1 : 0;
        fb[2] = uint8_t(((address * 2) & 0xFF) | 1);
        fb[3] = n;
        return exchange(dev.Usb, 4, count);
    default:
        return false;
    }
}

bool TQx_UP::writeUsb(STND &dev, int address, int count)
{
    uint8_t *fb = frame();
    const uint8_t lo = uint8_t(address & 0xFF);
    const uint8_t hi = uint8_t((address >> 8) & 0xFF);
    const uint8_t n = uint8_t(count & 0xFF);
    const bool opto = bench_.Photo;

    switch (dev.interface()) {
    case InterfaceKind::SPI:
    case InterfaceKind::Special:
        if (!fitsOneReport(count + 5, 1))
            return false;
        if (dev.interface() == InterfaceKind::SPI) {
            fb[0] = opto ? SpiIsolated : SpiCommand;
            fb[1] = 0x40;
            fb[2] = lo;
            fb[3] = hi;
        } else {
            fb[0] = opto ? SpecialIsolated : SpecialCommand;
            fb[1] = specialModelMode() ? 0x40 : uint8_t((hi << 2) & 0x7C);
            fb[2] = lo;
            fb[3] = n;
        }
        fb[4] = n;
        if (!exchange(dev.Usb, count + 5, 1))
            return false;
        DelayMs(bench_.clock, UsbSettleMs);
        return true;
    case InterfaceKind::UART:
        if (!fitsOneReport(count + 5, 1))
            return false;
        fb[0] = UartRelay;
        fb[1] = 0x00;
        fb[2] = lo;
        fb[3] = hi;
        fb[4] = n;
        if (!exchange(dev.Usb, count + 5, 1))
            return false;
        DelayMs(bench_.clock, UsbSettleMs);
        return fb[0] == UartWriteDone;
    case InterfaceKind::DMM:
        if (!fitsOneReport(count + 4, count))
            return false;
        fb[0] = DmmRegisters;
        fb[1] = opto ? 1 : 0;
        fb[2] = uint8_t((address * 2) & 0xFE);
        fb[3] = n;
        return exchange(dev.Usb, count + 4, count);
    default:
        return false;
    }
}

} // namespace qx
