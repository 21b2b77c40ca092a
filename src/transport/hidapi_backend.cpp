#include "transport/hidapi_backend.h"

#include "transport/usb_bridge.h"

#include <hidapi/hidapi.h>

#include <cerrno>

namespace qx {

namespace {

struct HidLibrary {
    bool ok = hid_init() == 0;
    ~HidLibrary() { hid_exit(); }
};

class HidapiDevice final : public HidBridgeDevice {
public:
    HidapiDevice(std::shared_ptr<void> library, hid_device *dev, const HidAttributes &attrs)
        : library_(std::move(library)), dev_(dev), attrs_(attrs) {}
    ~HidapiDevice() override { hid_close(dev_); }

    bool send(uint8_t, const uint8_t *data, int length) override
    {
        const int r = hid_write(dev_, data, size_t(length));
        lastError_ = r == length ? 0 : EIO;
        return r == length;
    }

    // hidapi hands over a report of an unnumbered device without its id
    // byte; the id (0) is put back so callers see the whole report.
    int receive(uint8_t, uint8_t *data, int capacity, int timeoutMs) override
    {
        if (capacity < 1)
            return -1;
        const int r = hid_read_timeout(dev_, data + 1, size_t(capacity - 1), timeoutMs);
        if (r <= 0) {
            lastError_ = r == 0 ? ETIMEDOUT : EIO;
            return -1;
        }
        data[0] = 0;
        return r + 1;
    }

    int lastError() const override { return lastError_; }

    bool attributes(HidAttributes &attributes) override
    {
        attributes = attrs_;
        return true;
    }

private:
    std::shared_ptr<void> library_;
    hid_device *dev_;
    HidAttributes attrs_;
    int lastError_ = 0;
};

} // namespace

HidapiBackend::HidapiBackend()
{
    auto library = std::make_shared<HidLibrary>();
    if (library->ok)
        library_ = library;
}

HidapiBackend::~HidapiBackend() = default;

void HidapiBackend::enumerate()
{
    entries_.clear();
    hid_device_info *all = hid_enumerate(0, 0);
    for (hid_device_info *d = all; d; d = d->next) {
        constexpr uint16_t Report = 1 + HidReportData;
        entries_.push_back({d->path ? d->path : "",
                            {d->vendor_id, d->product_id, d->release_number, Report, Report}});
    }
    hid_free_enumeration(all);
}

std::shared_ptr<HidBridgeDevice> HidapiBackend::openHid(int index, bool &found)
{
    found = false;
    if (!library_ || index < 0)
        return nullptr;
    if (index <= lastIndex_)
        enumerate();
    lastIndex_ = index;
    if (size_t(index) >= entries_.size())
        return nullptr;
    found = true;
    const Entry &e = entries_[size_t(index)];
    hid_device *dev = hid_open_path(e.path.c_str());
    if (!dev)
        return nullptr;
    return std::make_shared<HidapiDevice>(library_, dev, e.attrs);
}

} // namespace qx
