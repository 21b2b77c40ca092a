#include "views/memory_view.h"

#include "chipaccess/qx_up.h"
#include "core/atomic_file.h"
#include "device/base_utils.h"
#include "device/bench.h"
#include "views/ram_workbook.h"
#include "views/view_grid.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace qx {

QColor MarkColour(int32_t stored)
{
    if (stored < 0)
        return QApplication::palette().color(QPalette::Button);
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

int32_t StoredColour(const QColor &c)
{
    return int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// The 16 x 16 cells of the current bank; the fixed row and column are the
// headers ("0".."F" and the row addresses).
class MemoryGridModel : public QAbstractTableModel {
public:
    explicit MemoryGridModel(TQx_RAM &view) : QAbstractTableModel(&view), v_(view) {}

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 16; }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 16; }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role == Qt::DisplayRole)
            return o == Qt::Horizontal ? HexText(section, 1) : HexText(v_.bank_ * 16 + section, 2) + "0";
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int cell = index.row() * 16 + index.column();
        const int a = v_.bank_ * 256 + cell;
        const bool inMirror = InMirror(a);
        switch (role) {
        case Qt::DisplayRole:
            return v_.cellText(index.column(), index.row());
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::ForegroundRole:
            if (inMirror && (v_.bench_.Changed[size_t(a)] || v_.marks_[size_t(a)].marked))
                return QColor(Qt::white);
            return QColor(Qt::black);
        case Qt::BackgroundRole:
            if (inMirror && v_.bench_.Changed[size_t(a)])
                return QColor(Qt::blue);
            if (inMirror && v_.marks_[size_t(a)].marked)
                return MarkColour(v_.marks_[size_t(a)].colour);
            return QColor(Qt::white);
        case Qt::FontRole:
            if (inMirror && v_.marks_[size_t(a)].hinted) {
                QFont f = ViewFont();
                f.setUnderline(true);
                return f;
            }
            return {};
        case Qt::ToolTipRole:
            if (inMirror && v_.marks_[size_t(a)].hinted)
                return HexText(a, 3) + ": " + v_.marks_[size_t(a)].hint;
            return {};
        default:
            return {};
        }
    }

    void redraw()
    {
        emit dataChanged(index(0, 0), index(15, 15));
        emit headerDataChanged(Qt::Vertical, 0, 15);
    }
    void redrawCell(int cell) { emit dataChanged(index(cell / 16, cell % 16), index(cell / 16, cell % 16)); }

private:
    TQx_RAM &v_;
};

