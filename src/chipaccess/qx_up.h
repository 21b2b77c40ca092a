#pragma once
// TQx_UP, the chip access layer: turns "read or write N bytes at chip
// address A" into the frames of the channel's interface (RS232, SPI,
// Special, Parallel, UART, DMM), keeps the channel's Mirror, refreshes the
// views after a single-register write, and owns the USB bridge's own
// commands. Every view, panel and test reaches the chip through it.
//
// All operations share the one FrameBuffer of the Bench: data to write is
// placed at FrameBuffer[5] (DMM: FrameBuffer[4]) before WriteChipBlock, and
// after ReadChipBlock the bytes read are at FrameBuffer[0]. The typed
// helpers readBlock/writeBlock do that placing for the caller.
//
// One access at a time: an operation started while another is running
// (from a refresh hook or a timer) is refused and returns false.
#include "chipaccess/view_refresh.h"
#include "device/hooks.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qx {

class Bench;
class ParallelLink;
class UsbTransport;
struct Devc;
struct STND;

// Records forwarded by the bridge's interrupt stream.
struct InterruptQueueRecord {
    static constexpr int MaxRecords = 12;
    uint8_t count = 0;
    uint8_t status = 0;
    std::array<std::array<uint8_t, 5>, MaxRecords> records{};
};

// The three status bytes of BridgeReadStatus, in the order they are returned.
struct BridgeStatus {
    uint8_t first = 0;   // FrameBuffer[1]
    uint8_t second = 0;  // FrameBuffer[3]
    uint8_t third = 0;   // FrameBuffer[2]
};

class TQx_UP {
public:
    // Waits after a transfer (ms).
    static constexpr int UsbSettleMs = 50;
    static constexpr int SerialSettleMs = 100;
    static constexpr int HandshakeWaitMs = 100;
    static constexpr int SerialRetryMs = 4000;
    static constexpr int ClockRegisterSettleMs = 1000;  // after writing 0x31, 0x32
    static constexpr int ParallelDelayCount = 1000;
    static constexpr int MaxTransfer = 255;  // the frames carry the count in one byte
    static constexpr int HidReportSize = 64;

    TQx_UP(Bench &bench, UsbTransport *usb = nullptr, ParallelLink *parallel = nullptr);
    ~TQx_UP();
    TQx_UP(const TQx_UP &) = delete;
    TQx_UP &operator=(const TQx_UP &) = delete;

    void setUsbTransport(UsbTransport *usb);
    void setParallelLink(ParallelLink *parallel) { parallel_ = parallel; }
    UsbTransport *usbTransport() const { return usb_; }

    // Mirror access; addresses outside 0..1023 read 0 and are not stored.
    uint8_t ReadMirror(int address, int channel = 0) const;
    void WriteMirror(int address, uint8_t value, int channel = 0);
    // WriteMirror, then every view's refresh in the fixed order.
    void UpdateViews(int address, uint8_t value, int channel = 0);
    ViewRefresh &views() { return views_; }

    // Reads count (1..255) bytes at address into FrameBuffer[0..].
    bool ReadChipBlock(int address, int count, int channel = 0);
    // Writes count (1..255) bytes from FrameBuffer[5..] (DMM: [4..]).
    bool WriteChipBlock(int address, int count, int channel = 0);
    // Writes one register, reads it back and stores the read-back in the
    // mirror, then refreshes the views. True when the mirror was updated.
    bool WriteChipByte(int address, uint8_t value, int channel = 0);

    // The same transfers without touching FrameBuffer offsets by hand.
    std::optional<std::vector<uint8_t>> readBlock(int address, int count, int channel = 0);
    bool writeBlock(int address, std::span<const uint8_t> data, int channel = 0);

    // Bridge commands (USB interfaces, channel 0's bridge).
    bool UsbIdentify();
    bool BridgeSetting(int n, uint16_t value, uint16_t &answer);
    bool BridgeDmmPower(bool on);
    std::optional<QString> BridgeVersion();
    void BridgeRelease();
    bool ChipResetPulse();
    std::optional<BridgeStatus> BridgeReadStatus();
    bool UartLinkSetup();
    bool InterruptStreamSetup(uint8_t mask, bool enable);
    int InterruptStreamRead();
    InterruptQueueRecord InterruptQueue;

    // Connects channel 0's bridge: "USB On Line" or "USB not Connect !!!"
    // in status panel 0; on success the connect hooks run (the main window's
    // connect handling joins them).
    bool USBConnect();
    Hooks connected;

    // True while an access is in progress.
    bool busy() const { return busy_; }

private:
    friend class AccessGuard;
    STND *deviceFor(int channel) const;
    uint8_t *frame();

    // The operations without the one-access guard (they call each other).
    bool readChip(STND &dev, int address, int count);
    bool writeChip(STND &dev, int address, int count);
    bool readRs232(STND &dev, int address, int count);
    bool writeRs232(STND &dev, int address, int count);
    bool rs232Handshake(STND &dev);
    void showLineErrors(bool clearWhenNone);
    bool readUsb(STND &dev, int address, int count);
    bool writeUsb(STND &dev, int address, int count);
    bool readParallel(int address, int count);
    bool writeParallel(int address, int count);
    bool parallelReady();
    bool specialModelMode() const;

    bool exchange(Devc &devc, int sendLength, int readLength);
    bool fitsOneReport(int sendLength, int readLength) const;
    bool identify(Devc &devc);
    bool setting(Devc &devc, int n, uint16_t value, uint16_t &answer);
    bool uartLinkSetup(Devc &devc);

    Bench &bench_;
    UsbTransport *usb_ = nullptr;
    ParallelLink *parallel_ = nullptr;
    ViewRefresh views_;
    bool busy_ = false;
};

} // namespace qx
