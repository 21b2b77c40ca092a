// Start-up of the whole tool: every window created, the configuration and
// the sample definition loaded, the main window shown.
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "core/prompter.h"
#include "shell/bench_app.h"
#include "shell/main_panel.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "sim/sim_usb_transport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

static void BM_StartupToMainWindowShown(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString d = dir.path() + "/";
    QFile::copy(QString(QX_CHIPS_DIR) + "/QxSel.INC", d + "QxSel.INC");
    QFile::copy(QString(QX_CHIPS_DIR) + "/QX7020.INC", d + "QX7020.INC");
    qx::VirtualClock clock;
    qx::CountingEventPump pump;
    qx::SilentPrompter prompter;
    qx::sim::SimChip chip;
    qx::sim::BridgeModel bridge(chip);
    for (auto _ : state) {
        qx::BenchApp::Parts parts;
        parts.clock = &clock;
        parts.pump = &pump;
        parts.prompter = &prompter;
        parts.usb = std::make_unique<qx::sim::SimUsbTransport>(bridge);
        qx::BenchApp tool(qx::ProgramPaths::at(d, d), std::move(parts));
        tool.main().show();
        tool.activate();
        QApplication::processEvents();
        benchmark::DoNotOptimize(tool.main().isVisible());
    }
}
BENCHMARK(BM_StartupToMainWindowShown)->Unit(benchmark::kMillisecond);
