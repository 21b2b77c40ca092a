// The memory and register views on the in-process simulator: one register
// write with both views shown, and full view refreshes.
#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "device/bench.h"
#include "device/chip_definition_loader.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "sim/sim_usb_transport.h"
#include "views/memory_view.h"
#include "views/register_view.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Both views shown, the sample chip loaded, SPI through the simulated bridge.
struct ViewsOnSimulator {
    qx::VirtualClock clock;
    qx::CountingEventPump pump;
    qx::SilentPrompter prompter;
    qx::Bench bench{clock, pump, prompter, qx::ProgramPaths::at(QX_CHIPS_DIR, QX_CHIPS_DIR)};
    qx::sim::SimChip chip;
    qx::sim::BridgeModel bridge{chip};
    qx::sim::SimUsbTransport usb{bridge};
    qx::TQx_UP up{bench, &usb};
    qx::HexAsker never = [](int, int, const QString &, const QString &, const QString &) { return qx::HexAnswer{}; };
    qx::TQx_RAM ram{bench, up, never};
    qx::TQx_Reg2 reg{bench, up, never};

    bool ready = false;

    ViewsOnSimulator()
    {
        QFile f(QStringLiteral(QX_CHIPS_DIR) + "/QX7020.INC");
        if (!f.open(QIODevice::ReadOnly))
            return;
        qx::LoadDefinitionLines(bench.chip, QString::fromUtf8(f.readAll()).split('\n'));
        bench.definitionLoaded.call();
        bench.device().InterfaceType = uint16_t(qx::InterfaceKind::SPI);
        ready = up.USBConnect();
        ram.show();
        reg.show();
        QApplication::processEvents();
    }
};

void BM_WriteChipByteBothViews(benchmark::State &state)
{
    ViewsOnSimulator v;
    if (!v.ready)
        state.SkipWithError("sample chip or simulated bridge missing");
    const bool paint = state.range(0) != 0;
    uint8_t value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v.up.WriteChipByte(0x22, ++value));
        if (paint)
            QApplication::processEvents();  // let both grids repaint what changed
    }
}
BENCHMARK(BM_WriteChipByteBothViews)->Arg(0)->Arg(1)->ArgNames({"paint"})->Unit(benchmark::kMicrosecond);

void BM_UpdateViewsBothViews(benchmark::State &state)
{
    ViewsOnSimulator v;
    uint8_t value = 0;
    for (auto _ : state)
        v.up.UpdateViews(0x90, ++value);
}
BENCHMARK(BM_UpdateViewsBothViews)->Unit(benchmark::kMicrosecond);

// A full refresh of the memory view and its repaint; with allChanged every
// byte of the bank differs from the previous refresh (the worst case).
void BM_MemoryViewRefresh(benchmark::State &state)
{
    ViewsOnSimulator v;
    const bool allChanged = state.range(0) != 0;
    uint8_t fill = 0;
    for (auto _ : state) {
        if (allChanged) {
            ++fill;
            for (int a = 0; a < 256; ++a)
                v.bench.device().Mirror[size_t(a)] = uint8_t(a + fill);
        }
        v.ram.Refresh(false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MemoryViewRefresh)->Arg(0)->Arg(1)->ArgNames({"allChanged"})->Unit(benchmark::kMicrosecond);

void BM_RegisterViewRefresh(benchmark::State &state)
{
    ViewsOnSimulator v;
    for (auto _ : state) {
        v.reg.Refresh(false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RegisterViewRefresh)->Unit(benchmark::kMicrosecond);

} // namespace