TQx_RAM::TQx_RAM(Bench &bench, TQx_UP &up, HexAsker ask, QWidget *parent)
    : QWidget(parent), bench_(bench), up_(up), ask_(std::move(ask))
{
    setObjectName("Qx_RAM");
    setWindowTitle(QStringLiteral("記憶體"));
    openDocument = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    runMenu = ExecMenu();
    cells_.fill(-1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("ToolBar1");
    for (int n = 0; n < Banks; ++n) {
        auto *b = new QPushButton(QString("Bank%1").arg(n), toolBar_);
        b->setObjectName(QString("PBank%1").arg(n));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, n] { selectBank(n); });
        // A widget on a tool bar is shown and hidden through its action.
        tabActions_[size_t(n)] = toolBar_->addWidget(b);
        tabs_[size_t(n)] = b;
    }
    layout->addWidget(toolBar_);

    SGD_ = new ViewGrid(this);
    SGD_->setObjectName("SGD");
    model_ = new MemoryGridModel(*this);
    SGD_->setModel(model_);
    QHeaderView *h = SGD_->horizontalHeader();
    QHeaderView *vh = SGD_->verticalHeader();
    h->setSectionResizeMode(QHeaderView::Fixed);
    vh->setSectionResizeMode(QHeaderView::Fixed);
    h->setMinimumSectionSize(10);
    vh->setMinimumSectionSize(10);
    // 22 x 18 pixel cells and a 28 pixel label column, wider where the
    // view font needs more room for its two digits.
    const QFontMetrics fm(ViewFont());
    const int cellW = std::max(22, fm.horizontalAdvance("00") + 6);
    const int cellH = std::max(18, fm.height() + 2);
    const int labelW = std::max(28, fm.horizontalAdvance("000") + 6);
    h->setDefaultSectionSize(cellW);
    vh->setDefaultSectionSize(cellH);
    h->setFixedHeight(cellH);
    vh->setFixedWidth(labelW);
    SGD_->setTextElideMode(Qt::ElideNone);
    h->setFont(ViewFont());
    vh->setFont(ViewFont());
    h->setHighlightSections(false);
    vh->setHighlightSections(false);
    vh->setDefaultAlignment(Qt::AlignCenter);
    SGD_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SGD_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * SGD_->frameWidth();
    SGD_->setFixedSize(labelW + 16 * cellW + frame, cellH + 16 * cellH + frame);
    SGD_->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(SGD_);

    // The hint strip exists but stays hidden: hints show as tool tips.
    auto *hintPanel = new QWidget(this);
    hintPanel->setObjectName("PnlHint");
    auto *hintLabel = new QLabel(hintPanel);
    hintLabel->setObjectName("LHint");
    hintPanel->hide();

    PopupMenu1_ = new QMenu(this);
    PopupMenu1_->setObjectName("PopupMenu1");
    auto item = [this](const char *name, const QString &caption, void (TQx_RAM::*fn)()) {
        QAction *a = PopupMenu1_->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, fn);
        return a;
    };
    item("SetMark", "Set Mark", &TQx_RAM::SetMarkClick);
    item("newcolor1", "Set Mark(new color)", &TQx_RAM::newcolor1Click);
    item("RstMark", "Reset Mark", &TQx_RAM::RstMarkClick);
    item("RstAllMark", "Reset All Mark", &TQx_RAM::RstAllMarkClick);
    PopupMenu1_->addSeparator();
    item("SetHint1", "Set Hint", &TQx_RAM::SetHint1Click);
    item("ResetHint1", "Reset Hint", &TQx_RAM::ResetHint1Click);
    item("ResetAllHint1", "Reset All Hint", &TQx_RAM::ResetAllHint1Click);
    PopupMenu1_->addSeparator();
    item("LoadRam", "Load RAM Data", &TQx_RAM::LoadRamClick);
    item("SaveRam", "Save RAM Data", &TQx_RAM::SaveRamClick);
    item("SVEX", "Save To excel", &TQx_RAM::SVEXClick);
    PopupMenu1_->addSeparator();
    for (int n = 0; n < Banks; ++n) {
        QAction *a = PopupMenu1_->addAction(QString("RAMBANK%1").arg(n));
        a->setObjectName(QString("RAMBANK%1").arg(n));
        connect(a, &QAction::triggered, this, [this, n] { selectBank(n); });
        bankItems_[size_t(n)] = a;
    }

    SGD_->onKey = [this](QKeyEvent *e) { return handleKey(e); };
    SGD_->onPress = [this](const QModelIndex &i) { pressed_ = i.isValid() ? i.row() * 16 + i.column() : -1; };
    SGD_->onCurrentChanged = [this](const QModelIndex &current, const QModelIndex &) {
        if (pending_.active && (!current.isValid() || current.row() * 16 + current.column() != pending_.cell))
            commitPending();
    };
    SGD_->onFocusLost = [this] { if (pending_.active) commitPending(); };
    connect(SGD_, &QTableView::doubleClicked, this, &TQx_RAM::editCell);
    connect(SGD_, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex i = SGD_->indexAt(pos);
        pressed_ = i.isValid() ? i.row() * 16 + i.column() : -1;
        if (QAction *a = runMenu(*PopupMenu1_, SGD_->viewport()->mapToGlobal(pos)))
            a->trigger();
    });

    QPointer<TQx_RAM> self(this);
    bench_.definitionLoaded.add([self] { if (self) self->applyDefinition(); });
    bench_.highlightsChanged.add([self] { if (self) self->repaintHighlights(); });
    up_.views().set(ViewSlot::MemoryView, [this] { Refresh(false); });
    applyDefinition();
    adjustSize();
}

