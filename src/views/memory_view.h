#pragma once
// TQx_RAM, the memory view: one bank of 256 chip addresses of channel 0 as a
// 16 x 16 grid of hexadecimal bytes read from the mirror. Changed bytes are
// highlighted until the next refresh; bytes can be marked with colours and
// given hints (shown as tool tips); bytes are edited through the hex keypad
// or typed into the grid; the first 512 addresses are saved to and loaded
// from ".ram" files and exported as a workbook.
#include "views/ram_file.h"
#include "views/view_seams.h"
#include "views/view_tables.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPushButton;
class QToolBar;
class QUrl;

namespace qx {

class Bench;
class TQx_UP;
class ViewGrid;

class MemoryGridModel;

class TQx_RAM : public QWidget {
    Q_OBJECT
public:
    static constexpr int Banks = 5;

    TQx_RAM(Bench &bench, TQx_UP &up, HexAsker ask, QWidget *parent = nullptr);
    ~TQx_RAM() override;

    // Redraws the bank from the mirror; force suppresses the change highlight.
    void Refresh(bool force);
    // Repaints the cells whose change flag another view has changed.
    void repaintHighlights();
    // Selects a bank (tab, menu item, configuration).
    void selectBank(int bank);
    int bank() const { return bank_; }

    // Caption after a bridge connects.
    void setChipName(const QString &name);
    // Applies a freshly loaded definition: bank tabs and menu items.
    void applyDefinition();

    // Marks, hints and the colour for new marks (0x00BBGGRR, as in files).
    const MarkTable &marks() const { return marks_; }
    int32_t markColour() const { return markColour_; }

    // Opens the workbook after an export (default: the desktop's application).
    std::function<bool(const QUrl &)> openDocument;
    MenuRunner runMenu;

    // Context menu commands on the cell under the last mouse press.
    void SetMarkClick();
    void newcolor1Click();
    void RstMarkClick();
    void RstAllMarkClick();
    void SetHint1Click();
    void ResetHint1Click();
    void ResetAllHint1Click();
    void LoadRamClick();
    void SaveRamClick();
    void SVEXClick();

    // The ".ram" file operations behind the menu commands.
    bool saveRamFile(const QString &path);
    bool loadRamFile(const QString &path);

    ViewGrid *grid() const { return SGD_; }
    QAction *menuItem(const QString &name) const;
    // Address shown at grid cell (column 0..15, row 0..15) of the current bank.
    int addressAt(int column, int row) const { return bank_ * 256 + row * 16 + column; }
    QString cellText(int column, int row) const;

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    friend class MemoryGridModel;
    struct Pending {
        bool active = false;
        int address = -1;
        int cell = -1;  // 0..255 in the bank where typing began
        QString text;
    };

    bool exists(int address) const;
    int pressedAddress() const;
    void markCell(int address, int32_t colour);
    void redrawAll();
    void setTabLooks();
    bool handleKey(QKeyEvent *e);
    void commitPending();
    void editCell(const QModelIndex &index);
    std::optional<QString> askSavePath(const QString &title, const QString &filter, const QString &suffix);
    void fileError(const QString &text);

    Bench &bench_;
    TQx_UP &up_;
    HexAsker ask_;
    int bank_ = 0;
    BankCells cells_{};
    // What the grid showed after the last refresh, so a refresh repaints
    // only the cells whose value or highlight changed.
    BankCells shownCells_{};
    std::array<uint8_t, 256> shownChanged_{};
    int shownBank_ = -1;
    AddressSet registerTracked_;
    MarkTable marks_{};
    int32_t markColour_ = 0x808080;
    Pending pending_;
    int pressed_ = -1;  // grid cell 0..255 of the last mouse press

    ViewGrid *SGD_;
    MemoryGridModel *model_;
    QToolBar *toolBar_;
    std::array<QPushButton *, Banks> tabs_{};
    std::array<QAction *, Banks> tabActions_{};
    QMenu *PopupMenu1_;
    std::array<QAction *, Banks> bankItems_{};
};

// Mark colours: file value 0x00BBGGRR (negative: a system colour, shown as
// the button face) <-> QColor.
QColor MarkColour(int32_t stored);
int32_t StoredColour(const QColor &c);

} // namespace qx
