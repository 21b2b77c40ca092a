#pragma once
// The chip access layer's 10 ms poll: keeps the USB link alive, and on the
// DMM interface polls the interrupt-flag register, latches the results the
// flags announce, produces the live ADC and RMS read-outs and the chopper
// indicator states, and runs the two-phase resistance measurement.
// The panels read the values and indicator states kept here; consumers
// clear the IntfFlags bits they have handled.
#include "chipaccess/live_readings.h"
#include "device/hooks.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>

namespace qx {

class Bench;
class TQx_UP;

// IntfFlags bits, fixed whatever the field definitions say.
enum IntfBit : uint8_t { CounterFlag = 0x01, FadcFlag = 0x02, SadcFlag = 0x04, LpfFlag = 0x08, RmsFlag = 0x10 };

// Two pictures shown alternately (first, second).
struct IndicatorPair {
    bool first = true;
    bool second = false;
    void show(bool firstShown) { first = firstShown; second = !firstShown; }
    void swap() { std::swap(first, second); }
    bool operator==(const IndicatorPair &) const = default;
};

class PollTimer : public QObject {
public:
    static constexpr int PeriodMs = 10;
    static constexpr int ReconnectTicks = 2999;  // about 30 s without a transfer

    PollTimer(Bench &bench, TQx_UP &up);
    ~PollTimer() override;

    // The real timer (the tool starts it once the windows exist).
    void start() { timer_.start(); }
    void stop() { timer_.stop(); }
    bool running() const { return timer_.isActive(); }

    void Timer1Timer();
    void PollInterruptFlags();
    void UsbReconnect();
    bool ResistanceStep();

    // INTF continuous read; the main window's caption follows `pollStateChanged`.
    void setPollEnable(bool on);
    bool PollEnable = false;
    Hooks pollStateChanged;

    uint8_t IntfFlags = 0;
    std::array<uint8_t, 9> CounterLatch{};
    std::array<uint8_t, 3> SadcLatch{};
    std::array<uint8_t, 3> FadcLatch{};
    std::array<uint8_t, 3> LpfLatch{};
    std::array<uint8_t, 5> RmsLatch{};

    // Display enables and divisors of the ADS and ADF panels.
    bool AdsLive = false;
    bool AdfLive = false;
    int AdsDivisor = 1;
    int AdfDivisor = 1;

    // Latest results with their two new-value flags each.
    double Adc1Value = 0;
    std::array<bool, 2> Adc1New{};
    double RmsValue = 0;
    std::array<bool, 2> RmsNew{};

    // Resistance measurement.
    bool ResMeasure = false;
    int ResRange = 0;
    std::array<double, 6> ResFactor{1, 1, 1, 1, 1, 1};
    ResistanceSequence Resistance;

    // What the panels show.
    struct Display {
        int64_t adsDigits = 0;    // ADS digit display
        QString adc2Text;         // ADF panel ADC2 text
        int64_t lpfDigits = 0;    // ADF digit display
        QString rmsText;          // square root of the RMS accumulator, "%.2f"
        QString rmsLabel;         // low 32 bits, "0x%x"
        QString resistanceText;   // "%.2f ohm"
    } display;
    IndicatorPair ad1Chopper;  // AD1CHO00 / AD1CHO01
    IndicatorPair ad2Chopper;  // the ADF panel's first pair
    IndicatorPair adpChopper;  // the ADF panel's second pair
    Hooks displayChanged;      // after a tick changed what the panels show

    int blinkDivider() const { return blink_; }
    // Ticks counted when no USB transport exists.
    int ticksSinceTransfer() const;

private:
    void chopperIndicators();
    bool readLatch(int address, uint8_t *latch, int count);
    int fieldValue(const char *name, uint8_t source) const;
    int fieldValueInMirror(const char *name) const;

    Bench &bench_;
    TQx_UP &up_;
    QTimer timer_;
    int blink_ = 0;
    int localTicks_ = 0;
};

} // namespace qx
