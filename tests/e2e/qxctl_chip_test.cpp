// qxctl's chip commands as a user runs them: the built program, a port map
// in its ProgramDir, and the simulated chip on a pty served from this process.
#include "device/base_utils.h"
#include "sim/pty_rs232_server.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace qx;

namespace {

struct CtlResult {
    int rc = -1;
    QString out, err;
};

class QxctlChip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.open());
        server.start();
        dir.write("QxPorts.cfg", QString("COM1 %1\nCOM5 /dev/qx-no-such-port\n")
                                     .arg(QString::fromStdString(server.slavePath()))
                                     .toUtf8());
    }
    void TearDown() override { server.stop(); }

    CtlResult run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QX_PROGRAM_DIR", dir.path());
        env.insert("QXLAB", dir.path());
        env.insert("QX_SIM_DIR", dir.path() + "no-simulator");  // no bridge endpoints
        p.setProcessEnvironment(env);
        p.start(QString(QX_BIN_DIR) + "/qxctl", args);
        CtlResult r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static QString hex(const std::vector<uint8_t> &bytes)
    {
        QStringList parts;
        for (uint8_t b : bytes)
            parts << HexText(b, 2);
        return parts.join(' ');
    }

    sim::SimChip chip;
    sim::Rs232Protocol protocol{chip};
    sim::PtyRs232Server server{protocol};
    test::TempDir dir;
};

} // namespace

TEST_F(QxctlChip, ReadPrintsTheChipMemory)
{
    const CtlResult r = run({"read", "0", "64"});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);  // 16 bytes a line
    EXPECT_EQ(lines.join(' '), hex(chip.readBlock(0, 64)));
    // Two frames: the hello and the read.
    EXPECT_EQ(protocol.frames(), (std::vector<std::vector<uint8_t>>{{0x55}, {0xC0, 0x00, 0x00, 0x40}}));
}

TEST_F(QxctlChip, WriteAndWriteByteThroughAMappedOrAGivenDevice)
{
    CtlResult r = run({"--baud", "9600", "write", "0x100", "1", "0FFH", "1010B"});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(chip.readBlock(0x100, 3), (std::vector<uint8_t>{1, 0xFF, 10}));

    r = run({"--port", "COM2", "--device", QString::fromStdString(server.slavePath()), "writebyte", "20H", "0xA5"});
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "A5");
    EXPECT_EQ(chip.read(0x20), 0xA5);
}

TEST_F(QxctlChip, FailuresExitNonZeroWithTheStatusText)
{
    struct Case {
        QStringList args;
        int rc;
        const char *text;
    };
    const Case cases[] = {
        {{"--port", "COM5", "read", "0", "1"}, 1, "Uart  not  found"},
        {{"--interface", "SPI", "read", "0", "1"}, 1, "USB not Connect !!!"},
        {{"--interface", "dmm", "writebyte", "0x12", "1"}, 1, "USB not Connect !!!"},
        {{"--interface", "Parallel", "read", "0", "1"}, 1, "Parallel port not found"},
        {{"read", "0", "256"}, 2, "count"},
        {{"read", "FFH", "1"}, 2, "not a number"},
        {{"write", "0"}, 2, "usage"},
        {{"--baud", "1234", "read", "0", "1"}, 2, "baud"},
        {{"--interface", "I2C", "read", "0", "1"}, 2, "interface"},
    };
    for (const Case &c : cases) {
        const CtlResult r = run(c.args);
        EXPECT_EQ(r.rc, c.rc) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.text)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(protocol.frames().empty());
}
