#pragma once
// TMainPanel: the frame of the tool. Hosts every other window as a child,
// owns the menu tree and the three-panel status bar, and keeps the window
// placement between runs.
#include "shell/panel_host.h"

#include <QHash>
#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;

namespace qx {

class Bench;

class TMainPanel : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainPanel(Bench &bench, QWidget *parent = nullptr);

    QAction *action(const QString &name) const { return actions_.value(name, nullptr); }
    QMenu *submenu(const QString &name) const { return menus_.value(name, nullptr); }
    void setStatusText(int panel, const QString &text);
    QString statusText(int panel) const;
    QProgressBar *gauge() const { return gauge_; }
    QMdiArea *area() const { return area_; }
    PanelHost &panels() { return host_; }

    void ShowPanel(QWidget *panel) { host_.ShowPanel(panel); }
    void HidePanel(QWidget *panel) { host_.HidePanel(panel); }

    // The #FLUKE rule: the instrument menu items follow the loaded definition.
    void applyDefinition();
    // The INTF caption follows the poll state.
    void showPollState(bool on);

    // Window placement file in ProgramDir.
    QString placementPath() const;
    void savePlacements() const;
    void restorePlacements();

    // The placement is applied at the first showing, unless the owner applies
    // it itself (after its start-up step has hidden every window).
    bool restoreOnFirstShow = true;

    // Run at close, after the placement is written (configuration save etc.).
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar();

    Bench &bench_;
    QMdiArea *area_;
    PanelHost host_;
    QHash<QString, QAction *> actions_;
    QHash<QString, QMenu *> menus_;
    std::array<QLabel *, 3> status_{};
    QProgressBar *gauge_ = nullptr;
    bool placed_ = false;
};

} // namespace qx
