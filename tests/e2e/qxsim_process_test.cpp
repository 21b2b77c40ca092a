// qxsim as a separate process: it serves its bridge endpoint to the tool's
// bridge search, maps its RS232 pty in QxPorts.cfg and shuts down cleanly.
#include "support/temp_dir.h"
#include "transport/system_usb_transport.h"
#include "transport/usb_bridge.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

using namespace qx;

namespace {

// The bridge commands the search needs, from their request bytes.
UsbTransport::Commands Commands(UsbTransport &t)
{
    UsbTransport::Commands c;
    c.identify = [&t](Devc &d) {
        uint8_t f[FrameBufferSize] = {0xF9, 0xAC};
        return d.Connected && t.UsbWriteReport(d, f, 2) && t.UsbReadReport(d, f, 8) && std::memcmp(f, "Tervalon", 8) == 0;
    };
    c.setting = [&t](Devc &d, int n, uint16_t value, uint16_t &answer) {
        uint8_t f[FrameBufferSize] = {0xF9, uint8_t(n), uint8_t(value), uint8_t(value >> 8)};
        if (!t.UsbWriteReport(d, f, 4) || !t.UsbReadReport(d, f, 8))
            return false;
        answer = uint16_t(f[0] | (f[1] << 8));
        return true;
    };
    return c;
}

} // namespace

TEST(QxsimProcess, ServesTheBridgeMapsThePtyAndStopsOnSigterm)
{
    for (const char *kind : {"--bulk", "--hid"}) {
        test::TempDir dir;
        const QString run = dir.file("run");
        QProcess sim;
        sim.start(QString(QX_BIN_DIR) + "/qxsim", {kind, "--dir", run, "--ports", dir.path(), "--com", "2"});
        ASSERT_TRUE(sim.waitForStarted(5000));
        QString output;
        while (!output.contains("ready\n") && sim.waitForReadyRead(5000))
            output += QString::fromUtf8(sim.readAllStandardOutput());
        ASSERT_TRUE(output.contains("ready\n")) << output.toStdString();
        const QString endpoint = run + (std::strcmp(kind, "--hid") == 0 ? "/QxHID-0" : "/QxUSB-0");
        EXPECT_TRUE(output.contains("bridge: " + endpoint)) << output.toStdString();
        const QString ports = QString::fromUtf8(dir.read("QxPorts.cfg"));
        EXPECT_TRUE(ports.startsWith("COM2 /dev/")) << ports.toStdString();
        EXPECT_TRUE(output.contains("rs232: " + ports.mid(5).trimmed())) << output.toStdString();

        auto transport = MakeSimulatorUsbTransport(run);
        transport->setCommands(Commands(*transport));
        Devc devc;
        uint8_t status = 0;
        ASSERT_TRUE(transport->UsbOpen(devc, status)) << kind;
        EXPECT_EQ(status, 1);
        // An SPI write and its read-back reach the simulated chip.
        uint8_t f[FrameBufferSize] = {0xB1, 0x40, 0x35, 0x00, 0x01, 0x6C};
        ASSERT_TRUE(transport->UsbWriteReport(devc, f, 6) && transport->UsbReadReport(devc, f, 1));
        uint8_t r[FrameBufferSize] = {0xB1, 0xC0, 0x35, 0x00, 0x01};
        ASSERT_TRUE(transport->UsbWriteReport(devc, r, 5) && transport->UsbReadReport(devc, r, 1));
        EXPECT_EQ(r[0], 0x6C) << kind;
        transport->UsbClose(devc);

        ::kill(pid_t(sim.processId()), SIGTERM);
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(sim.exitCode(), 0);
        EXPECT_TRUE(QString::fromUtf8(sim.readAllStandardOutput()).contains("stopped"));
        EXPECT_FALSE(QFileInfo::exists(endpoint)) << "socket left behind";
    }
}
