#pragma once
// What the memory and register views ask of people, behind small function
// types so window tests answer without a modal keypad or menu.
#include "views/hex_entry_popup.h"

#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace qx {

// Asks for a hexadecimal value: keypad at (x, y) (global), limit ("FF",
// "FFF", "FFFF"), range text and prompt (the keypad's caption).
using HexAsker = std::function<HexAnswer(int x, int y, const QString &limit, const QString &rangeText,
                                         const QString &prompt)>;
// The views' asker over the one keypad of the tool.
HexAsker AskWith(TQxPopSelHex &popup);

// Opens a popup menu at a global position and returns the chosen item
// (nullptr when dismissed). The item's triggered() is emitted by the caller.
using MenuRunner = std::function<QAction *(QMenu &menu, const QPoint &globalPos)>;
MenuRunner ExecMenu();

} // namespace qx
