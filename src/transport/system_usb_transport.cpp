#include "transport/system_usb_transport.h"

#include "transport/hidapi_backend.h"
#include "transport/libusb_bulk_backend.h"
#include "transport/sim_endpoint_client.h"
#include "transport/sim_endpoint_wire.h"
#include "transport/usb_bridge.h"

namespace qx {

namespace {

// A simulator endpoint takes the place of the hardware bridge of the same
// number; the hardware is opened only where no endpoint answers.
class FirstBulk final : public BulkBridgeBackend {
public:
    FirstBulk(std::unique_ptr<BulkBridgeBackend> a, std::unique_ptr<BulkBridgeBackend> b)
        : a_(std::move(a)), b_(std::move(b)) {}
    std::shared_ptr<BulkBridgeDevice> openBulk(int number) override
    {
        auto io = a_->openBulk(number);
        return io ? io : b_->openBulk(number);
    }
private:
    std::unique_ptr<BulkBridgeBackend> a_, b_;
};

class FirstHid final : public HidBridgeBackend {
public:
    FirstHid(std::unique_ptr<HidBridgeBackend> a, std::unique_ptr<HidBridgeBackend> b)
        : a_(std::move(a)), b_(std::move(b)) {}
    std::shared_ptr<HidBridgeDevice> openHid(int index, bool &found) override
    {
        auto io = a_->openHid(index, found);
        return found ? io : b_->openHid(index, found);
    }
private:
    std::unique_ptr<HidBridgeBackend> a_, b_;
};

} // namespace

std::unique_ptr<UsbTransport> MakeSystemUsbTransport()
{
    const QString dir = simwire::EndpointDir();
    return std::make_unique<UsbBridge>(
        std::make_unique<FirstBulk>(std::make_unique<SimBulkEndpoints>(dir), std::make_unique<LibusbBulkBackend>()),
        std::make_unique<FirstHid>(std::make_unique<SimHidEndpoints>(dir), std::make_unique<HidapiBackend>()));
}

std::unique_ptr<UsbTransport> MakeSimulatorUsbTransport(const QString &dir)
{
    return std::make_unique<UsbBridge>(std::make_unique<SimBulkEndpoints>(dir), std::make_unique<SimHidEndpoints>(dir));
}

} // namespace qx
