// Qt SerialPort behind SerialPortIo, on a pty whose far side the test drives.
#include "core/clock.h"
#include "device/bench.h"
#include "sim/pty_rs232_server.h"
#include "transport/serial_port_io.h"
#include "transport/serial_queue.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(QtSerialPort, QueueOperationsOnAPty)
{
    sim::SimChip chip;
    sim::Rs232Protocol protocol(chip);
    sim::PtyRs232Server server(protocol);
    ASSERT_TRUE(server.open());
    server.start();

    SystemClock clock;
    const auto opener = QtSerialPortOpener(clock);
    EXPECT_EQ(opener("/dev/does-not-exist"), nullptr);
    auto port = opener(QString::fromStdString(server.slavePath()));
    ASSERT_TRUE(port);

    // A pty keeps the rate but refuses parity; the settings say what it took.
    port->applySettings({19200, 8, 2, 0});
    EXPECT_EQ(port->settings().BaudRate, 19200);
    EXPECT_EQ(port->settings().ByteSize, 8);
    EXPECT_EQ(port->settings().Parity, 0);

    SerialLineState line;
    const uint8_t hello = 0x55;
    ASSERT_TRUE(SerialSend(*port, line, &hello, 1));
    EXPECT_EQ(line.written, 1);
    ASSERT_TRUE(SerialWaitInput(*port, line, clock, 1, 2000));
    EXPECT_EQ(line.errors, 0u);
    uint8_t buf[4] = {};
    EXPECT_EQ(SerialReceive(*port, line, buf, 4), 1);
    EXPECT_EQ(buf[0], 0xAA);

    // Nothing waits: the wait ends at its limit and a receive takes nothing.
    const int64_t start = clock.nowMs();
    EXPECT_FALSE(SerialWaitInput(*port, line, clock, 1, 50));
    EXPECT_GE(clock.nowMs() - start, 50);
    EXPECT_EQ(SerialReceive(*port, line, buf, 4), 0);

    // Discard drops what waits.
    const uint8_t read[] = {0xC0, 0x00, 0x00, 0x10};
    SerialSend(*port, line, read, 4);
    SerialWaitInput(*port, line, clock, 16, 2000);
    SerialDiscard(*port, line);
    SerialQuery(*port, line);
    EXPECT_EQ(line.queued, 0);
    port->close();
    server.stop();
}
