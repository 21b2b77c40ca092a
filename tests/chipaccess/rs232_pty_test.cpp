// The RS232 link end to end: Qt SerialPort on a pty, the simulator serving
// the chip on the pty's other side from its own thread, real time.
#include "chipaccess/qx_up.h"
#include "core/clock.h"
#include "core/event_pump.h"
#include "device/bench.h"
#include "sim/pty_rs232_server.h"
#include "support/scripted_prompter.h"
#include "transport/serial_ports.h"

#include <gtest/gtest.h>

using namespace qx;
using Bytes = std::vector<uint8_t>;

TEST(Rs232OverPty, ReadWriteAndByteWriteAgainstTheSimulator)
{
    sim::SimChip chip;
    sim::Rs232Protocol protocol(chip);
    sim::PtyRs232Server server(protocol);
    ASSERT_TRUE(server.open());
    server.start();

    SystemClock clock;
    CountingEventPump pump;
    test::ScriptedPrompter prompter;
    Bench bench(clock, pump, prompter, ProgramPaths::at("/nonexistent", "/nonexistent"));
    PortMap map;
    map.set("COM2", QString::fromStdString(server.slavePath()));
    SerialPorts ports(QtSerialPortOpener(clock), map);

    OpenChipPort(bench, ports, 1, 5, 1);  // COM2, 9600 baud, even parity
    ASSERT_TRUE(bench.device().Serial.IsOpen) << bench.status.text[0].toStdString();
    // A pty takes no parity; the status says what the port accepted.
    EXPECT_EQ(bench.status.text[0], "RS232 COM2 , Baud = 9600, Pariyt = None");

    TQx_UP up(bench);
    const auto memory = chip.memory();
    EXPECT_EQ(up.readBlock(0, 64), Bytes(memory.begin(), memory.begin() + 64));

    ASSERT_TRUE(up.WriteChipByte(0x20, 0x5A));
    EXPECT_EQ(bench.device().Mirror[0x20], 0x5A);
    EXPECT_EQ(chip.read(0x20), 0x5A);

    const Bytes block{1, 2, 3, 4, 5};
    ASSERT_TRUE(up.writeBlock(0x300, block));
    EXPECT_EQ(chip.readBlock(0x300, 5), block);
    EXPECT_EQ(protocol.frames().size(), 2u * 4u);  // hello + frame, four times
    server.stop();
}
