#include "shell/panel_host.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>

namespace qx {

void HidingSubWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void PanelHost::adopt(QWidget *panel)
{
    if (frames_.contains(panel))
        return;
    auto *frame = new HidingSubWindow(area_);
    frame->setWidget(panel);
    frame->setObjectName(panel->objectName() + "Frame");
    frame->setWindowTitle(panel->windowTitle());
    QObject::connect(panel, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    area_->addSubWindow(frame);
    // Size the frame for its content before it is first shown.
    panel->ensurePolished();
    if (QLayout *l = panel->layout())
        l->activate();
    frame->resize(frame->sizeHint().expandedTo(panel->sizeHint() + QSize(16, 40)));
    frame->hide();
    frames_.insert(panel, frame);
    order_.push_back(panel);
}

void PanelHost::ShowPanel(QWidget *panel)
{
    QMdiSubWindow *frame = frames_.value(panel, nullptr);
    if (!frame)
        return;
    const QRect keep = frame->geometry();
    panel->show();
    frame->show();
    // Showing neither moves nor resizes the window, unless its content has
    // grown beyond it (a definition that shows more controls).
    frame->setGeometry(QRect(keep.topLeft(), keep.size().expandedTo(frame->minimumSizeHint())));
    frame->raise();
    area_->setActiveSubWindow(frame);
}

void PanelHost::HidePanel(QWidget *panel)
{
    if (QMdiSubWindow *frame = frames_.value(panel, nullptr))
        frame->hide();
}

bool PanelHost::isShown(QWidget *panel) const
{
    const QMdiSubWindow *frame = frames_.value(panel, nullptr);
    return frame && frame->isVisible();
}

} // namespace qx
