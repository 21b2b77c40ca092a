#include "views/view_grid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qx {

ViewGrid::ViewGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setFont(ViewFont());
}

QPoint ViewGrid::cellBottomLeft(const QModelIndex &index) const
{
    return viewport()->mapToGlobal(visualRect(index).bottomLeft());
}

bool ViewGrid::event(QEvent *e)
{
    // Tab would move the focus before keyPressEvent sees it; here it writes a cell.
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && onKey && onKey(k)) {
            e->accept();
            return true;
        }
    }
    return QTableView::event(e);
}

void ViewGrid::keyPressEvent(QKeyEvent *e)
{
    if (onKey && onKey(e)) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void ViewGrid::mousePressEvent(QMouseEvent *e)
{
    const QModelIndex index = indexAt(e->position().toPoint());
    QTableView::mousePressEvent(e);
    if (onPress)
        onPress(index);
}

void ViewGrid::focusOutEvent(QFocusEvent *e)
{
    QTableView::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && onFocusLost)
        onFocusLost();
}

void ViewGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (onCurrentChanged)
        onCurrentChanged(current, previous);
}

QFont ViewFont()
{
    QFont f("Courier New", 11, QFont::Bold);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

} // namespace qx