TQx_RAM::~TQx_RAM()
{
    up_.views().set(ViewSlot::MemoryView, {});
}

QAction *TQx_RAM::menuItem(const QString &name) const
{
    return PopupMenu1_->findChild<QAction *>(name);
}

bool TQx_RAM::exists(int address) const
{
    return InMirror(address) && bench_.chip.AddressMask[size_t(address)] != 0;
}

QString TQx_RAM::cellText(int column, int row) const
{
    const int cell = row * 16 + column;
    if (pending_.active && pending_.cell == cell && pending_.address == addressAt(column, row))
        return pending_.text;
    const int v = cells_[size_t(cell)];
    return v < 0 ? QStringLiteral("-") : HexText(v, 2);
}

void TQx_RAM::Refresh(bool force)
{
    RefreshMemoryBank(bench_.device().Mirror, bench_.chip.AddressMask, registerTracked_, bench_.LastValue,
                      bench_.Changed, bank_, force, cells_);
    std::array<uint8_t, 256> changed{};
    for (int i = 0; i < 256; ++i) {
        const int a = bank_ * 256 + i;
        changed[size_t(i)] = InMirror(a) ? bench_.Changed[size_t(a)] : 0;
    }
    if (shownBank_ != bank_) {
        model_->redraw();
    } else {
        int dirty = 0;
        for (int i = 0; i < 256 && dirty <= 32; ++i)
            dirty += cells_[size_t(i)] != shownCells_[size_t(i)] || changed[size_t(i)] != shownChanged_[size_t(i)];
        if (dirty > 32) {
            model_->redraw();
        } else {
            for (int i = 0; i < 256; ++i)
                if (cells_[size_t(i)] != shownCells_[size_t(i)] || changed[size_t(i)] != shownChanged_[size_t(i)])
                    model_->redrawCell(i);
        }
    }
    shownBank_ = bank_;
    shownCells_ = cells_;
    shownChanged_ = changed;
}

void TQx_RAM::repaintHighlights()
{
    for (int i = 0; i < 256; ++i) {
        const int a = bank_ * 256 + i;
        const uint8_t now = InMirror(a) ? bench_.Changed[size_t(a)] : 0;
        if (now != shownChanged_[size_t(i)]) {
            shownChanged_[size_t(i)] = now;
            model_->redrawCell(i);
        }
    }
}

void TQx_RAM::selectBank(int bank)
{
    if (bank < 0 || bank >= Banks)
        return;
    bank_ = bank;
    setTabLooks();
    Refresh(false);
}

void TQx_RAM::setTabLooks()
{
    for (int n = 0; n < Banks; ++n) {
        QPushButton *b = tabs_[size_t(n)];
        const bool current = n == bank_;
        b->setFlat(!current);
        b->setStyleSheet(current ? "QPushButton { background: #FFFF00; color: black; border: 2px outset #C0C0C0;"
                                   " padding: 2px 8px; font-weight: bold; }"
                                 : "QPushButton { border: 1px inset #A0A0A0; padding: 2px 8px; }");
    }
}

void TQx_RAM::setChipName(const QString &name)
{
    setWindowTitle(QStringLiteral("記憶體 - ") + name);
}

void TQx_RAM::applyDefinition()
{
    const ChipDescription &d = bench_.chip.desc;
    for (int n = 0; n < Banks; ++n) {
        tabActions_[size_t(n)]->setVisible(d.bankShown(n));
        bankItems_[size_t(n)]->setVisible(d.bankShown(n));
    }
    registerTracked_ = RegisterAddresses(bench_.chip);
    pending_ = {};
    bank_ = d.bankAfterLoad(bank_);
    setTabLooks();
    shownBank_ = -1;
    Refresh(true);
}

