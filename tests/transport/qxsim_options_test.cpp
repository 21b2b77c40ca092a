#include "sim/qxsim_options.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qx;
using namespace qx::sim;

TEST(QxsimOptions, CommandLines)
{
    struct Case { QStringList args; bool ok; bool hid; int number; int latency; QString endpoint; };
    const Case cases[] = {
        {{"--dir", "/run/x"}, true, false, 0, 0, "/run/x/QxUSB-0"},
        {{"--dir", "/run/x", "--hid", "--number", "5", "--latency-ms", "1"}, true, true, 5, 1, "/run/x/QxHID-5"},
        {{"--dir", "/run/x", "--hid", "--number", "127"}, true, true, 127, 0, "/run/x/QxHID-127"},
        {{"--dir", "/run/x", "--number", "31"}, true, false, 31, 0, "/run/x/QxUSB-31"},
        {{"--number", "32"}, false, false, 0, 0, ""},  // beyond the bulk names
        {{"--number"}, false, false, 0, 0, ""},
        {{"--latency-ms", "-1"}, false, false, 0, 0, ""},
        {{"--dir"}, false, false, 0, 0, ""},
        {{"--frobnicate"}, false, false, 0, 0, ""},
    };
    for (const Case &c : cases) {
        QString error;
        const auto o = ParseQxsimOptions(c.args, error);
        ASSERT_EQ(o.has_value(), c.ok) << c.args.join(' ').toStdString();
        if (!o) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_EQ(o->hid, c.hid);
        EXPECT_EQ(o->number, c.number);
        EXPECT_EQ(o->latencyMs, c.latency);
        EXPECT_EQ(EndpointPath(*o), c.endpoint);
    }
}

TEST(QxsimOptions, PortsFileMapsTheComNameAndKeepsOtherLines)
{
    test::TempDir dir;
    QString error;
    ASSERT_TRUE(UpdatePortsFile(dir.path(), 1, "/dev/pts/7", error)) << error.toStdString();
    EXPECT_EQ(dir.read("QxPorts.cfg"), "COM1 /dev/pts/7\n");

    dir.write("QxPorts.cfg", "# bench 3\nCOM3 /dev/ttyUSB0\ncom1  /dev/pts/2\n\n");
    ASSERT_TRUE(UpdatePortsFile(dir.path(), 1, "/dev/pts/9", error));
    EXPECT_EQ(dir.read("QxPorts.cfg"), "# bench 3\nCOM3 /dev/ttyUSB0\nCOM1 /dev/pts/9\n");
    ASSERT_TRUE(UpdatePortsFile(dir.path(), 4, "/dev/pts/10", error));
    EXPECT_EQ(dir.read("QxPorts.cfg"), "# bench 3\nCOM3 /dev/ttyUSB0\nCOM1 /dev/pts/9\nCOM4 /dev/pts/10\n");
}
