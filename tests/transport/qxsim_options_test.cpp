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

TEST(QxsimOptions, AnalogInputs)
{
    QString error;
    const auto o = ParseQxsimOptions({"--adc1-volts", "-0.25", "--adc1-offset-uv", "12.5", "--adc1-noise-uv", "2",
                                      "--adc2-volts", "0.5", "--adc2-noise-uv", "0", "--frequency", "4915",
                                      "--duty", "25", "--resistor", "1500", "--reference-ohms", "1000", "--seed", "42"},
                                     error);
    ASSERT_TRUE(o) << error.toStdString();
    const ChipInputs &in = o->inputs;
    EXPECT_DOUBLE_EQ(in.adc1.volts, -0.25);
    EXPECT_DOUBLE_EQ(in.adc1.offsetVolts, 12.5e-6);
    EXPECT_DOUBLE_EQ(in.adc1.noiseVolts, 2e-6);
    EXPECT_DOUBLE_EQ(in.adc2.volts, 0.5);
    EXPECT_DOUBLE_EQ(in.adc2.noiseVolts, 0);
    EXPECT_DOUBLE_EQ(in.adc2.offsetVolts, ChipInputs{}.adc2.offsetVolts);  // untouched: the default
    EXPECT_DOUBLE_EQ(in.counterHz, 4915);
    EXPECT_DOUBLE_EQ(in.counterDuty, 0.25);
    EXPECT_DOUBLE_EQ(in.resistorOhms, 1500);
    EXPECT_DOUBLE_EQ(in.referenceOhms, 1000);
    EXPECT_EQ(in.seed, 42u);

    for (const QStringList &bad : {QStringList{"--adc1-noise-uv", "-1"}, QStringList{"--duty", "101"},
                                   QStringList{"--resistor", "0"}, QStringList{"--frequency", "nan"},
                                   QStringList{"--adc2-volts"}, QStringList{"--seed", "-3"}}) {
        error.clear();
        EXPECT_FALSE(ParseQxsimOptions(bad, error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    for (const char *option : {"--adc1-volts", "--adc1-offset-uv", "--adc1-noise-uv", "--adc2-volts", "--adc2-offset-uv",
                               "--adc2-noise-uv", "--frequency", "--duty", "--resistor", "--reference-ohms", "--seed"})
        EXPECT_TRUE(QxsimUsage().contains(QLatin1String(option))) << option;
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
