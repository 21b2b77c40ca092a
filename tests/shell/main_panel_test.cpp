#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "device/chip_definition_loader.h"
#include "shell/main_menu.h"
#include "shell/main_panel.h"
#include "support/bench_fixture.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>

#include <gtest/gtest.h>

using namespace qx;

namespace {
using Fixture = test::BenchFixture;
} // namespace

TEST(MainPanel, TitleMenusAndTheInstrumentRule)
{
    Fixture f;
    TMainPanel main(f.bench);
    EXPECT_EQ(main.objectName(), "MainPanel");
    EXPECT_EQ(main.windowTitle(), "QX-ENOB TEST for QX7020");
    for (const MenuItemSpec &m : MainMenuItems()) {
        QAction *a = main.action(m.name);
        ASSERT_NE(a, nullptr) << m.name;
        EXPECT_EQ(a->isVisible(), !m.hidden) << m.name;
    }
    EXPECT_EQ(main.action("Regist")->text(), QString::fromUtf8("連續讀取"));
    EXPECT_EQ(main.action("Menu_INTF")->text(), "INTF-Wait");
    main.showPollState(true);
    EXPECT_EQ(main.action("Menu_INTF")->text(), "INTF-Reading");
    main.showPollState(false);
    EXPECT_EQ(main.action("Menu_INTF")->text(), "INTF-Wait");

    LoadDefinitionLines(f.bench.chip, {"#FLUKE", "ANY"});
    f.bench.definitionLoaded.call();
    for (const char *name : {"Memu_File", "Regist", "Fluke1", "Power1"})
        EXPECT_TRUE(main.action(name)->isVisible()) << name;
    EXPECT_FALSE(main.action("BryMenShow1")->isVisible());
    LoadDefinitionLines(f.bench.chip, {"#PRODUCT", "X"});
    f.bench.definitionLoaded.call();
    EXPECT_FALSE(main.action("Fluke1")->isVisible());

    main.setStatusText(0, "USB On Line");
    EXPECT_EQ(main.statusText(0), "USB On Line");
    EXPECT_NE(main.findChild<QWidget *>("StatusBar1"), nullptr);
    EXPECT_NE(main.findChild<QWidget *>("Gauge1"), nullptr);
}

TEST(MainPanel, ClosedPanelComesBackAtItsPlaceAndPlacementPersists)
{
    Fixture f;
    {
        TMainPanel main(f.bench);
        auto *panel = new QLabel("memory");
        panel->setObjectName("Qx_RAM");
        main.panels().adopt(panel);
        main.show();
        EXPECT_FALSE(main.panels().isShown(panel));
        main.ShowPanel(panel);
        QMdiSubWindow *frame = main.panels().frameOf(panel);
        frame->setGeometry(40, 50, 300, 200);
        frame->close();  // the close box only hides
        EXPECT_FALSE(main.panels().isShown(panel));
        main.ShowPanel(panel);
        EXPECT_TRUE(main.panels().isShown(panel));
        EXPECT_EQ(frame->geometry(), QRect(40, 50, 300, 200));
        main.close();
    }
    ASSERT_TRUE(QFile::exists(f.dir.file("qxbench.wst")));
    TMainPanel again(f.bench);
    auto *panel = new QLabel("memory");
    panel->setObjectName("Qx_RAM");
    again.panels().adopt(panel);
    again.show();
    EXPECT_TRUE(again.panels().isShown(panel));
    EXPECT_EQ(again.panels().frameOf(panel)->geometry(), QRect(40, 50, 300, 200));
}
