#include "shell/panel_host.h"

#include <QCloseEvent>
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
    frame->adjustSize();
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
    frame->setGeometry(keep);  // showing must neither move nor resize it
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
