#include "shell/setup_form.h"

#include "device/bench.h"
#include "device/chip_selection.h"
#include "device/device_record.h"
#include "shell/qxadc_config.h"
#include "shell/setup_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace qx {

namespace {
QStringList comNames(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QString("COM%1").arg(i);
    return l;
}

QComboBox *list(QWidget *parent, const char *name, const QStringList &items)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    return c;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}
} // namespace

TOption::TOption(Bench &bench, SetupServices services, QWidget *parent)
    : QWidget(parent), bench_(bench), services_(std::move(services))
{
    setObjectName("Option");
    setWindowTitle(QString::fromUtf8("選項"));
    build();
    FormCreate();
    bench_.definitionLoaded.add([this] { applyDefinition(); });
}

template <typename F>
void TOption::quietly(F f)
{
    const bool was = quiet_;
    quiet_ = true;
    f();
    quiet_ = was;
}

void TOption::build()
{
    auto *grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetMinimumSize);
    int row = 0;
    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        return l;
    };

    CbSeluP = list(this, "CbSeluP", {});
    grid->addWidget(label("LabelChip", "Select Chip "), row, 0);
    grid->addWidget(CbSeluP, row++, 1, 1, 3);

    auto *radio = new QRadioButton("Interfafce", this);
    radio->setObjectName("SelIOLPT");
    radio->setChecked(true);
    auto *group = new QGroupBox("Communication", this);
    group->setObjectName("GroupCommunication");
    auto *g = new QGridLayout(group);
    SelLPT = list(group, "SelLPT", {"RS232", "SPI", "Special", "Parallel", "UART", "DMM"});
    TXCOM = list(group, "TXCOM", comNames(16));
    TXBaud = list(group, "TXBaud", {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"});
    TXParity = list(group, "TXParity", {"None", "Even", "Odd"});
    CLPT = list(group, "CLPT", {"LPT1 : 0x378", "LPT2 : 0x278", "PRN1 : 0x3BC"});
    Photo = new QCheckBox(QString::fromUtf8("光耦合"), group);
    Photo->setObjectName("Photo");
    Photo->setChecked(true);
    g->addWidget(radio, 0, 0);
    g->addWidget(SelLPT, 0, 1);
    g->addWidget(Photo, 0, 2);
    g->addWidget(new QLabel("COM", group), 1, 0);
    g->addWidget(TXCOM, 1, 1);
    g->addWidget(new QLabel("Baud", group), 2, 0);
    g->addWidget(TXBaud, 2, 1);
    g->addWidget(new QLabel("Parity", group), 3, 0);
    g->addWidget(TXParity, 3, 1);
    g->addWidget(new QLabel("LPT Address", group), 4, 0);
    g->addWidget(CLPT, 4, 1);
    grid->addWidget(group, row++, 0, 1, 4);

    QLabel *label9 = label("Label9", "Select Channel ");
    QStringList channels;
    for (int i = 0; i < 16; ++i)
        channels << QString::number(i);
    ChennalCom = list(this, "ChennalCom", channels);
    grid->addWidget(label9, row, 0);
    grid->addWidget(ChennalCom, row++, 1);
    instrumentControls_ << label9 << ChennalCom;

    auto instrument = [&](const char *heading, const char *headingName, QComboBox *&com, const char *comName,
                          QPushButton *&select, const char *selectName) {
        QLabel *h = label(headingName, QString::fromUtf8(heading));
        grid->addWidget(h, row++, 0, 1, 4);
        com = list(this, comName, comNames(17));
        select = button(this, selectName, "Select");
        grid->addWidget(com, row, 1);
        grid->addWidget(select, row++, 2);
        instrumentControls_ << h << com << select;
    };
    instrument("======================Fluke5500===================", "LabelFluke", FlukeCOM, "FlukeCOM",
               FlukeSelect, "FlukeSelect");
    instrument("======================Power Supply=================", "LabelPower", PowerCOM, "PowerCOM",
               PowerSelect, "PowerSelect");
    instrument("======================Chamber=================", "LabelChamber", ChamberCOM, "ChamberCOM",
               ChamberSelect, "ChamberSelect");
    QLabel *bry = label("LabelBryMen", "======================BryMen======================");
    grid->addWidget(bry, row++, 0, 1, 4);
    BryMemChannel = list(this, "BryMemChannel", {"0", "1", "2", "3", "4", "5"});
    BryMemCom = list(this, "BryMemCom", comNames(17));
    BryMemButtom = button(this, "BryMemButtom", "Select");
    QLabel *bryChannel = label("LabelBryMenChannel", "Select Channel ");
    grid->addWidget(bryChannel, row, 0);
    grid->addWidget(BryMemChannel, row, 1);
    grid->addWidget(BryMemCom, row, 2);
    grid->addWidget(BryMemButtom, row++, 3);
    instrumentControls_ << bry << bryChannel << BryMemChannel << BryMemCom << BryMemButtom;

    BtClose = button(this, "BtClose", QString::fromUtf8("關閉"));
    grid->addWidget(BtClose, row++, 3);

    connect(CbSeluP, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) CbSeluPChange(i); });
    connect(SelLPT, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) SelLPTChange(i); });
    for (QComboBox *c : {TXCOM, FlukeCOM, PowerCOM, ChamberCOM, BryMemCom})
        connect(c, &QComboBox::currentIndexChanged, this, [this] { if (!quiet_) TXCOMChange(); });
    connect(TXBaud, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) TXBaudChange(i); });
    connect(TXParity, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) TXParityChange(i); });
    connect(CLPT, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) CLPTChange(i); });
    connect(BryMemChannel, &QComboBox::currentIndexChanged, this, [this](int i) { if (!quiet_) BryMemChannelChange(i); });
    connect(Photo, &QCheckBox::toggled, this, [this](bool on) { bench_.Photo = on; });
    connect(BtClose, &QPushButton::clicked, this, [this] { BtCloseClick(); });
    connect(FlukeSelect, &QPushButton::clicked, this, [this] {
        if (services_.selectFluke) services_.selectFluke(FlukeCOM->currentText());
    });
    connect(PowerSelect, &QPushButton::clicked, this, [this] {
        if (services_.selectPower) services_.selectPower(PowerCOM->currentText());
    });
    connect(ChamberSelect, &QPushButton::clicked, this, [this] {
        if (services_.selectChamber) services_.selectChamber(ChamberCOM->currentText());
    });
    // The meter group's Select button has no action of its own.
    for (QWidget *w : instrumentControls_)
        w->setVisible(false);
}

