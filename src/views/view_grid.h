#pragma once
// The grid of the memory and register views: a QTableView whose keys,
// presses, cell changes and focus loss are handed to the view that owns it,
// which edits cells itself (the grids have no in-place editor).
#include <QTableView>

#include <functional>

namespace qx {

class ViewGrid : public QTableView {
    Q_OBJECT
public:
    explicit ViewGrid(QWidget *parent = nullptr);

    // Called with every key press (Tab included); true when it was handled.
    std::function<bool(QKeyEvent *)> onKey;
    std::function<void(const QModelIndex &current, const QModelIndex &previous)> onCurrentChanged;
    std::function<void(const QModelIndex &)> onPress;
    // Focus went elsewhere (another window or control; not a popup menu).
    std::function<void()> onFocusLost;

    // Bottom-left corner of a cell in global coordinates.
    QPoint cellBottomLeft(const QModelIndex &index) const;

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
};

// Fixed look of the view grids: Courier New 11 bold (any monospace font
// where it is missing).
QFont ViewFont();

} // namespace qx
