#include "transport/usb_bridge.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qx {

namespace {

uint16_t le16(const uint8_t *p) { return uint16_t(p[0] | (p[1] << 8)); }

// Report length as the bridge gives it, or the standard 65 (id + 64) when it
// gives none; never more than a sane maximum so a confused device cannot make
// us allocate without bound.
int reportLength(uint16_t given)
{
    constexpr int Standard = 1 + HidReportData;
    constexpr int Largest = 1 + 1024;
    return given == 0 ? Standard : std::min<int>(given, Largest);
}

// The open device behind the record; nullptr when there is none (or the
// record holds a handle of another transport).
BridgeDevice *deviceOf(const Devc &devc)
{
    return dynamic_cast<BridgeDevice *>(devc.Handle.get());
}

} // namespace

UsbBridge::UsbBridge(std::unique_ptr<BulkBridgeBackend> bulk, std::unique_ptr<HidBridgeBackend> hid)
    : bulk_(std::move(bulk)), hid_(std::move(hid))
{
}

bool UsbBridge::setting(Devc &devc, int n, uint16_t value, uint16_t &answer)
{
    return commands_.setting && commands_.setting(devc, n, value, answer);
}

bool UsbBridge::UsbOpen(Devc &devc, uint8_t &status)
{
    status = 0xFF;
    if (devc.Handle && commands_.identify && commands_.identify(devc)) {
        status = 0;
        return true;
    }
    // A connected bridge that stopped answering is searched again only after
    // UsbClose has reset the record.
    if (devc.Connected)
        return false;

    if (bulk_) {
        for (int number = 0; number < BulkBridgeCount; ++number)
            if (tryBulk(devc, number, status))
                return true;
    }
    if (hid_) {
        for (int index = 0; index < HidBridgeCount; ++index)
            if (tryHid(devc, index, status))
                return true;
    }
    return false;
}

bool UsbBridge::tryBulk(Devc &devc, int number, uint8_t &status)
{
    devc.DeviceName = QStringLiteral("QxUSB-%1").arg(number);
    std::shared_ptr<BulkBridgeDevice> io = bulk_->openBulk(number);
    if (!io) {
        UsbClose(devc);
        return false;
    }
    devc.Handle = io;
    // Transfers to this candidate go out as bulk transfers, even when a HID
    // bridge was accepted earlier in the run.
    HidMode = 0;
    DescriptorBlock block{};
    bool identified = io->readDescriptor(block);
    if (identified) {
        devc.DeviceDescriptor = block;
        identified = le16(&block[8]) == BulkVendorId && le16(&block[10]) == BulkProductId;
    }
    if (identified) {
        uint16_t answer = 0;
        if (io->readPipe(0, devc.InPipe) && io->readPipe(1, devc.OutPipe)
            && setting(devc, 2, 0, answer) && answer == UnassignedBridge) {
            devc.Connected = 1;
            setting(devc, 1, uint16_t(number), answer);
            setting(devc, 4, answer, answer);
            status = 1;
            initialisationExchange(devc);
            return true;
        }
    }
    UsbClose(devc);
    return false;
}

bool UsbBridge::tryHid(Devc &devc, int index, uint8_t &status)
{
    bool found = false;
    std::shared_ptr<HidBridgeDevice> io = hid_->openHid(index, found);
    if (!found || !io)
        return false;
    devc.Handle = io;
    HidAttributes a;
    if (io->attributes(a) && a.vendorId == HidVendorId && a.productId == HidProductId
        && a.version == HidVersion) {
        HidMode = 1;
        HidInputReportLength = a.inputReportLength;
        HidOutputReportLength = a.outputReportLength;
        uint16_t answer = 0;
        if (setting(devc, 2, 0, answer) && answer == UnassignedBridge) {
            devc.Connected = 1;
            setting(devc, 1, uint16_t(index), answer);
            setting(devc, 4, answer, answer);
            setting(devc, 6, answer, answer);
            status = 1;
            const uint16_t packet = uint16_t(std::max(0, reportLength(HidInputReportLength) - 1));
            devc.InPipe.MaxPacket = packet;
            devc.OutPipe.MaxPacket = packet;
            initialisationExchange(devc);
            return true;
        }
    }
    UsbClose(devc);
    return false;
}

// Two fixed requests the bridge expects after it was assigned; their answers
// are read and dropped, and a failure does not undo the connection.
void UsbBridge::initialisationExchange(Devc &devc)
{
    std::array<uint8_t, FrameBufferSize> frame{};
    frame[0] = 0xC5; frame[1] = 0xFF; frame[2] = 0x01; frame[3] = 0x00;
    if (!UsbWriteReport(devc, frame.data(), 4) || !UsbReadReport(devc, frame.data(), 64))
        return;
    frame.fill(0);
    frame[0] = 0xC5; frame[1] = 0xFF; frame[2] = 0x00; frame[3] = 0x00;
    if (UsbWriteReport(devc, frame.data(), 4))
        UsbReadReport(devc, frame.data(), 64);
}

bool UsbBridge::UsbWriteReport(Devc &devc, const uint8_t *frame, int length)
{
    BridgeDevice *device = deviceOf(devc);
    if (!device)
        return false;
    bool ok = false;
    if (HidMode) {
        // One output report: report id 0, then the first 64 frame bytes,
        // whatever the request length.
        std::vector<uint8_t> report(size_t(reportLength(HidOutputReportLength)), 0);
        std::memcpy(report.data() + 1, frame, std::min<size_t>(HidReportData, report.size() - 1));
        ok = device->send(0, report.data(), int(report.size()));
    } else {
        if (devc.OutPipe.Address >= 0x80) {
            UsbClose(devc);
            return false;
        }
        const int n = std::clamp(length, 0, FrameBufferSize);
        ok = device->send(devc.OutPipe.Address, frame, n);
    }
    if (!ok) {
        UsbClose(devc);
        return false;
    }
    TicksSinceTransfer = 0;
    return true;
}

bool UsbBridge::UsbReadReport(Devc &devc, uint8_t *frame, int length)
{
    BridgeDevice *device = deviceOf(devc);
    if (!device)
        return false;
    bool ok = false;
    if (HidMode) {
        // One input report; the 64 bytes after the report id are the answer.
        std::vector<uint8_t> report(size_t(reportLength(HidInputReportLength)), 0);
        const int got = device->receive(0, report.data(), int(report.size()), TransferTimeoutMs);
        ok = got >= 1;
        if (ok) {
            const int data = std::min(got - 1, HidReportData);
            std::memset(frame, 0, HidReportData);
            std::memcpy(frame, report.data() + 1, size_t(data));
        }
    } else {
        if (devc.InPipe.Address < 0x80) {
            UsbClose(devc);
            return false;
        }
        const int n = std::clamp(length, 0, FrameBufferSize);
        ok = device->receive(devc.InPipe.Address, frame, n, TransferTimeoutMs) >= 0;
    }
    if (!ok) {
        UsbClose(devc);
        return false;
    }
    TicksSinceTransfer = 0;
    return true;
}

// Resets the record to "no bridge". The device is released whether or not it
// was ever connected, so a candidate rejected during the search is not left
// open (and so not kept from other programs).
void UsbBridge::UsbClose(Devc &devc)
{
    if (const BridgeDevice *device = deviceOf(devc))
        LastError = device->lastError();
    devc.Handle.reset();
    devc.DeviceName.clear();
    std::fill(devc.DeviceDescriptor.begin() + 8, devc.DeviceDescriptor.begin() + 14, uint8_t(0));
    devc.Connected = 0;
}

} // namespace qx
