#pragma once
// TQx_Reg2, the register view: the chip's special-function registers as the
// chip definition describes them, read from the mirror of channel 0 only.
// A header strip (working register, the two indirect pairs, program counter
// and cycle panels), the byte registers, the bit registers of the current
// page (PAGE1..PAGE4) and the word registers. Changed values are highlighted
// until the next refresh. Every edit is a single-byte write through the chip
// access layer, which refreshes this view from the mirror again.
#include "views/view_seams.h"
#include "views/view_tables.h"

#include <QWidget>

#include <array>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

namespace qx {

class Bench;
class TQx_UP;
class ViewGrid;
class BitGridModel;
class ValueGridModel;

class TQx_Reg2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int Pages = 4;
    static constexpr int Columns = 9;

    TQx_Reg2(Bench &bench, TQx_UP &up, HexAsker ask, QWidget *parent = nullptr);
    ~TQx_Reg2() override;

    // Redraws from the mirror; force suppresses the header highlights only.
    void Refresh(bool force);
    // Page tabs (0..3) and the configuration: rebuilds the bit grid.
    void selectPage(int page);
    int page() const { return page_; }

    void setChipName(const QString &name);
    // Applies a freshly loaded definition: caption, page tabs, all grids.
    void applyDefinition();

    MenuRunner runMenu;

    const RegisterHeader &header() const { return header_; }
    PageRange pageRange() const { return range_; }
    ViewGrid *bitGrid() const { return SREG_; }
    ViewGrid *byteGrid() const { return SByteReg_; }
    ViewGrid *wordGrid() const { return SWordReg_; }
    // The panels of the header strip by name (PnlWork, PnlIND0_1, ...).
    QLabel *panel(const QString &name) const;

    // Clicks on the header strip (what a mouse press on those panels runs).
    void PnlWorkClick();
    void PnlPCClick();
    void PnlINDClick(int pair);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *e) override;

private:
    friend class BitGridModel;
    friend class ValueGridModel;
    enum class MenuOwner { Work, ProgramCounter };
    struct Typed {
        bool active = false;
        int row = -1, column = -1;
        QString text;
    };

    void buildHeader();
    QLabel *headerLabel(QWidget *parent, const char *name, const QString &text, bool value);
    void showHeader();
    void setPageLooks();
    void rebuildGrids();
    void fitGrid(ViewGrid *grid, int rows);

    void PMRegModifyClick();
    void PMIND_INDClick();
    void PMIND_FSRClick();
    HexAnswer askAt(QWidget *panel, const QString &limit, const QString &range, const QString &prompt);
    bool writePair(int high, int low, int value);

    void bitGridDoubleClick(const QModelIndex &index);
    void valueGridDoubleClick(bool word, const QModelIndex &index);
    bool valueGridKey(bool word, QKeyEvent *e);
    void commitTyped(bool word);
    int entryAt(bool word, int row, int column) const;

    // What the grids showed after the last refresh (value, highlight) per
    // list entry, so a refresh repaints only what changed. Empty: all.
    struct Shown {
        int value = -1;
        bool changed = false;
        bool operator==(const Shown &) const = default;
    };
    std::vector<Shown> shownBits_, shownBytes_, shownWords_;
    void redrawChanged();

    Bench &bench_;
    TQx_UP &up_;
    HexAsker ask_;
    int page_ = 0;
    PageRange range_;
    RegisterHeader header_;
    std::array<Typed, 2> typed_{};  // byte grid, word grid
    MenuOwner menuOwner_ = MenuOwner::Work;
    int indPair_ = 0;
    QWidget *clickedPanel_ = nullptr;

    QFrame *PBase_;
    QFrame *PnlIND_B_[2];
    QFrame *PnlWork_B_;
    QLabel *PnlWork_, *PnlPC_, *PnlCycle_;
    std::array<QLabel *, 2> PnlIND_1_{}, PnlIND_2_{};
    ViewGrid *SByteReg_, *SREG_, *SWordReg_;
    QLabel *Panel1_, *Panel3_;
    QToolBar *ToolBar1_;
    std::array<QPushButton *, Pages> pageTabs_{};
    std::array<QAction *, Pages> pageTabActions_{};
    BitGridModel *bitModel_;
    ValueGridModel *byteModel_, *wordModel_;
    QMenu *PMenuReg_, *PMenuIND_, *PMenuBit_;
    QAction *PMRegModify_, *PMIND_IND_, *PMIND_FSR_, *PMBitSet_, *PMBitClr_;
};

} // namespace qx
