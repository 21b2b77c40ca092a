// Commands to the USB bridge itself (not to the chip): identify, settings,
// DMM power, version, release, reset pulse, status, UART relay set-up and
// the interrupt stream.
#include "chipaccess/access_guard.h"
#include "chipaccess/qx_up.h"

#include "device/base_utils.h"
#include "device/bench.h"
#include "transport/usb_transport.h"

#include <cstring>

namespace qx {

namespace {
constexpr uint8_t BridgeCommand = 0xF9;
constexpr uint8_t ResetLine = 0xB5;
constexpr uint8_t InterruptStream = 0xC3;
} // namespace

bool TQx_UP::identify(Devc &devc)
{
    if (!devc.Connected)
        return false;
    uint8_t *fb = frame();
    fb[0] = BridgeCommand;
    fb[1] = 0xAC;
    return exchange(devc, 2, 8) && std::memcmp(fb, "Tervalon", 8) == 0;
}

bool TQx_UP::setting(Devc &devc, int n, uint16_t value, uint16_t &answer)
{
    uint8_t *fb = frame();
    fb[0] = BridgeCommand;
    fb[1] = uint8_t(n);
    fb[2] = uint8_t(value & 0xFF);
    fb[3] = uint8_t(value >> 8);
    if (!exchange(devc, 4, 8))
        return false;
    answer = uint16_t(fb[0] + 256 * fb[1]);
    return true;
}

bool TQx_UP::uartLinkSetup(Devc &devc)
{
    if (!devc.Handle)
        return false;
    static constexpr uint8_t request[] = {0xC0, 0x00, 0x00, 0x06, 0x81, 0x02};
    std::memcpy(frame(), request, sizeof request);
    return exchange(devc, int(sizeof request), 1);
}

bool TQx_UP::UsbIdentify()
{
    AccessGuard guard(*this);
    return guard.acquired() && identify(bench_.device().Usb);
}

bool TQx_UP::BridgeSetting(int n, uint16_t value, uint16_t &answer)
{
    AccessGuard guard(*this);
    return guard.acquired() && setting(bench_.device().Usb, n, value, answer);
}

bool TQx_UP::BridgeDmmPower(bool on)
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return false;
    uint8_t *fb = frame();
    fb[0] = BridgeCommand;
    fb[1] = 0x10;
    fb[2] = on ? 1 : 0;
    return exchange(bench_.device().Usb, 3, 8);
}

std::optional<QString> TQx_UP::BridgeVersion()
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return std::nullopt;
    uint8_t *fb = frame();
    std::memset(fb, 0, 8);
    fb[0] = BridgeCommand;
    fb[1] = 0x05;
    if (!exchange(bench_.device().Usb, 8, 8))
        return std::nullopt;
    return QString::fromLatin1(reinterpret_cast<const char *>(fb), 8);
}

void TQx_UP::BridgeRelease()
{
    AccessGuard guard(*this);
    Devc &devc = bench_.device().Usb;
    if (!guard.acquired() || !usb_ || !devc.Handle || !devc.Connected)
        return;
    uint16_t answer = 0;
    setting(devc, 1, 0xFFFF, answer);
    usb_->UsbClose(devc);
}

bool TQx_UP::ChipResetPulse()
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return false;
    // Reset line high, low, high again; the chip restarts after the last edge.
    static constexpr struct { uint8_t level; int waitMs; } steps[] = {{1, 100}, {0, 100}, {1, 2000}};
    for (const auto &s : steps) {
        uint8_t *fb = frame();
        fb[0] = ResetLine;
        fb[1] = 0x01;
        fb[2] = s.level;
        if (!exchange(bench_.device().Usb, 3, 1))
            return false;
        DelayMs(bench_.clock, s.waitMs);
    }
    return true;
}

std::optional<BridgeStatus> TQx_UP::BridgeReadStatus()
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return std::nullopt;
    uint8_t *fb = frame();
    fb[0] = ResetLine;
    fb[1] = 0x07;
    fb[2] = 0;
    if (!exchange(bench_.device().Usb, 3, 4))
        return std::nullopt;
    return BridgeStatus{fb[1], fb[3], fb[2]};
}

bool TQx_UP::UartLinkSetup()
{
    AccessGuard guard(*this);
    return guard.acquired() && uartLinkSetup(bench_.device().Usb);
}

bool TQx_UP::InterruptStreamSetup(uint8_t mask, bool enable)
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return false;
    uint8_t *fb = frame();
    fb[0] = InterruptStream;
    fb[1] = 0x00;
    fb[2] = bench_.Photo ? 1 : 0;
    fb[3] = enable ? 1 : 0;
    fb[4] = enable ? mask : 0;
    return exchange(bench_.device().Usb, 5, 64) && fb[0] == 0xFA && fb[1] == 0xAA;
}

int TQx_UP::InterruptStreamRead()
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return 0;
    uint8_t *fb = frame();
    fb[0] = InterruptStream;
    fb[1] = 0x01;
    if (!exchange(bench_.device().Usb, 2, 64)) {
        InterruptQueue.count = 0;
        return 0;
    }
    InterruptQueueRecord &q = InterruptQueue;
    q.count = fb[0] > InterruptQueueRecord::MaxRecords ? 0 : fb[0];
    q.status = fb[1];
    // Each record travels last byte first.
    for (int i = 0; i < q.count; ++i)
        for (int k = 0; k < 5; ++k)
            q.records[size_t(i)][size_t(k)] = fb[6 + 5 * i - k];
    return q.count;
}

bool TQx_UP::USBConnect()
{
    AccessGuard guard(*this);
    if (!guard.acquired())
        return false;
    Devc &devc = bench_.device().Usb;
    uint8_t status = 0xFF;
    const bool ok = usb_ && usb_->UsbOpen(devc, status) && identify(devc);
    bench_.status.show(0, ok ? "USB On Line" : "USB not Connect !!!");
    guard.release();
    if (ok)
        connected.call();
    return ok;
}

} // namespace qx
