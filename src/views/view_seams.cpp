#include "views/view_seams.h"

#include <QMenu>

namespace qx {

HexAsker AskWith(TQxPopSelHex &popup)
{
    return [&popup](int x, int y, const QString &limit, const QString &rangeText, const QString &prompt) {
        return popup.Execute(x, y, limit, rangeText, prompt);
    };
}

MenuRunner ExecMenu()
{
    return [](QMenu &menu, const QPoint &pos) { return menu.exec(pos); };
}

} // namespace qx
