#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "device/bench.h"
#include "device/chip_definition_loader.h"
#include "shell/setup_form.h"
#include "support/bench_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace qx;

namespace {
struct Fixture : test::BenchFixture {
    QStringList calls;
    SetupServices services()
    {
        SetupServices s;
        s.openChipPort = [this](int c, int b, int p) { calls << QString("open %1 %2 %3").arg(c).arg(b).arg(p); };
        s.uartLinkSetup = [this] { calls << "uart"; return true; };
        s.parallelInit = [this] { calls << "parallel"; };
        s.loadChipDefinition = [this] { calls << QString("load %1").arg(bench.device().ChipIndex); return true; };
        s.devicePath = [](const QString &name) { return "/dev/fake-" + name; };
        return s;
    }
};
} // namespace

TEST(SetupForm, ControlsAndInitialState)
{
    Fixture f;
    TOption form(f.bench, f.services());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("選項"));
    EXPECT_EQ(form.CbSeluP->count(), 64);  // no selection file: the built-in list
    EXPECT_EQ(form.CbSeluP->itemText(1), "MP408  (8k)");
    EXPECT_EQ(form.TXCOM->count(), 16);
    EXPECT_EQ(form.TXBaud->itemText(9), "115200");
    EXPECT_EQ(form.CLPT->itemText(2), "PRN1 : 0x3BC");
    EXPECT_FALSE(form.CLPT->isEnabled());
    EXPECT_TRUE(form.Photo->isChecked());
    EXPECT_EQ(form.BtClose->text(), QString::fromUtf8("關閉"));
    EXPECT_EQ(form.TXCOM->itemData(2, Qt::ToolTipRole).toString(), "/dev/fake-COM3");
    EXPECT_TRUE(f.calls.isEmpty());
    for (const char *name : {"SelIOLPT", "FlukeCOM", "PowerSelect", "ChamberCOM", "BryMemButtom", "ChennalCom", "Label9"})
        EXPECT_NE(form.findChild<QWidget *>(name), nullptr) << name;
}

TEST(SetupForm, InterfaceChoiceEnablesItsControls)
{
    Fixture f;
    TOption form(f.bench, f.services());
    form.show();
    form.SelLPT->setCurrentIndex(3);  // Parallel
    EXPECT_TRUE(form.CLPT->isEnabled());
    EXPECT_FALSE(form.TXCOM->isEnabled());
    EXPECT_TRUE(f.calls.isEmpty());
    form.TXBaud->setCurrentIndex(5);
    f.calls.clear();
    form.SelLPT->setCurrentIndex(0);  // RS232 opens the port
    EXPECT_FALSE(form.CLPT->isEnabled());
    EXPECT_TRUE(form.TXParity->isEnabled());
    EXPECT_EQ(f.calls, QStringList{"open 0 5 0"});
    f.calls.clear();
    form.SelLPT->setCurrentIndex(4);  // UART sets the link up
    EXPECT_EQ(f.calls, QStringList{"uart"});
    EXPECT_FALSE(form.TXBaud->isEnabled());
    EXPECT_EQ(f.bench.device().InterfaceType, 4);

    // The instrument port lists share the chip port's handler.
    f.calls.clear();
    form.FlukeCOM->setCurrentIndex(4);
    EXPECT_EQ(f.calls, QStringList{"open 0 5 0"});

    // Closing with Parallel initialises the port once.
    form.SelLPT->setCurrentIndex(3);
    f.calls.clear();
    QObject::connect(&form, &TOption::closeRequested, &form, &QWidget::hide);
    form.BtClose->click();
    EXPECT_EQ(f.calls, QStringList{"parallel"});
}

TEST(SetupForm, ChipChoiceAndChannels)
{
    Fixture f;
    TOption form(f.bench, f.services());
    form.CbSeluP->setCurrentIndex(3);
    EXPECT_EQ(f.calls, QStringList{"load 3"});
    EXPECT_EQ(f.bench.device().ChipIndex, 3);

    f.bench.device().InterfaceType = 5;
    f.bench.device().ComIndex = 2;
    f.calls.clear();
    form.ChennalComChange();
    EXPECT_EQ(form.SelLPT->currentIndex(), 5);
    EXPECT_EQ(form.TXCOM->currentIndex(), 2);
    EXPECT_EQ(f.calls, QStringList{"load 3"});

    form.ChennalCom->setCurrentIndex(7);
    f.calls.clear();
    form.BryMemChannel->setCurrentIndex(2);  // channel 7 does not exist: refused
    EXPECT_TRUE(f.calls.isEmpty());
    EXPECT_EQ(f.bench.CurrentChannel, 0);

    LoadDefinitionLines(f.bench.chip, {"#FLUKE", "X"});
    f.bench.definitionLoaded.call();
    form.show();
    EXPECT_TRUE(form.FlukeSelect->isVisible());
    LoadDefinitionLines(f.bench.chip, {"#PRODUCT", "Y"});
    f.bench.definitionLoaded.call();
    EXPECT_FALSE(form.FlukeSelect->isVisible());
}
