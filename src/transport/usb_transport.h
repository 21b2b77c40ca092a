#pragma once
// The USB bridge as the chip access layer sees it: find and open a bridge,
// move one request from the frame buffer and one answer back into it, and
// close it after a failure. Real bridges (bulk, HID, simulator endpoint) and
// the in-process simulator implement this interface.
#include "device/device_record.h"

#include <cstdint>
#include <functional>

namespace qx {

class UsbTransport {
public:
    // Bridge commands that the search itself needs (they are frames of the
    // chip access layer, which installs them).
    struct Commands {
        std::function<bool(Devc &)> identify;                                          // UsbIdentify
        std::function<bool(Devc &, int setting, uint16_t value, uint16_t &answer)> setting;  // BridgeSetting
    };

    virtual ~UsbTransport() = default;

    void setCommands(Commands c) { commands_ = std::move(c); }

    // status: 0xFF at entry, 0 when an open bridge answered the identify
    // command, 1 when a bridge was newly connected.
    virtual bool UsbOpen(Devc &devc, uint8_t &status) = 0;
    // Sends `length` bytes from frame[0..] (HID: always one 64-byte report).
    virtual bool UsbWriteReport(Devc &devc, const uint8_t *frame, int length) = 0;
    // Receives the answer into frame[0..] (at most `length` bytes; HID: 64).
    virtual bool UsbReadReport(Devc &devc, uint8_t *frame, int length) = 0;
    virtual void UsbClose(Devc &devc) = 0;

    uint8_t HidMode = 0;            // 1 once a HID bridge was accepted
    int TicksSinceTransfer = 0;     // poll ticks since the last good transfer

protected:
    Commands commands_;
};

} // namespace qx
