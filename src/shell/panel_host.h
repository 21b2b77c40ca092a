#pragma once
// Hosts the tool's windows as children of the main frame. Each window gets
// one sub-window for the whole run; closing it only hides it, and showing it
// again puts it back where it was.
#include <QHash>
#include <QMdiSubWindow>
#include <QRect>

#include <vector>

class QMdiArea;
class QWidget;

namespace qx {

class PanelHost {
public:
    explicit PanelHost(QMdiArea *area) : area_(area) {}

    // Adopts a window (once, at creation) and keeps it hidden.
    void adopt(QWidget *panel);
    void ShowPanel(QWidget *panel);
    void HidePanel(QWidget *panel);
    bool isShown(QWidget *panel) const;
    // The sub-window that frames a panel (nullptr when not adopted).
    QMdiSubWindow *frameOf(QWidget *panel) const { return frames_.value(panel, nullptr); }
    const std::vector<QWidget *> &panels() const { return order_; }

private:
    QMdiArea *area_;
    QHash<QWidget *, QMdiSubWindow *> frames_;
    std::vector<QWidget *> order_;
};

// A sub-window whose close box hides it instead of closing it.
class HidingSubWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;
protected:
    void closeEvent(QCloseEvent *event) override;
};

} // namespace qx
