#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "shell/bench_app.h"
#include "shell/main_panel.h"
#include "shell/setup_form.h"
#include "views/memory_view.h"
#include "sim/bridge_model.h"
#include "sim/sim_chip.h"
#include "sim/sim_usb_transport.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace qx;

namespace {
struct Tool {
    test::TempDir dir;
    VirtualClock clock;
    CountingEventPump pump;
    test::ScriptedPrompter prompter;
    sim::SimChip chip;
    sim::BridgeModel bridge{chip};
    std::unique_ptr<BenchApp> app;
    explicit Tool(int interfaceType)
    {
        dir.write("QxADC.cfg", QByteArray("QX-ENOB TEST for QX7020\r\n   0   ") + QByteArray::number(interfaceType) +
                                   "   0   5   0\r\n");
        BenchApp::Parts parts;
        parts.clock = &clock;
        parts.pump = &pump;
        parts.prompter = &prompter;
        parts.usb = std::make_unique<sim::SimUsbTransport>(bridge);
        app = std::make_unique<BenchApp>(ProgramPaths::at(dir.path(), dir.path()), std::move(parts));
        app->activate();
        bridge.clearRequests();
    }
    void trigger(const char *name) { app->main().action(name)->trigger(); }
};
} // namespace

TEST(BenchApp, UsbScanOnlyOnBridgeInterfaces)
{
    for (int type : {0, 3}) {  // RS232, Parallel: nothing happens
        Tool t(type);
        t.trigger("USBScan");
        EXPECT_TRUE(t.bridge.requests().empty()) << type;
        EXPECT_EQ(t.app->main().statusText(0).contains("USB"), false) << type;
    }
    Tool dmm(5);
    dmm.trigger("USBScan");
    EXPECT_EQ(dmm.app->main().statusText(0), "USB On Line");
}

TEST(BenchApp, ReadRamSleepAndTheEndOfTheRun)
{
    Tool t(5);
    t.trigger("USBScan");
    std::vector<uint8_t> bytes(64);
    for (int i = 0; i < 64; ++i)
        bytes[size_t(i)] = uint8_t(0x80 + i);
    t.chip.load(0, bytes);
    t.trigger("Menu_ReadRAM");
    EXPECT_EQ(t.app->up().ReadMirror(63), 0xBF);
    EXPECT_EQ(t.app->up().ReadMirror(64), 0x00);  // only the first 64 bytes

    t.bridge.clearRequests();
    t.trigger("SLEEP1");
    ASSERT_EQ(t.bridge.requests().size(), 1u);
    EXPECT_EQ(t.bridge.requests()[0], (std::vector<uint8_t>{0xC2, 0x01, 0xFA, 0x01, 0xA5}));
    EXPECT_EQ(t.app->up().ReadMirror(0xFD), 0x00);  // the mirror is not updated

    // The end of the run powers the DMM front end down, then releases the bridge.
    t.bridge.clearRequests();
    t.app.reset();
    const auto r = t.bridge.requests();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[0], (std::vector<uint8_t>{0xF9, 0x10, 0x00}));
    EXPECT_EQ(r[1], (std::vector<uint8_t>{0xF9, 0x01, 0xFF, 0xFF}));
    EXPECT_FALSE(t.bridge.dmmPowered());
}

TEST(BenchApp, WindowsOpenAtTheLastCloseComeBackAfterStartUp)
{
    Tool first(5);
    first.app->main().show();
    first.trigger("SMenu_RAM");
    first.app->main().panels().frameOf(static_cast<QWidget *>(&first.app->memoryView()))->move(30, 20);
    first.app->main().close();
    const QByteArray placement = first.dir.read("qxbench.wst");
    ASSERT_TRUE(placement.contains("Qx_RAM\r\n   30   20")) << placement.toStdString();

    Tool again(5);
    again.dir.write("qxbench.wst", placement);
    again.app->main().show();
    again.app->activate();
    QWidget *ram = static_cast<QWidget *>(&again.app->memoryView());
    EXPECT_TRUE(again.app->main().panels().isShown(ram));
    EXPECT_EQ(again.app->main().panels().frameOf(ram)->pos(), QPoint(30, 20));
    EXPECT_FALSE(again.app->main().panels().isShown(static_cast<QWidget *>(&again.app->setup())));
}

TEST(BenchApp, AConfigurationThatCannotBeSavedIsReported)
{
    Tool t(5);
    t.app->main().show();
    QFile::remove(t.dir.file("QxADC.cfg"));
    QDir().mkdir(t.dir.file("QxADC.cfg"));  // a folder where the file should go
    t.app->main().close();
    EXPECT_TRUE(t.app->main().statusText(1).startsWith("QxADC.cfg not saved: ")) << t.app->main().statusText(1).toStdString();
    ASSERT_EQ(t.prompter.messages().size(), 1);
    EXPECT_TRUE(t.prompter.messages()[0].startsWith("The configuration could not be saved"));
    EXPECT_TRUE(QFileInfo(t.dir.file("QxADC.cfg")).isDir());
}
