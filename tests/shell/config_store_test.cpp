#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "shell/config_store.h"
#include "support/bench_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qx;

namespace {
struct Fixture : test::BenchFixture {
    ConfigStore store{bench};
    QStringList calls;
    Fixture()
    {
        store.setAppTitle("QX-ENOB TEST for QX7020");
        store.setAfterLoad({[this] { calls << "load chip"; return true; },
                            [this](int t) { calls << QString("enable %1").arg(t); },
                            [this] { calls << "open port"; },
                            [this] { calls << "parallel"; }});
    }
    QString cfg() const { return dir.file("QxADC.cfg"); }
};
} // namespace

TEST(ConfigStore, FirstStartWritesThenReadsBack)
{
    Fixture f;
    const int groups = f.store.LoadConfig(f.cfg());
    EXPECT_EQ(groups, 17);
    const QByteArray written = f.dir.read("QxADC.cfg");
    EXPECT_TRUE(written.startsWith("QX-ENOB TEST for QX7020\r\n   0   0   0   0   0\r\nFALSE\r\n"));
    EXPECT_TRUE(written.endsWith("0B3F7\r\n\r\n"));
    EXPECT_EQ(f.store.values.calibrationReference, 500000);
    EXPECT_EQ(f.calls, (QStringList{"load chip", "enable 0", "open port"}));
}

TEST(ConfigStore, TitleKeyShortFileAndUnboundGroupsSurvive)
{
    Fixture f;
    f.bench.device().InterfaceType = 3;
    f.bench.device().ChipIndex = 1;
    f.store.values.setdmmFolder = "/cal";
    f.store.values.scaleShadow = {9, 8, 7, 6, 5, 4};
    f.store.values.calibrationReference = 1000;  // a stored 0 would read back as the default
    f.store.values.calibrationReading = 10;
    ASSERT_TRUE(f.store.SaveConfig(f.cfg()));

    // A load followed by a save keeps every group, bound or not.
    Fixture g;
    QFile::copy(f.cfg(), g.cfg());
    EXPECT_EQ(g.store.LoadConfig(g.cfg()), 17);
    EXPECT_EQ(g.bench.device().InterfaceType, 3);
    EXPECT_EQ(g.calls, (QStringList{"load chip", "enable 3", "parallel"}));
    ASSERT_TRUE(g.store.SaveConfig(g.cfg()));
    EXPECT_EQ(g.dir.read("QxADC.cfg"), f.dir.read("QxADC.cfg"));

    // Another title: nothing applied, no chip load.
    Fixture h;
    QFile::copy(f.cfg(), h.cfg());
    h.store.setAppTitle("Bench 2");
    EXPECT_EQ(h.store.LoadConfig(h.cfg()), -1);
    EXPECT_TRUE(h.calls.isEmpty());
    EXPECT_EQ(h.bench.device().InterfaceType, 0);
    ASSERT_TRUE(h.store.SaveConfig(h.cfg()));
    EXPECT_TRUE(h.dir.read("QxADC.cfg").startsWith("Bench 2\r\n"));

    // Bindings collect before a save and apply after a load.
    int applied = -1;
    g.store.bind({[](QxAdcConfig &c) { c.averageIndex = 6; }, [&](const QxAdcConfig &, int n) { applied = n; }});
    ASSERT_TRUE(g.store.SaveConfig(g.cfg()));
    g.store.values.averageIndex = 0;
    g.store.LoadConfig(g.cfg());
    EXPECT_EQ(g.store.values.averageIndex, 6);
    EXPECT_EQ(applied, 17);
}

TEST(ConfigStore, StepFileCreatedWhenMissing)
{
    Fixture f;
    f.store.steps.currentStep = 3;
    ASSERT_TRUE(f.store.LoadSteps(f.dir.file("StepADC.txt")));
    EXPECT_TRUE(QFile::exists(f.dir.file("StepADC.txt")));
    EXPECT_EQ(f.store.steps.currentStep, 3);
}
