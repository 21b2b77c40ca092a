// The tool against the simulator process: the assembled tool in this
// process, and the real qxbench program.
#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "shell/bench_app.h"
#include "shell/main_panel.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "transport/system_usb_transport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

using namespace qx;

namespace {

// A demo ProgramDir: the sample chips, and a configuration that starts on DMM.
struct DemoDir {
    test::TempDir dir;
    DemoDir()
    {
        QDir().mkpath(program());
        QDir().mkpath(lab() + "Include");
        QFile::copy(QString(QX_CHIPS_DIR) + "/QxSel.INC", program() + "QxSel.INC");
        QFile::copy(QString(QX_CHIPS_DIR) + "/QX7020.INC", lab() + "Include/QX7020.INC");
        QFile::copy(QString(QX_CHIPS_DIR) + "/MP202.INC", lab() + "Include/MP202.INC");
        dir.write("program/QxADC.cfg", "QX-ENOB TEST for QX7020\r\n   0   5   0   5   0\r\n");
        QDir().mkpath(sim());
        QFile::setPermissions(sim(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QString program() const { return dir.path() + "program/"; }
    QString lab() const { return dir.path() + "lab/"; }
    QString sim() const { return dir.path() + "sim/"; }
};

struct Simulator {
    QProcess process;
    explicit Simulator(const DemoDir &d)
    {
        process.start(QString(QX_BIN_DIR) + "/qxsim", {"--dir", d.sim(), "--ports", d.program()});
        QByteArray out;
        while (!out.contains("ready\n") && process.waitForReadyRead(5000))
            out += process.readAllStandardOutput();
        ready = out.contains("ready\n");
    }
    ~Simulator()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    bool ready = false;
};

} // namespace

TEST(ToolE2E, UsbScanConnectsAndCloseSavesTheConfiguration)
{
    DemoDir d;
    Simulator sim(d);
    ASSERT_TRUE(sim.ready);
    {
        VirtualClock clock;
        CountingEventPump pump;
        test::ScriptedPrompter prompter;
        BenchApp::Parts parts;
        parts.clock = &clock;
        parts.pump = &pump;
        parts.prompter = &prompter;
        parts.usb = MakeSimulatorUsbTransport(d.sim());
        BenchApp tool(ProgramPaths::at(d.program(), d.lab() + "Include"), std::move(parts));
        tool.main().show();
        tool.activate();
        EXPECT_EQ(tool.main().windowTitle(), "QX-ENOB TEST for QX7020");
        EXPECT_EQ(tool.bench().device().InterfaceType, 5);
        EXPECT_EQ(tool.bench().chip.desc.productName, "QX7020");

        tool.main().action("USBScan")->trigger();
        EXPECT_EQ(tool.main().statusText(0), "USB On Line");
        tool.main().action("Menu_ReadRAM")->trigger();
        EXPECT_TRUE(tool.readRam());

        tool.main().action("Menu_INTF")->trigger();
        EXPECT_EQ(tool.main().action("Menu_INTF")->text(), "INTF-Reading");
        tool.main().action("Menu_INTF")->trigger();
        EXPECT_EQ(tool.main().action("Menu_INTF")->text(), "INTF-Wait");

        QFile::remove(d.program() + "QxADC.cfg");
        tool.main().close();
        EXPECT_TRUE(prompter.shown.empty());
    }
    const QByteArray saved = d.dir.read("program/QxADC.cfg");
    EXPECT_TRUE(saved.startsWith("QX-ENOB TEST for QX7020\r\n   0   5   0   5   0\r\n")) << saved.toStdString();
    EXPECT_TRUE(QFile::exists(d.program() + "qxbench.wst"));
}

TEST(ToolE2E, ProgramStartsOffscreenAndClosesCleanlyOnSigterm)
{
    DemoDir d;
    Simulator sim(d);
    ASSERT_TRUE(sim.ready);
    QFile::remove(d.program() + "QxADC.cfg");  // a first start
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QX_PROGRAM_DIR", d.program());
    env.insert("QXLAB", d.lab());
    env.insert("QX_SIM_DIR", d.sim());
    tool.setProcessEnvironment(env);
    tool.start(QString(QX_BIN_DIR) + "/qxbench");
    ASSERT_TRUE(tool.waitForStarted(5000));
    // The activation step writes the configuration of a first start.
    for (int i = 0; i < 100 && !QFile::exists(d.program() + "QxADC.cfg"); ++i)
        tool.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(d.program() + "QxADC.cfg"));
    ::kill(pid_t(tool.processId()), SIGTERM);
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(d.program() + "qxbench.wst"));  // written by the normal close
    EXPECT_TRUE(d.dir.read("program/QxADC.cfg").contains("FALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\n"));
}
