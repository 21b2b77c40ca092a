#include "sim/sim_usb_transport.h"

#include "core/clock.h"
#include "transport/bridge_io.h"

#include <algorithm>
#include <cstring>

namespace qx::sim {

namespace {
class SimBridgeHandle final : public BridgeIo {};
constexpr int ReportSize = 64;
} // namespace

void SimUsbTransport::pace()
{
    if (clock_ && latencyMs_ > 0)
        clock_->sleepMs(latencyMs_);
}

bool SimUsbTransport::UsbOpen(Devc &devc, uint8_t &status)
{
    status = 0xFF;
    if (devc.Handle && commands_.identify && commands_.identify(devc)) {
        status = 0;
        return true;
    }
    if (devc.Connected || !present_ || !commands_.setting)
        return false;
    return connect(devc, status);
}

bool SimUsbTransport::connect(Devc &devc, uint8_t &status)
{
    const bool hid = semantics_ == Semantics::Hid;
    devc.Handle = std::make_shared<SimBridgeHandle>();
    if (hid) {
        HidMode = 1;
        devc.InPipe = {uint16_t(ReportSize), 0x81};
        devc.OutPipe = {uint16_t(ReportSize), 0x01};
    } else {
        devc.DeviceName = "QxUSB-0";
        devc.DeviceDescriptor.fill(0);
        devc.DeviceDescriptor[0] = 18;
        devc.DeviceDescriptor[1] = 1;
        devc.DeviceDescriptor[8] = uint8_t(BulkVendor & 0xFF);
        devc.DeviceDescriptor[9] = uint8_t(BulkVendor >> 8);
        devc.DeviceDescriptor[10] = uint8_t(BulkProduct & 0xFF);
        devc.DeviceDescriptor[11] = uint8_t(BulkProduct >> 8);
        devc.InPipe = {64, 0x82};
        devc.OutPipe = {64, 0x02};
    }
    uint16_t answer = 0;
    if (!commands_.setting(devc, 2, 0, answer) || answer != 0xFFFF) {
        UsbClose(devc);
        return false;
    }
    devc.Connected = 1;
    commands_.setting(devc, 1, 0, answer);
    commands_.setting(devc, 4, answer, answer);
    if (hid)
        commands_.setting(devc, 6, answer, answer);
    status = 1;
    // Initialisation exchange; its failures do not undo the connect.
    uint8_t init[ReportSize] = {0xC5, 0xFF, 0x01, 0x00};
    if (UsbWriteReport(devc, init, 4) && UsbReadReport(devc, init, ReportSize)) {
        uint8_t second[ReportSize] = {0xC5, 0xFF, 0x00, 0x00};
        if (UsbWriteReport(devc, second, 4))
            UsbReadReport(devc, second, ReportSize);
    }
    return true;
}

bool SimUsbTransport::UsbWriteReport(Devc &devc, const uint8_t *frame, int length)
{
    ++writes_;
    if (!devc.Handle || length < 0) {
        UsbClose(devc);
        return false;
    }
    std::vector<uint8_t> request;
    if (semantics_ == Semantics::Hid) {
        request.assign(frame, frame + ReportSize);
    } else {
        if (devc.OutPipe.Address >= 0x80) {
            UsbClose(devc);
            return false;
        }
        request.assign(frame, frame + length);
    }
    pace();
    pending_ = model_.exchange(request);
    TicksSinceTransfer = 0;
    return true;
}

bool SimUsbTransport::UsbReadReport(Devc &devc, uint8_t *frame, int length)
{
    if (!devc.Handle || !pending_ || length < 0 ||
        (semantics_ == Semantics::Bulk && devc.InPipe.Address < 0x80)) {
        pending_.reset();
        UsbClose(devc);
        return false;
    }
    pace();
    std::vector<uint8_t> answer = std::move(*pending_);
    pending_.reset();
    if (semantics_ == Semantics::Hid) {
        answer.resize(ReportSize, 0);
        std::memcpy(frame, answer.data(), ReportSize);
    } else {
        std::memcpy(frame, answer.data(), std::min(answer.size(), size_t(length)));
    }
    TicksSinceTransfer = 0;
    return true;
}

void SimUsbTransport::UsbClose(Devc &devc)
{
    devc.Handle.reset();
    devc.DeviceName.clear();
    for (int i : {8, 9, 10, 11, 12, 13})
        devc.DeviceDescriptor[size_t(i)] = 0;
    devc.Connected = 0;
    pending_.reset();
}

} // namespace qx::sim