void TQx_RAM::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    Refresh(true);
}

void TQx_RAM::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !isActiveWindow() && pending_.active)
        commitPending();
}

// ---- editing ---------------------------------------------------------------

bool TQx_RAM::handleKey(QKeyEvent *e)
{
    const QModelIndex cur = SGD_->currentIndex();
    if (!cur.isValid())
        return false;
    const int cell = cur.row() * 16 + cur.column();
    const int a = bank_ * 256 + cell;
    const QString t = e->text();
    const int key = e->key();
    const bool commitKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
    const bool character = commitKey || key == Qt::Key_Backspace || (t.size() == 1 && t[0].isPrint());
    if (!character)
        return false;  // navigation keys move the cell as usual
    if (!exists(a)) {
        if (pending_.active && pending_.cell == cell)
            pending_ = {};
        model_->redrawCell(cell);  // shows "-" again
        return true;
    }
    if (commitKey) {
        if (!pending_.active || pending_.cell != cell)
            pending_ = {true, a, cell, cellText(cur.column(), cur.row())};
        commitPending();
        return true;
    }
    if (!pending_.active || pending_.cell != cell)
        pending_ = {true, a, cell, cellText(cur.column(), cur.row())};
    if (key == Qt::Key_Backspace) {
        pending_.text.chop(1);
    } else {
        const QChar c = t[0].toUpper();
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return true;  // swallowed
        pending_.text = (pending_.text + c).right(2);
    }
    model_->redrawCell(cell);
    return true;
}

void TQx_RAM::commitPending()
{
    if (!pending_.active)
        return;
    const Pending p = pending_;
    pending_ = {};
    if (exists(p.address))
        up_.WriteChipByte(p.address, uint8_t(ParseHex(p.text) & 0xFF), 0);
    // A failed write leaves the mirror alone: the cell shows the old value again.
    if (p.address / 256 == bank_)
        model_->redrawCell(p.cell);
}

void TQx_RAM::editCell(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const int a = addressAt(index.column(), index.row());
    if (!exists(a))
        return;
    const QPoint at = SGD_->cellBottomLeft(index);
    const HexAnswer r = ask_(at.x(), at.y(), "FF", "00~FF",
                             "Ram" + HexText(a, 4) + "=" + cellText(index.column(), index.row()));
    if (r.accepted)
        up_.WriteChipByte(a, uint8_t(r.value & 0xFF), 0);
}

// ---- marks and hints -------------------------------------------------------

int TQx_RAM::pressedAddress() const
{
    if (pressed_ < 0)
        return -1;
    const int a = bank_ * 256 + pressed_;
    return exists(a) ? a : -1;
}

void TQx_RAM::markCell(int address, int32_t colour)
{
    marks_[size_t(address)].marked = true;
    marks_[size_t(address)].colour = colour;
    model_->redraw();
}

void TQx_RAM::SetMarkClick()
{
    const int a = pressedAddress();
    if (a >= 0)
        markCell(a, markColour_);
}

void TQx_RAM::newcolor1Click()
{
    const int a = pressedAddress();
    if (a < 0)
        return;
    const QColor initial = MarkColour(markColour_);
    if (const auto c = bench_.prompter.chooseColour(initial.rgb() & 0xFFFFFFu))
        markColour_ = StoredColour(QColor::fromRgb(*c));
    // A cancelled dialog keeps the colour it had.
    markCell(a, markColour_);
}

void TQx_RAM::RstMarkClick()
{
    const int a = pressedAddress();
    if (a < 0)
        return;
    marks_[size_t(a)].marked = false;
    model_->redraw();
}

void TQx_RAM::RstAllMarkClick()
{
    if (bench_.prompter.message("Warning", "Are you sure to reset all mark?", Prompter::Buttons::YesNo) ==
        Prompter::Answer::No)
        return;
    for (CellMarks &m : marks_)
        m.marked = false;  // the colours stay
    redrawAll();
}

