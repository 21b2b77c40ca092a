// The setup form's serial lists and the port map.
#include "core/program_paths.h"
#include "support/temp_dir.h"
#include "transport/port_map.h"
#include "transport/serial_lookups.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(SerialLookups, ListsByIndex)
{
    EXPECT_EQ(GetCOMString(0), "COM1");
    EXPECT_EQ(GetCOMString(16), "COM17");
    EXPECT_EQ(GetCOMString(17), "");
    EXPECT_EQ(GetCOMString(-1), "");

    EXPECT_EQ(BaudRateValue(0), 300);
    EXPECT_EQ(BaudRateValue(5), 9600);
    EXPECT_EQ(BaudRateValue(9), 115200);
    EXPECT_EQ(BaudRateValue(10), 0);
    EXPECT_EQ(BaudRateIndex(57600), 8);
    EXPECT_EQ(BaudRateIndex(1234), -1);

    struct P {
        int index;
        uint16_t code;
        const char *text;
    };
    for (const P p : {P{0, 0, "None"}, P{1, 2, "EVEN"}, P{2, 1, "ODD"}}) {
        EXPECT_EQ(GetParity(p.index), p.code);
        EXPECT_EQ(GetParityText(p.index), p.text);
        EXPECT_EQ(ParityIndexOfCode(p.code), p.index);
    }
}

TEST(PortMap, MappedUnmappedAndInvalidNames)
{
    const PortMap map = PortMap::parse("# bench PC\n"
                                       "COM3 /dev/ttyUSB0\r\n"
                                       "  com4\t/dev/pts/7   # the simulator\n"
                                       "COM18 /dev/ttyUSB9\n"
                                       "COM5\n"
                                       "COM3 /dev/ttyUSB1\n");
    EXPECT_EQ(map.devicePath("COM3"), "/dev/ttyUSB1");  // the last line wins
    EXPECT_EQ(map.devicePath("COM4"), "/dev/pts/7");
    EXPECT_EQ(map.devicePath("com4"), "/dev/pts/7");
    EXPECT_EQ(map.devicePath("COM5"), "/dev/ttyS4");
    EXPECT_EQ(map.devicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(map.devicePath("COM17"), "/dev/ttyS16");
    EXPECT_EQ(map.devicePath("COM18"), "");
    EXPECT_EQ(map.devicePath("LPT1"), "");

    test::TempDir dir;
    dir.write("QxPorts.cfg", "COM2 /dev/ttyACM0\n");
    EXPECT_EQ(PortMap::load(ProgramPaths::at(dir.path(), dir.path())).devicePath("COM2"), "/dev/ttyACM0");
    test::TempDir empty;
    EXPECT_EQ(PortMap::load(ProgramPaths::at(empty.path(), empty.path())).devicePath("COM2"), "/dev/ttyS1");
}
