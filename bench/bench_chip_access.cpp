// One single-register write on the DMM interface against the in-process
// simulator: write frame, read-back frame, mirror store and eight view
// refreshes. Waits run on a virtual clock, so the figure is our own cost.
#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "device/bench.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "sim/sim_usb_transport.h"

#include <benchmark/benchmark.h>


static void BM_WriteChipByteDmm(benchmark::State &state)
{
    qx::VirtualClock clock;
    qx::CountingEventPump pump;
    qx::SilentPrompter prompter;
    qx::Bench bench(clock, pump, prompter, qx::ProgramPaths::at("/nonexistent", "/nonexistent"));
    qx::sim::SimChip chip;
    qx::sim::BridgeModel bridge(chip);
    qx::sim::SimUsbTransport usb(bridge);
    qx::TQx_UP up(bench, &usb);
    bench.device().InterfaceType = uint16_t(qx::InterfaceKind::DMM);
    if (!up.USBConnect()) {
        state.SkipWithError("simulated bridge did not connect");
        return;
    }
    // Each refresh reads a stretch of the mirror, as a view's redraw would.
    unsigned sink = 0;
    for (int s = 0; s < qx::ViewSlotCount; ++s)
        up.views().set(qx::ViewSlot(s), [&bench, &sink, s] {
            for (int a = s * 16; a < s * 16 + 16; ++a)
                sink += bench.device().Mirror[size_t(a)];
        });
    bridge.setRecording(false);
    uint8_t value = 0;
    for (auto _ : state) {
        if (!up.WriteChipByte(0x3D, value++)) {
            state.SkipWithError("write failed");
            break;
        }
    }
    benchmark::DoNotOptimize(sink);
}
BENCHMARK(BM_WriteChipByteDmm)->Unit(benchmark::kMicrosecond);