void TQx_RAM::SetHint1Click()
{
    const int a = pressedAddress();
    if (a < 0)
        return;
    CellMarks &m = marks_[size_t(a)];
    const auto text = bench_.prompter.askText("Set Hint", "Hint for " + HexText(a, 3) + ":", m.hint);
    if (!text)
        return;
    m.hint = *text;
    m.hinted = !text->isEmpty();
    model_->redraw();
}

void TQx_RAM::ResetHint1Click()
{
    const int a = pressedAddress();
    if (a < 0)
        return;
    marks_[size_t(a)].hint.clear();
    marks_[size_t(a)].hinted = false;
    model_->redraw();
}

void TQx_RAM::ResetAllHint1Click()
{
    if (bench_.prompter.message("Warning", "Are you sure to reset all Hint?", Prompter::Buttons::YesNo) ==
        Prompter::Answer::No)
        return;
    for (CellMarks &m : marks_) {
        m.hint.clear();
        m.hinted = false;
    }
    redrawAll();
}

void TQx_RAM::redrawAll()
{
    model_->redraw();
}

// ---- files -----------------------------------------------------------------

void TQx_RAM::fileError(const QString &text)
{
    bench_.prompter.message("Error", text, Prompter::Buttons::Ok);
}

std::optional<QString> TQx_RAM::askSavePath(const QString &title, const QString &filter, const QString &suffix)
{
    auto path = bench_.prompter.saveFile(title, QDir::currentPath(), filter);
    if (!path)
        return std::nullopt;
    if (QFileInfo(*path).suffix().isEmpty())
        *path += "." + suffix;
    if (QFileInfo::exists(*path) &&
        bench_.prompter.message("Warning", "File " + *path + " exist! Overwrite?", Prompter::Buttons::YesNo) !=
            Prompter::Answer::Yes)
        return std::nullopt;
    return path;
}

void TQx_RAM::SaveRamClick()
{
    if (const auto path = askSavePath("Save RAM Data", "RAM files (*.ram)", "ram"))
        saveRamFile(*path);
}

bool TQx_RAM::saveRamFile(const QString &path)
{
    QString error;
    if (!WriteFileAtomically(path, EncodeRamFile(bench_.device().Mirror, bench_.chip.AddressMask, marks_), &error)) {
        fileError("File error: " + path + " cannot be written (" + error + ")");
        return false;
    }
    return true;
}

void TQx_RAM::LoadRamClick()
{
    if (const auto path = bench_.prompter.openFile("Load RAM Data", QDir::currentPath(), "RAM files (*.ram)"))
        loadRamFile(*path);
}

bool TQx_RAM::loadRamFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        fileError("File error: " + path + " cannot be opened (" + f.errorString() + ")");
        return false;
    }
    const RamFileContent content = DecodeRamFile(f.readAll());
    pending_ = {};
    for (int a = 0; a < RamFileAddresses; ++a)
        up_.UpdateViews(a, RamLoadValue(content.valueLines[size_t(a)], bench_.chip.AddressMask[size_t(a)]), 0);
    Refresh(true);
    for (int a = 0; a < RamFileAddresses; ++a)
        marks_[size_t(a)] = content.marks[size_t(a)];
    redrawAll();
    return true;
}

void TQx_RAM::SVEXClick()
{
    const auto path = askSavePath("Save To excel", "Excel workbook (*.xlsx)", "xlsx");
    if (!path)
        return;
    QString error;
    if (!WriteRamWorkbook(*path, bench_.device().Mirror, bench_.chip.AddressMask, &error)) {
        fileError("File error: " + *path + " cannot be written (" + error + ")");
        return;
    }
    if (openDocument && !openDocument(QUrl::fromLocalFile(*path)))
        bench_.prompter.message("Save To excel", "The workbook was saved as " + *path +
                                                     ", but no application could open it.",
                                Prompter::Buttons::Ok);
}

} // namespace qx
