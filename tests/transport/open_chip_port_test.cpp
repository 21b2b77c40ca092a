// Opening the chip's serial port from the setup form's choices.
#include "core/clock.h"
#include "core/event_pump.h"
#include "device/bench.h"
#include "support/fake_serial_port.h"
#include "support/scripted_prompter.h"
#include "transport/serial_ports.h"

#include <gtest/gtest.h>

using namespace qx;

namespace {
struct PortBench {
    PortBench()
    {
        PortMap map;
        map.set("COM3", "/dev/fake3");
        map.set("COM4", "/dev/fake4");
        com3 = fakes.add("/dev/fake3");
        com4 = fakes.add("/dev/fake4");
        ports = std::make_unique<SerialPorts>(fakes.opener(), map);
    }
    VirtualClock clock;
    CountingEventPump pump;
    test::ScriptedPrompter prompter;
    Bench bench{clock, pump, prompter, ProgramPaths::at("/nonexistent", "/nonexistent")};
    test::FakePorts fakes;
    std::shared_ptr<test::FakeSerialPort> com3, com4;
    std::unique_ptr<SerialPorts> ports;
    DevcRS232 &serial() { return bench.device().Serial; }
};
} // namespace

TEST(OpenChipPort, OpensAppliesAndReports)
{
    struct Case {
        int baud, parity;
        int32_t rate;
        uint16_t code;
        const char *text;
    };
    for (const Case c : {Case{9, 2, 115200, 1, "RS232 COM3 , Baud = 115200, Pariyt = ODD"},
                         Case{5, 1, 9600, 2, "RS232 COM3 , Baud = 9600, Pariyt = EVEN"},
                         Case{0, 0, 300, 0, "RS232 COM3 , Baud = 300, Pariyt = None"}}) {
        PortBench b;
        OpenChipPort(b.bench, *b.ports, 2, c.baud, c.parity);
        EXPECT_EQ(b.bench.status.text[0], c.text);
        EXPECT_EQ(b.serial().Parity, c.code);
        EXPECT_EQ(b.serial().BaudRate, c.rate);
        EXPECT_EQ(b.serial().PortName, "COM3");
        EXPECT_EQ(b.serial().IsOpen, 1);
        EXPECT_EQ(b.serial().Handle, b.com3);
        EXPECT_EQ(b.com3->current, (SerialLineSettings{c.rate, 8, c.code, 0}));
        EXPECT_EQ(b.ports->OpenedPorts, 1u << 2);
        EXPECT_EQ(b.bench.device().ComIndex, 2);
    }
}

TEST(OpenChipPort, MissingPortLeavesPanel1Alone)
{
    PortBench b;
    b.bench.status.text[1] = "Parity Fail";
    OpenChipPort(b.bench, *b.ports, 0, 5, 0);  // COM1 -> /dev/ttyS0, not a fake
    EXPECT_EQ(b.bench.status.text[0], "Uart  not  found");
    EXPECT_EQ(b.bench.status.text[1], "Parity Fail");
    EXPECT_EQ(b.serial().IsOpen, 0);
    EXPECT_FALSE(b.serial().Handle);
    EXPECT_EQ(b.ports->OpenedPorts, 0u);
    OpenChipPort(b.bench, *b.ports, 20, 5, 0);  // no such list entry
    EXPECT_EQ(b.bench.status.text[0], "Uart  not  found");
}

TEST(OpenChipPort, SamePortIsNotReopenedAndEachPortKeepsItsHandle)
{
    PortBench b;
    OpenChipPort(b.bench, *b.ports, 2, 5, 0);
    OpenChipPort(b.bench, *b.ports, 2, 9, 0);  // only the baud rate changes
    EXPECT_EQ(b.fakes.opens.value("/dev/fake3"), 1);
    EXPECT_EQ(b.com3->applyCount, 2);
    EXPECT_EQ(b.com3->current.BaudRate, 115200);

    OpenChipPort(b.bench, *b.ports, 3, 5, 0);
    EXPECT_EQ(b.serial().Handle, b.com4);
    OpenChipPort(b.bench, *b.ports, 2, 6, 0);  // back to COM3: its own handle again
    EXPECT_EQ(b.serial().Handle, b.com3);
    EXPECT_EQ(b.com3->current.BaudRate, 19200);
    EXPECT_EQ(b.com4->current.BaudRate, 9600);
    EXPECT_EQ(b.fakes.opens.value("/dev/fake3"), 1);
    EXPECT_EQ(b.fakes.opens.value("/dev/fake4"), 1);
    EXPECT_EQ(b.ports->OpenedPorts, (1u << 2) | (1u << 3));
    EXPECT_FALSE(b.com4->closed);

    b.ports->closeAll();  // program end
    EXPECT_TRUE(b.com3->closed);
    EXPECT_TRUE(b.com4->closed);
}

TEST(OpenChipPort, ReportsTheParityThePortAccepted)
{
    PortBench b;
    b.com3->refuseParity = true;
    OpenChipPort(b.bench, *b.ports, 2, 5, 1);
    EXPECT_EQ(b.serial().IsOpen, 1);
    EXPECT_EQ(b.bench.status.text[0], "RS232 COM3 , Baud = 9600, Pariyt = None");
}
