#pragma once
// The in-process USB bridge: UsbTransport over a BridgeModel. It finds the
// simulated bridge the way the real search does (descriptor or HID
// attributes, then BridgeSetting 2 must answer 0xFFFF) and moves reports
// with bulk semantics (exact lengths) or HID semantics (every report 64
// bytes). A read with no answer pending fails like a silent device, and any
// failed transfer closes the link.
#include "sim/bridge_model.h"
#include "transport/usb_transport.h"

#include <optional>
#include <vector>

namespace qx {
class Clock;
}

namespace qx::sim {

class SimUsbTransport final : public UsbTransport {
public:
    enum class Semantics { Bulk, Hid };
    static constexpr uint16_t BulkVendor = 0x0547, BulkProduct = 0x1004;
    static constexpr uint16_t HidVendor = 0x04D8, HidProduct = 0x2008, HidVersion = 0x0727;

    explicit SimUsbTransport(BridgeModel &model, Semantics semantics = Semantics::Bulk)
        : model_(model), semantics_(semantics) {}

    // No bridge plugged in: every search fails.
    void setPresent(bool present) { present_ = present; }
    // Link pace: each report costs `ms` on `clock` (a full-speed HID link: 1 ms).
    void setLatency(Clock *clock, int ms) { clock_ = clock; latencyMs_ = ms; }
    // Every UsbWriteReport call, including those that failed.
    int writeAttempts() const { return writes_; }

    bool UsbOpen(Devc &devc, uint8_t &status) override;
    bool UsbWriteReport(Devc &devc, const uint8_t *frame, int length) override;
    bool UsbReadReport(Devc &devc, uint8_t *frame, int length) override;
    void UsbClose(Devc &devc) override;

private:
    bool connect(Devc &devc, uint8_t &status);
    void pace();

    BridgeModel &model_;
    Semantics semantics_;
    bool present_ = true;
    Clock *clock_ = nullptr;
    int latencyMs_ = 0;
    int writes_ = 0;
    std::optional<std::vector<uint8_t>> pending_;
};

} // namespace qx::sim