void TOption::FormCreate()
{
    quietly([this] {
        CbSeluP->clear();
        CbSeluP->addItems(ChipList(bench_.paths));
        CbSeluP->setCurrentIndex(0);
        CLPT->setCurrentIndex(0);
        CLPT->setEnabled(false);
        TXBaud->setCurrentIndex(0);
        TXParity->setCurrentIndex(0);
    });
    refreshPortTooltips();
}

void TOption::refreshPortTooltips()
{
    if (!services_.devicePath)
        return;
    for (QComboBox *c : {TXCOM, FlukeCOM, PowerCOM, ChamberCOM, BryMemCom}) {
        for (int i = 0; i < c->count(); ++i)
            c->setItemData(i, services_.devicePath(c->itemText(i)), Qt::ToolTipRole);
        c->setToolTip(services_.devicePath(c->currentText()));
    }
}

QString TOption::chipName(int index) const
{
    return CbSeluP->itemText(index);
}

void TOption::enableFor(int interfaceType)
{
    const SetupEnabling e = EnablingFor(interfaceType);
    TXCOM->setEnabled(e.serial);
    TXBaud->setEnabled(e.serial);
    TXParity->setEnabled(e.serial);
    CLPT->setEnabled(e.parallel);
}

void TOption::CbSeluPChange(int index)
{
    if (index < 0)
        return;
    bench_.device().ChipIndex = uint16_t(index);
    if (services_.loadChipDefinition)
        services_.loadChipDefinition();
}

