#include "transport/libusb_bulk_backend.h"

#include "transport/usb_bridge.h"

#include <libusb.h>

#include <cstring>

namespace qx {

struct LibusbBulkBackend::Context {
    libusb_context *ctx = nullptr;
    Context() { if (libusb_init(&ctx) != 0) ctx = nullptr; }
    ~Context() { if (ctx) libusb_exit(ctx); }
};

namespace {

constexpr unsigned WriteTimeoutMs = 1000;

class LibusbBulkDevice final : public BulkBridgeDevice {
public:
    LibusbBulkDevice(std::shared_ptr<void> context, libusb_device_handle *handle, int interfaceNumber,
                 const libusb_device_descriptor &descriptor, UsbPipe pipes[2])
        : context_(std::move(context)), handle_(handle), interface_(interfaceNumber),
          descriptor_(descriptor), pipes_{pipes[0], pipes[1]} {}

    ~LibusbBulkDevice() override
    {
        libusb_release_interface(handle_, interface_);
        libusb_close(handle_);
    }

    bool send(uint8_t endpoint, const uint8_t *data, int length) override
    {
        int done = 0;
        const int r = libusb_bulk_transfer(handle_, endpoint, const_cast<uint8_t *>(data), length, &done,
                                           WriteTimeoutMs);
        lastError_ = r;
        return r == 0 && done == length;
    }

    int receive(uint8_t endpoint, uint8_t *data, int capacity, int timeoutMs) override
    {
        int done = 0;
        // libusb reports LIBUSB_ERROR_OVERFLOW instead of writing past the
        // buffer when the device sends more than asked for.
        const int r = libusb_bulk_transfer(handle_, endpoint, data, capacity, &done, unsigned(timeoutMs));
        lastError_ = r;
        return r == 0 ? done : -1;
    }

    int lastError() const override { return lastError_; }

    bool readDescriptor(DescriptorBlock &block) override
    {
        const libusb_device_descriptor &d = descriptor_;
        const uint8_t bytes[18] = {d.bLength, d.bDescriptorType, uint8_t(d.bcdUSB), uint8_t(d.bcdUSB >> 8),
                                   d.bDeviceClass, d.bDeviceSubClass, d.bDeviceProtocol, d.bMaxPacketSize0,
                                   uint8_t(d.idVendor), uint8_t(d.idVendor >> 8), uint8_t(d.idProduct),
                                   uint8_t(d.idProduct >> 8), uint8_t(d.bcdDevice), uint8_t(d.bcdDevice >> 8),
                                   d.iManufacturer, d.iProduct, d.iSerialNumber, d.bNumConfigurations};
        block.fill(0);
        std::memcpy(block.data(), bytes, sizeof bytes);
        return true;
    }

    bool readPipe(int k, UsbPipe &pipe) override
    {
        if ((k != 0 && k != 1) || pipes_[k].Address == 0)
            return false;
        pipe = pipes_[k];
        return true;
    }

private:
    std::shared_ptr<void> context_;
    libusb_device_handle *handle_;
    int interface_;
    libusb_device_descriptor descriptor_;
    UsbPipe pipes_[2];
    int lastError_ = 0;
};

// The first two endpoints of the first interface's first alternate setting.
bool readPipes(libusb_device *dev, int &interfaceNumber, UsbPipe pipes[2])
{
    libusb_config_descriptor *config = nullptr;
    if (libusb_get_active_config_descriptor(dev, &config) != 0 || !config)
        return false;
    bool ok = false;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor &alt = config->interface[0].altsetting[0];
        interfaceNumber = alt.bInterfaceNumber;
        for (int k = 0; k < 2 && k < alt.bNumEndpoints; ++k)
            pipes[k] = {alt.endpoint[k].wMaxPacketSize, alt.endpoint[k].bEndpointAddress};
        ok = true;
    }
    libusb_free_config_descriptor(config);
    return ok;
}

} // namespace

LibusbBulkBackend::LibusbBulkBackend() : context_(std::make_shared<Context>()) {}
LibusbBulkBackend::~LibusbBulkBackend() = default;

std::shared_ptr<BulkBridgeDevice> LibusbBulkBackend::openBulk(int number)
{
    if (!context_->ctx || number < 0)
        return nullptr;
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context_->ctx, &list);
    std::shared_ptr<BulkBridgeDevice> result;
    int matching = 0;
    for (ssize_t i = 0; i < count && !result; ++i) {
        libusb_device_descriptor d;
        if (libusb_get_device_descriptor(list[i], &d) != 0)
            continue;
        if (d.idVendor != BulkVendorId || d.idProduct != BulkProductId)
            continue;
        if (matching++ != number)
            continue;
        int interfaceNumber = 0;
        UsbPipe pipes[2];
        if (!readPipes(list[i], interfaceNumber, pipes))
            break;
        libusb_device_handle *handle = nullptr;
        if (libusb_open(list[i], &handle) != 0)
            break;
        libusb_set_auto_detach_kernel_driver(handle, 1);
        if (libusb_claim_interface(handle, interfaceNumber) != 0) {
            libusb_close(handle);
            break;
        }
        result = std::make_shared<LibusbBulkDevice>(context_, handle, interfaceNumber, d, pipes);
    }
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return result;
}

} // namespace qx
