#include "shell/main_panel.h"

#include "core/atomic_file.h"
#include "device/base_utils.h"
#include "device/bench.h"
#include "shell/app_title.h"
#include "shell/main_menu.h"
#include "widgets/window_placement.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>

namespace qx {

TMainPanel::TMainPanel(Bench &bench, QWidget *parent)
    : QMainWindow(parent), bench_(bench), area_(new QMdiArea(this)), host_(area_)
{
    setObjectName("MainPanel");
    area_->setObjectName("MdiArea");
    setCentralWidget(area_);
    buildMenus();
    buildStatusBar();
    resize(1024, 720);
    if (const QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        const ScreenRect r = KeepOnScreen({x(), y(), width(), height()}, avail.width(), avail.height());
        setGeometry(r.left, r.top, r.width, r.height);
    }
    setWindowTitle(ReadAppTitle(bench.paths.programDir));
    bench.definitionLoaded.add([this] { applyDefinition(); });
    showPollState(false);
}

void TMainPanel::buildMenus()
{
    for (const MenuItemSpec &m : MainMenuItems()) {
        const QString name = QString::fromLatin1(m.name);
        const QString caption = QString::fromUtf8(m.caption);
        QAction *a = nullptr;
        if (m.submenu) {
            QMenu *menu = new QMenu(caption, this);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            a = menuBar()->addMenu(menu);
        } else if (m.parent) {
            a = menus_.value(QString::fromLatin1(m.parent))->addAction(caption);
        } else {
            a = menuBar()->addAction(caption);
        }
        a->setObjectName(name);
        a->setVisible(!m.hidden);
        actions_.insert(name, a);
    }
}

void TMainPanel::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto *l = new QLabel(bar);
        l->setObjectName(QString("StatusPanel%1").arg(i));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(l, i == 2 ? 1 : 0);
        status_[size_t(i)] = l;
    }
    gauge_ = new QProgressBar(this);
    gauge_->setObjectName("Gauge1");
    gauge_->setTextVisible(false);
    gauge_->setMaximumHeight(12);
    bar->addWidget(gauge_, 1);
    gauge_->hide();
}

void TMainPanel::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // Panels 0 and 1 take a third of the bar each; panel 2 the rest.
    const int third = statusBar()->width() / 3;
    status_[0]->setFixedWidth(third);
    status_[1]->setFixedWidth(third);
}

void TMainPanel::setStatusText(int panel, const QString &text)
{
    if (panel >= 0 && panel < 3)
        status_[size_t(panel)]->setText(text);
}

QString TMainPanel::statusText(int panel) const
{
    return panel >= 0 && panel < 3 ? status_[size_t(panel)]->text() : QString();
}

void TMainPanel::applyDefinition()
{
    const bool fluke = bench_.chip.desc.instrumentsShown;
    for (const MenuItemSpec &m : MainMenuItems())
        if (m.fluke)
            actions_.value(QString::fromLatin1(m.name))->setVisible(fluke);
}

void TMainPanel::showPollState(bool on)
{
    actions_.value("Menu_INTF")->setText(on ? "INTF-Reading" : "INTF-Wait");
}

QString TMainPanel::placementPath() const
{
    return bench_.paths.inProgramDir("qxbench.wst");
}

void TMainPanel::savePlacements() const
{
    std::vector<WindowPlacement> entries;
    auto stateOf = [](const QWidget *w) { return w->isMaximized() ? 1 : w->isMinimized() ? 2 : 0; };
    const QRect g = geometry();
    entries.push_back({objectName(), g.x(), g.y(), g.width(), g.height(), stateOf(this), isVisible()});
    for (QWidget *panel : host_.panels()) {
        const QMdiSubWindow *f = host_.frameOf(panel);
        const QRect r = f->geometry();
        entries.push_back({panel->objectName(), r.x(), r.y(), r.width(), r.height(), stateOf(f), f->isVisible()});
    }
    WriteFileAtomically(placementPath(), EncodePlacements(entries));
}

void TMainPanel::restorePlacements()
{
    QFile f(placementPath());
    if (!f.open(QIODevice::ReadOnly))
        return;
    const auto entries = DecodePlacements(f.readAll());
    if (!entries)
        return;
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1920, 1080);
    for (const WindowPlacement &e : *entries) {
        const WindowPlacement p = FitPlacementToScreen(e, screen.width(), screen.height());
        if (p.name == objectName()) {
            setGeometry(p.left, p.top, p.width, p.height);
            if (p.state == 1)
                showMaximized();
            continue;
        }
        for (QWidget *panel : host_.panels()) {
            if (panel->objectName() != p.name)
                continue;
            QMdiSubWindow *frame = host_.frameOf(panel);
            frame->setGeometry(p.left, p.top, p.width, p.height);
            if (p.visible)
                host_.ShowPanel(panel);
            if (p.state == 1)
                frame->showMaximized();
            else if (p.state == 2)
                frame->showMinimized();
        }
    }
}

void TMainPanel::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!placed_ && restoreOnFirstShow) {
        placed_ = true;
        restorePlacements();
    }
}

void TMainPanel::closeEvent(QCloseEvent *event)
{
    // The placement is taken while the windows are still shown.
    savePlacements();
    if (onClose)
        onClose();
    event->accept();
}

} // namespace qx
