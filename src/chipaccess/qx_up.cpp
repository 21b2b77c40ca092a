// Dispatch by interface type, the mirror, and the single-register write.
#include "chipaccess/qx_up.h"

#include "chipaccess/access_guard.h"
#include "device/base_utils.h"
#include "device/bench.h"
#include "transport/usb_transport.h"

#include <algorithm>
#include <cstring>

namespace qx {

TQx_UP::TQx_UP(Bench &bench, UsbTransport *usb, ParallelLink *parallel) : bench_(bench), parallel_(parallel)
{
    setUsbTransport(usb);
}

TQx_UP::~TQx_UP()
{
    if (usb_)
        usb_->setCommands({});
}

void TQx_UP::setUsbTransport(UsbTransport *usb)
{
    if (usb_ && usb_ != usb)
        usb_->setCommands({});
    usb_ = usb;
    if (!usb_)
        return;
    // The bridge search runs these frames while the caller holds the access
    // (USBConnect, the poll timer's reconnect), so they go unguarded.
    UsbTransport::Commands c;
    c.identify = [this](Devc &d) { return identify(d); };
    c.setting = [this](Devc &d, int n, uint16_t value, uint16_t &answer) { return setting(d, n, value, answer); };
    usb_->setCommands(std::move(c));
}

STND *TQx_UP::deviceFor(int channel) const
{
    return bench_.DeviceTable.channel(channel);
}

uint8_t *TQx_UP::frame()
{
    return bench_.FrameBuffer.data();
}

uint8_t TQx_UP::ReadMirror(int address, int channel) const
{
    const STND *dev = deviceFor(channel);
    if (!dev || address < 0 || address >= MirrorSize)
        return 0;
    return dev->Mirror[size_t(address)];
}

void TQx_UP::WriteMirror(int address, uint8_t value, int channel)
{
    STND *dev = deviceFor(channel);
    if (!dev || address < 0 || address >= MirrorSize)
        return;
    dev->Mirror[size_t(address)] = value;
}

void TQx_UP::UpdateViews(int address, uint8_t value, int channel)
{
    WriteMirror(address, value, channel);
    views_.refreshAll();
}

bool TQx_UP::readChip(STND &dev, int address, int count)
{
    if (count < 1 || count > MaxTransfer)
        return false;
    switch (dev.interface()) {
    case InterfaceKind::RS232: return readRs232(dev, address, count);
    case InterfaceKind::SPI:
    case InterfaceKind::Special:
    case InterfaceKind::UART:
    case InterfaceKind::DMM: return readUsb(dev, address, count);
    case InterfaceKind::Parallel: return readParallel(address, count);
    }
    return false;
}

bool TQx_UP::writeChip(STND &dev, int address, int count)
{
    if (count < 1 || count > MaxTransfer)
        return false;
    switch (dev.interface()) {
    case InterfaceKind::RS232: return writeRs232(dev, address, count);
    case InterfaceKind::SPI:
    case InterfaceKind::Special:
    case InterfaceKind::UART:
    case InterfaceKind::DMM: return writeUsb(dev, address, count);
    case InterfaceKind::Parallel: return writeParallel(address, count);
    }
    return false;
}

bool TQx_UP::ReadChipBlock(int address, int count, int channel)
{
    AccessGuard guard(*this);
    STND *dev = deviceFor(channel);
    return guard.acquired() && dev && readChip(*dev, address, count);
}

bool TQx_UP::WriteChipBlock(int address, int count, int channel)
{
    AccessGuard guard(*this);
    STND *dev = deviceFor(channel);
    return guard.acquired() && dev && writeChip(*dev, address, count);
}

std::optional<std::vector<uint8_t>> TQx_UP::readBlock(int address, int count, int channel)
{
    if (!ReadChipBlock(address, count, channel))
        return std::nullopt;
    return std::vector<uint8_t>(bench_.FrameBuffer.begin(), bench_.FrameBuffer.begin() + count);
}

bool TQx_UP::writeBlock(int address, std::span<const uint8_t> data, int channel)
{
    const STND *dev = deviceFor(channel);
    if (!dev || busy_ || data.empty() || data.size() > size_t(MaxTransfer))
        return false;
    const size_t at = dev->interface() == InterfaceKind::DMM ? 4 : 5;
    std::copy(data.begin(), data.end(), bench_.FrameBuffer.begin() + ptrdiff_t(at));
    return WriteChipBlock(address, int(data.size()), channel);
}

bool TQx_UP::WriteChipByte(int address, uint8_t value, int channel)
{
    AccessGuard guard(*this);
    STND *dev = deviceFor(channel);
    if (!guard.acquired() || !dev)
        return false;
    uint8_t *fb = frame();

    if (dev->interface() == InterfaceKind::DMM) {
        fb[4] = value;
        if (!writeChip(*dev, address, 1) || !readChip(*dev, address, 1))
            return false;
        const uint8_t readBack = fb[0];
        guard.release();  // the Program Counter refresh reads the chip itself
        UpdateViews(address, readBack, channel);
        return true;
    }

    if (dev->interface() == InterfaceKind::UART && !uartLinkSetup(dev->Usb))
        return false;

    uint8_t stored = 0;
    fb[5] = value;
    if (address == 0x31 || address == 0x32) {
        // Clock set-up registers: the chip needs a second before it reads back.
        writeChip(*dev, address, 1);
        DelayMs(bench_.clock, ClockRegisterSettleMs);
        if (!readChip(*dev, address, 1))
            return false;
        stored = fb[0];
    } else if (address == 0x1B) {
        // 0x1B goes to the chip together with 0x1A; it reads as 0.
        fb[5] = ReadMirror(0x1A, 0);
        fb[6] = value;
        if (!writeChip(*dev, 0x1A, 2))
            return false;
        stored = 0;
    } else {
        if (!writeChip(*dev, address, 1) || !readChip(*dev, address, 1))
            return false;
        stored = fb[0];
    }

    guard.release();
    UpdateViews(address, stored, channel);

    std::array<uint8_t, 6> *shadow = nullptr;
    if (bench_.ComFun == AdcFunction::Scale)
        shadow = &bench_.ScaleShadow;
    else if (bench_.ComFun == AdcFunction::DMM)
        shadow = &bench_.DmmShadow;
    if (shadow) {
        if (address >= 0x3C && address <= 0x40)
            (*shadow)[size_t(address - 0x3C)] = value;
        else if (address == 0x30)
            (*shadow)[5] = value;
    }
    return true;
}

} // namespace qx