void TOption::SelLPTChange(int index)
{
    if (index < 0)
        return;
    bench_.device().InterfaceType = uint16_t(index);
    enableFor(index);
    switch (InterfaceKind(index)) {
    case InterfaceKind::RS232:
        TXCOMChange();
        break;
    case InterfaceKind::UART:
        if (services_.uartLinkSetup)
            services_.uartLinkSetup();
        break;
    default:
        break;
    }
}

void TOption::TXCOMChange()
{
    STND &d = bench_.device();
    d.ComIndex = TXCOM->currentIndex();
    TXCOM->setToolTip(services_.devicePath ? services_.devicePath(TXCOM->currentText()) : QString());
    if (services_.openChipPort)
        services_.openChipPort(TXCOM->currentIndex(), TXBaud->currentIndex(), TXParity->currentIndex());
}

void TOption::TXBaudChange(int index)
{
    bench_.device().BaudIndex = index;
    TXCOMChange();
}

void TOption::TXParityChange(int index)
{
    bench_.device().ParityIndex = index;
    TXCOMChange();
}

void TOption::CLPTChange(int index)
{
    bench_.ParallelPortBase = ParallelBaseForIndex(index);
}

void TOption::BtCloseClick()
{
    if (closing_)
        return;
    closing_ = true;
    if (InterfaceKind(bench_.device().InterfaceType) == InterfaceKind::Parallel && services_.parallelInit)
        services_.parallelInit();
    emit closeRequested();
    closing_ = false;
}

void TOption::hideEvent(QHideEvent *event)
{
    // Hiding the form closes it the same way as its close button.
    QWidget::hideEvent(event);
    if (closing_)
        return;
    closing_ = true;
    if (InterfaceKind(bench_.device().InterfaceType) == InterfaceKind::Parallel && services_.parallelInit)
        services_.parallelInit();
    closing_ = false;
}

void TOption::fillFromChannel0()
{
    const STND &d = bench_.device();
    quietly([&] {
        CbSeluP->setCurrentIndex(d.ChipIndex < CbSeluP->count() ? d.ChipIndex : -1);
        SelLPT->setCurrentIndex(d.InterfaceType < 6 ? d.InterfaceType : -1);
        TXCOM->setCurrentIndex(d.ComIndex >= 0 && d.ComIndex < TXCOM->count() ? d.ComIndex : -1);
        TXBaud->setCurrentIndex(d.BaudIndex >= 0 && d.BaudIndex < TXBaud->count() ? d.BaudIndex : -1);
        TXParity->setCurrentIndex(d.ParityIndex >= 0 && d.ParityIndex < TXParity->count() ? d.ParityIndex : -1);
    });
}

void TOption::selectStored()
{
    const STND &d = bench_.device();
    quietly([&] {
        CbSeluP->setCurrentIndex(d.ChipIndex < CbSeluP->count() ? d.ChipIndex : -1);
        SelLPT->setCurrentIndex(d.InterfaceType < 6 ? d.InterfaceType : -1);
    });
}

void TOption::ChennalComChange()
{
    fillFromChannel0();
    SelLPTChange(bench_.device().InterfaceType);
    if (services_.loadChipDefinition)
        services_.loadChipDefinition();
}

void TOption::BryMemChannelChange(int)
{
    // The device table holds channel 0 only: another channel is refused and
    // no record is touched.
    const int channel = ChennalCom->currentIndex();
    if (!DeviceTable::valid(channel))
        return;
    bench_.CurrentChannel = channel;
    ChennalComChange();
}

void TOption::applyDefinition()
{
    const bool shown = bench_.chip.desc.instrumentsShown;
    for (QWidget *w : instrumentControls_)
        w->setVisible(shown);
}

} // namespace qx
