#pragma once
// Bulk bridges on the USB bus through libusb-1.0. Bulk bridge number n is
// the n-th device (in libusb's bus order) with the bulk bridge's vendor and
// product ids; its first interface is claimed, and its first two endpoints
// are pipes 0 and 1.
#include "transport/bridge_device.h"

namespace qx {

class LibusbBulkBackend final : public BulkBridgeBackend {
public:
    LibusbBulkBackend();
    ~LibusbBulkBackend() override;
    std::shared_ptr<BulkBridgeDevice> openBulk(int number) override;

private:
    struct Context;
    std::shared_ptr<Context> context_;
};

} // namespace qx
