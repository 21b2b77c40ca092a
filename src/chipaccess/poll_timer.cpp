#include "chipaccess/poll_timer.h"

#include "chipaccess/qx_up.h"
#include "device/bench.h"
#include "transport/usb_transport.h"

#include <cmath>

namespace qx {

PollTimer::PollTimer(Bench &bench, TQx_UP &up) : bench_(bench), up_(up)
{
    timer_.setInterval(PeriodMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

PollTimer::~PollTimer()
{
    PollEnable = false;
}

void PollTimer::setPollEnable(bool on)
{
    PollEnable = on;
    pollStateChanged.call();
}

int PollTimer::ticksSinceTransfer() const
{
    const UsbTransport *usb = up_.usbTransport();
    return usb ? usb->TicksSinceTransfer : localTicks_;
}

void PollTimer::UsbReconnect()
{
    UsbTransport *usb = up_.usbTransport();
    Devc &devc = bench_.device().Usb;
    uint8_t status = 0;
    if (usb && usb->UsbOpen(devc, status)) {
        bench_.status.show(0, "USB On Line");
        return;
    }
    if (usb)
        usb->UsbClose(devc);
    bench_.status.show(0, "USB not Connect !!!");
}

int PollTimer::fieldValue(const char *name, uint8_t source) const
{
    const FieldEntry *f = bench_.chip.fields.find(QString::fromLatin1(name));
    return f ? f->valueIn(source) : 0;
}

int PollTimer::fieldValueInMirror(const char *name) const
{
    const FieldEntry *f = bench_.chip.fields.find(QString::fromLatin1(name));
    return f ? f->valueIn(up_.ReadMirror(f->Address)) : 0;
}

bool PollTimer::readLatch(int address, uint8_t *latch, int count)
{
    if (!up_.ReadChipBlock(address, count))
        return false;
    std::copy_n(bench_.FrameBuffer.begin(), count, latch);
    return true;
}

void PollTimer::PollInterruptFlags()
{
    if (!PollEnable || !bench_.device().Usb.Connected)
        return;
    const FieldEntry *flags = bench_.chip.fields.find("SADC_IF");
    if (!flags || !up_.ReadChipBlock(flags->Address, 1))
        return;
    IntfFlags |= bench_.FrameBuffer[0];
    struct Trigger { const char *field; int address; uint8_t *latch; int count; };
    const Trigger triggers[] = {
        {"CTIF", 0x15, CounterLatch.data(), 9}, {"SADC_IF", 0x00, SadcLatch.data(), 3},
        {"FADC_IF", 0x03, FadcLatch.data(), 3}, {"LPF_IF", 0x06, LpfLatch.data(), 3},
        {"RMS_IF", 0x09, RmsLatch.data(), 5},
    };
    for (const Trigger &t : triggers)
        if (fieldValue(t.field, IntfFlags) != 0)
            readLatch(t.address, t.latch, t.count);
}

void PollTimer::chopperIndicators()
{
    const int ad1 = fieldValueInMirror("AD1CHO");
    if (ad1 == 0)
        ad1Chopper.show(true);
    else if (ad1 == 1)
        ad1Chopper.show(false);
    else
        ad1Chopper.swap();
    for (auto [name, pair] : {std::pair{"AD2CHO", &ad2Chopper}, std::pair{"ADPCHO", &adpChopper}}) {
        if (fieldValueInMirror(name) == 1)
            pair->swap();
        else
            pair->show(false);
    }
}

bool PollTimer::ResistanceStep()
{
    if (!(IntfFlags & SadcFlag))
        return false;
    IntfFlags &= uint8_t(~SadcFlag);
    const auto step = Resistance.feed(SignedResult24(SadcLatch));
    if (step.writeRegister) {
        // A failed write is not reported; the sequence goes on. The mirror
        // follows the chip only when the write went through.
        const uint8_t v = *step.writeRegister;
        if (up_.writeBlock(ResistanceSequence::PhaseRegister, std::span<const uint8_t>(&v, 1)))
            up_.UpdateViews(ResistanceSequence::PhaseRegister, v);
    }
    return step.readingReady;
}

void PollTimer::Timer1Timer()
{
    if (up_.busy())
        return;  // an access is in progress: this tick waits for the next
    UsbTransport *usb = up_.usbTransport();
    int &ticks = usb ? usb->TicksSinceTransfer : localTicks_;
    const InterfaceKind kind = bench_.device().interface();
    if (++ticks > ReconnectTicks) {
        if (kind == InterfaceKind::SPI || kind == InterfaceKind::Special || kind == InterfaceKind::UART ||
            kind == InterfaceKind::DMM)
            UsbReconnect();
        ticks = 0;
    }
    if (kind != InterfaceKind::DMM)
        return;

    PollInterruptFlags();
    bool changed = false;
    if (++blink_ > 9) {
        blink_ = 0;
        chopperIndicators();
        changed = true;
    }
    if (AdsLive && (IntfFlags & SadcFlag)) {
        Adc1Value = SignedResult24(SadcLatch);
        Adc1New = {true, true};
        display.adsDigits = int64_t(Adc1Value) / (AdsDivisor ? AdsDivisor : 1);
        IntfFlags &= uint8_t(~SadcFlag);
        changed = true;
    }
    if (AdfLive) {
        const int div = AdfDivisor ? AdfDivisor : 1;
        if (IntfFlags & FadcFlag) {
            display.adc2Text = QString::number(SignedResult24(FadcLatch) / div);
            IntfFlags &= uint8_t(~FadcFlag);
            changed = true;
        }
        if (IntfFlags & LpfFlag) {
            display.lpfDigits = SignedResult24(LpfLatch) / div;
            IntfFlags &= uint8_t(~LpfFlag);
            changed = true;
        }
        if (IntfFlags & RmsFlag) {
            const uint64_t acc = RmsAccumulator40(RmsLatch);
            RmsValue = double(acc);
            RmsNew = {true, true};
            const double shown = RmsValue > 0 ? std::sqrt(RmsValue) : RmsValue;
            display.rmsText = QString::asprintf("%.2f", shown);
            display.rmsLabel = QString::asprintf("0x%x", unsigned(acc & 0xFFFFFFFFu));
            IntfFlags &= uint8_t(~RmsFlag);
            changed = true;
        }
    }
    if (ResMeasure && ResistanceStep()) {
        const int range = ResRange >= 0 && ResRange < 6 ? ResRange : 0;
        if (const auto r = Resistance.reading(ResFactor[size_t(range)]))
            display.resistanceText = QString::asprintf(ResistanceFormat(range), *r);
        changed = true;
    }
    if (changed)
        displayChanged.call();
}

} // namespace qx
