#pragma once
// The USB bridge transport: the bridge search, the report layout of both
// bridge kinds and the close-on-failure rule, over the device backends of
// bridge_device.h.
//
// Search order: bulk bridges "QxUSB-0".."QxUSB-31", then HID indices
// 0..127. A bridge is taken when its identification matches and it answers
// setting 2 with 0xFFFF (not yet assigned to a host program); it is then
// assigned its number and the initialisation exchange runs.
#include "transport/bridge_device.h"
#include "transport/usb_transport.h"

#include <memory>

namespace qx {

constexpr int BulkBridgeCount = 32;
constexpr int HidBridgeCount = 128;
constexpr uint16_t BulkVendorId = 0x0547;
constexpr uint16_t BulkProductId = 0x1004;
constexpr uint16_t HidVendorId = 0x04D8;
constexpr uint16_t HidProductId = 0x2008;
constexpr uint16_t HidVersion = 0x0727;
constexpr uint16_t UnassignedBridge = 0xFFFF;  // setting 2 of a free bridge
constexpr int HidReportData = 64;              // bytes after the report id

class UsbBridge final : public UsbTransport {
public:
    UsbBridge(std::unique_ptr<BulkBridgeBackend> bulk, std::unique_ptr<HidBridgeBackend> hid);

    bool UsbOpen(Devc &devc, uint8_t &status) override;
    bool UsbWriteReport(Devc &devc, const uint8_t *frame, int length) override;
    bool UsbReadReport(Devc &devc, uint8_t *frame, int length) override;
    void UsbClose(Devc &devc) override;

    // Report lengths of the accepted HID bridge (including the report id).
    uint16_t HidInputReportLength = 0;
    uint16_t HidOutputReportLength = 0;
    // Platform error code recorded by the last UsbClose.
    int LastError = 0;
    // Bound of every read (and of a write that cannot go out): an unplugged
    // or silent bridge fails the transfer instead of hanging the tool.
    int TransferTimeoutMs = 1000;

private:
    bool tryBulk(Devc &devc, int number, uint8_t &status);
    bool tryHid(Devc &devc, int index, uint8_t &status);
    bool setting(Devc &devc, int n, uint16_t value, uint16_t &answer);
    void initialisationExchange(Devc &devc);

    std::unique_ptr<BulkBridgeBackend> bulk_;
    std::unique_ptr<HidBridgeBackend> hid_;
};

} // namespace qx
