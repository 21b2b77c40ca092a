#include "views/register_view.h"

#include "chipaccess/qx_up.h"
#include "device/base_utils.h"
#include "device/bench.h"
#include "views/view_grid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace qx {

namespace {

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }
const QColor Silver(0xC0, 0xC0, 0xC0);

bool changedAt(const Bench &b, int a) { return InMirror(a) && b.Changed[size_t(a)]; }

// Hex digit typed into a value cell (lower case taken as upper case); a null
// QChar when the key is not one.
QChar hexKey(const QKeyEvent *e)
{
    const QString t = e->text();
    if (t.size() != 1)
        return {};
    const QChar c = t[0].toUpper();
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') ? c : QChar();
}

} // namespace

// Rows of the current page: column 0 the register name and address, columns
// 1..8 the names of bit 7 .. bit 0.
class BitGridModel : public QAbstractTableModel {
public:
    explicit BitGridModel(TQx_Reg2 &v) : QAbstractTableModel(&v), v_(v) {}
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : v_.range_.rows(); }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : TQx_Reg2::Columns; }

    const RegBitEntry *entry(int row) const { return v_.bench_.chip.bitRegisters.Get(v_.range_.start + row); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const RegBitEntry *e = index.isValid() ? entry(index.row()) : nullptr;
        if (!e)
            return {};  // a page range past the end of a full list shows nothing
        const int c = index.column();
        const bool set = c > 0 && ((e->Value >> (8 - c)) & 1);
        switch (role) {
        case Qt::DisplayRole:
            return c == 0 ? e->Name.str() + "<0x" + HexText(e->Address, 2) + ">" : e->Bits[size_t(c - 1)].Name.str();
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::ForegroundRole:
            if (c == 0)
                return changedAt(v_.bench_, e->Address) ? QColor(Qt::white) : QColor(Qt::black);
            return set ? QColor(Qt::blue) : QColor(Qt::black);
        case Qt::BackgroundRole:
            if (c == 0)
                return changedAt(v_.bench_, e->Address) ? QColor(Qt::blue) : buttonFace();
            return set ? QColor(Qt::white) : Silver;
        case Qt::ToolTipRole: {
            const QString d = c == 0 ? e->Description.str() : e->Bits[size_t(c - 1)].Description.str();
            return d.isEmpty() ? QVariant() : QVariant(d);
        }
        default:
            return {};
        }
    }

    void reset() { beginResetModel(); endResetModel(); }
    void redraw()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, TQx_Reg2::Columns - 1));
    }

private:
    TQx_Reg2 &v_;
};

// Byte or word registers, nine to a row pair: the name row, then the value
// row below it.
class ValueGridModel : public QAbstractTableModel {
public:
    ValueGridModel(TQx_Reg2 &v, bool word) : QAbstractTableModel(&v), v_(v), word_(word) {}

    const QStringList &names() const
    {
        return word_ ? v_.bench_.chip.desc.wordRegisterNames : v_.bench_.chip.desc.byteRegisterNames;
    }
    int rowCount(const QModelIndex &p = {}) const override
    {
        return p.isValid() ? 0 : 2 * int((names().size() + TQx_Reg2::Columns - 1) / TQx_Reg2::Columns);
    }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : TQx_Reg2::Columns; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int n = (index.row() / 2) * TQx_Reg2::Columns + index.column();
        const bool nameRow = index.row() % 2 == 0;
        const int entry = v_.entryAt(word_, index.row() | 1, index.column());
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (nameRow) {
            if (n >= names().size())
                return {};
            const bool hi = entry >= 0 && changed(entry);
            switch (role) {
            case Qt::DisplayRole: return names()[n];
            case Qt::ForegroundRole: return hi ? QColor(Qt::white) : QColor(Qt::black);
            case Qt::BackgroundRole: return hi ? QColor(Qt::blue) : buttonFace();
            case Qt::ToolTipRole: return description(entry);
            default: return {};
            }
        }
        if (entry < 0)
            return {};
        switch (role) {
        case Qt::DisplayRole: {
            const TQx_Reg2::Typed &t = v_.typed_[word_ ? 1 : 0];
            if (t.active && t.row == index.row() && t.column == index.column())
                return t.text;
            return word_ ? HexText(v_.bench_.chip.wordRegisters.Get(entry)->Value, 4)
                         : HexText(v_.bench_.chip.byteRegisters.Get(entry)->Value, 2);
        }
        case Qt::ForegroundRole: return QColor(Qt::black);
        case Qt::BackgroundRole: return QColor(Qt::white);
        default: return {};
        }
    }

    bool changed(int entry) const
    {
        if (word_) {
            const RegWordEntry *e = v_.bench_.chip.wordRegisters.Get(entry);
            return changedAt(v_.bench_, e->AddressHigh) || changedAt(v_.bench_, e->AddressLow);
        }
        return changedAt(v_.bench_, v_.bench_.chip.byteRegisters.Get(entry)->Address);
    }
    QVariant description(int entry) const
    {
        if (entry < 0)
            return {};
        const QString d = word_ ? v_.bench_.chip.wordRegisters.Get(entry)->Description.str()
                                : v_.bench_.chip.byteRegisters.Get(entry)->Description.str();
        return d.isEmpty() ? QVariant() : QVariant(d);
    }

    void reset() { beginResetModel(); endResetModel(); }
    void redraw()
    {
        if (rowCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, TQx_Reg2::Columns - 1));
    }
    void redrawCell(int row, int column) { emit dataChanged(index(row, column), index(row, column)); }

private:
    TQx_Reg2 &v_;
    bool word_;
};

TQx_Reg2::TQx_Reg2(Bench &bench, TQx_UP &up, HexAsker ask, QWidget *parent)
    : QWidget(parent), bench_(bench), up_(up), ask_(std::move(ask))
{
    setObjectName("Qx_Reg2");
    setWindowTitle(QStringLiteral("暫存器"));
    runMenu = ExecMenu();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildHeader();
    layout->addWidget(PBase_);

    auto heading = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Raised);
        l->setContentsMargins(4, 1, 4, 1);
        return l;
    };
    auto grid = [this](const char *name) {
        auto *g = new ViewGrid(this);
        g->setObjectName(name);
        g->horizontalHeader()->hide();
        g->verticalHeader()->hide();
        g->horizontalHeader()->setMinimumSectionSize(10);
        g->verticalHeader()->setMinimumSectionSize(10);
        g->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        return g;
    };

    Panel1_ = heading("Panel1", "Byte ");
    layout->addWidget(Panel1_);
    SByteReg_ = grid("SByteReg");
    byteModel_ = new ValueGridModel(*this, false);
    SByteReg_->setModel(byteModel_);
    layout->addWidget(SByteReg_);

    ToolBar1_ = new QToolBar(this);
    ToolBar1_->setObjectName("ToolBar1");
    const char *tabNames[Pages] = {"PPage1", "PPAGE2", "PPAGE3", "PPAGE4"};
    for (int p = 0; p < Pages; ++p) {
        auto *b = new QPushButton(QString("PAGE%1").arg(p + 1), ToolBar1_);
        b->setObjectName(tabNames[p]);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, p] { selectPage(p); });
        // A widget on a tool bar is shown and hidden through its action.
        pageTabActions_[size_t(p)] = ToolBar1_->addWidget(b);
        pageTabs_[size_t(p)] = b;
    }
    layout->addWidget(ToolBar1_);
    SREG_ = grid("SREG");
    bitModel_ = new BitGridModel(*this);
    SREG_->setModel(bitModel_);
    layout->addWidget(SREG_);

    Panel3_ = heading("Panel3", "Word");
    layout->addWidget(Panel3_);
    SWordReg_ = grid("SWordReg");
    wordModel_ = new ValueGridModel(*this, true);
    SWordReg_->setModel(wordModel_);
    layout->addWidget(SWordReg_);
    layout->addStretch(1);

    PMenuReg_ = new QMenu(this);
    PMenuReg_->setObjectName("PMenuReg");
    PMRegModify_ = PMenuReg_->addAction(QStringLiteral("更改儲存值"));
    PMRegModify_->setObjectName("PMRegModify");
    connect(PMRegModify_, &QAction::triggered, this, &TQx_Reg2::PMRegModifyClick);
    PMenuIND_ = new QMenu(this);
    PMenuIND_->setObjectName("PMenuIND");
    PMIND_IND_ = PMenuIND_->addAction(QStringLiteral("更改儲存值"));
    PMIND_IND_->setObjectName("PMIND_IND");
    PMIND_FSR_ = PMenuIND_->addAction(QStringLiteral("更改位址"));
    PMIND_FSR_->setObjectName("PMIND_FSR");
    connect(PMIND_IND_, &QAction::triggered, this, &TQx_Reg2::PMIND_INDClick);
    connect(PMIND_FSR_, &QAction::triggered, this, &TQx_Reg2::PMIND_FSRClick);
    PMenuBit_ = new QMenu(this);
    PMenuBit_->setObjectName("PMenuBit");
    PMBitSet_ = PMenuBit_->addAction("=1");
    PMBitSet_->setObjectName("PMBitSet");
    PMBitClr_ = PMenuBit_->addAction("=0");
    PMBitClr_->setObjectName("PMBitClr");

    connect(SREG_, &QTableView::doubleClicked, this, &TQx_Reg2::bitGridDoubleClick);
    connect(SByteReg_, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { valueGridDoubleClick(false, i); });
    connect(SWordReg_, &QTableView::doubleClicked, this, [this](const QModelIndex &i) { valueGridDoubleClick(true, i); });
    for (bool word : {false, true}) {
        ViewGrid *g = word ? SWordReg_ : SByteReg_;
        g->onKey = [this, word](QKeyEvent *e) { return valueGridKey(word, e); };
        g->onCurrentChanged = [this, word](const QModelIndex &cur, const QModelIndex &) {
            const Typed &t = typed_[word ? 1 : 0];
            if (t.active && (cur.row() != t.row || cur.column() != t.column))
                commitTyped(word);
        };
        g->onFocusLost = [this, word] { commitTyped(word); };
    }

    QPointer<TQx_Reg2> self(this);
    bench_.definitionLoaded.add([self] { if (self) self->applyDefinition(); });
    up_.views().set(ViewSlot::RegisterView, [this] { Refresh(false); });
    applyDefinition();
}

TQx_Reg2::~TQx_Reg2()
{
    up_.views().set(ViewSlot::RegisterView, {});
}

QLabel *TQx_Reg2::headerLabel(QWidget *parent, const char *name, const QString &text, bool value)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(ViewFont());
    if (value) {
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAutoFillBackground(true);
        l->setMinimumWidth(QFontMetrics(ViewFont()).horizontalAdvance("0000") + 8);
    }
    l->installEventFilter(this);
    return l;
}

void TQx_Reg2::buildHeader()
{
    PBase_ = new QFrame(this);
    PBase_->setObjectName("PBase");
    PBase_->setFrameShape(QFrame::Panel);
    PBase_->setFrameShadow(QFrame::Raised);
    auto *row = new QHBoxLayout(PBase_);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(6);

    const char *names[2][6] = {{"PnlIND0_B", "Panel10", "PnlIND0_1", "Panel13", "PnlIND0_2", " IND0: M["},
                               {"PnlIND1_B", "Panel2", "PnlIND1_1", "Panel5", "PnlIND1_2", " IND1: M["}};
    for (int p = 0; p < 2; ++p) {
        auto *box = new QFrame(PBase_);
        box->setObjectName(names[p][0]);
        box->setFrameShape(QFrame::Panel);
        box->setFrameShadow(QFrame::Raised);
        box->installEventFilter(this);
        auto *l = new QHBoxLayout(box);
        l->setContentsMargins(2, 2, 2, 2);
        l->setSpacing(0);
        l->addWidget(headerLabel(box, names[p][1], names[p][5], false));
        PnlIND_1_[size_t(p)] = headerLabel(box, names[p][2], "000", true);
        l->addWidget(PnlIND_1_[size_t(p)]);
        l->addWidget(headerLabel(box, names[p][3], "]=", false));
        PnlIND_2_[size_t(p)] = headerLabel(box, names[p][4], "00", true);
        l->addWidget(PnlIND_2_[size_t(p)]);
        PnlIND_B_[p] = box;
        row->addWidget(box);
    }
    PnlWork_B_ = new QFrame(PBase_);
    PnlWork_B_->setObjectName("PnlWork_B");
    PnlWork_B_->setFrameShape(QFrame::Panel);
    PnlWork_B_->setFrameShadow(QFrame::Raised);
    PnlWork_B_->installEventFilter(this);
    auto *wl = new QHBoxLayout(PnlWork_B_);
    wl->setContentsMargins(2, 2, 2, 2);
    wl->setSpacing(0);
    wl->addWidget(headerLabel(PnlWork_B_, "PnlWork_Caption", " Work:", false));
    PnlWork_ = headerLabel(PnlWork_B_, "PnlWork", "00", true);
    wl->addWidget(PnlWork_);
    row->addWidget(PnlWork_B_);

    // The chip link carries neither a program counter nor a cycle count:
    // the two panels keep their captions and show that no value exists.
    PnlPC_ = headerLabel(PBase_, "PnlPC", " Program Counter: -", false);
    PnlPC_->setFrameShape(QFrame::Panel);
    PnlPC_->setFrameShadow(QFrame::Sunken);
    PnlPC_->setToolTip("No program counter is available over the chip link");
    row->addWidget(PnlPC_);
    PnlCycle_ = headerLabel(PBase_, "PnlCycle", " Cycle: --------", false);
    PnlCycle_->setFrameShape(QFrame::Panel);
    PnlCycle_->setFrameShadow(QFrame::Sunken);
    PnlCycle_->setToolTip("No cycle count is available over the chip link");
    row->addWidget(PnlCycle_);
    row->addStretch(1);
}

QLabel *TQx_Reg2::panel(const QString &name) const
{
    return findChild<QLabel *>(name);
}

// ---- refresh ---------------------------------------------------------------

void TQx_Reg2::Refresh(bool force)
{
    RefreshRegisterHeader(bench_.device().Mirror, header_, force);
    showHeader();
    RefreshRegisterLists(bench_.chip, bench_.device().Mirror, bench_.LastValue, bench_.Changed);
    redrawChanged();
    bench_.highlightsChanged.call();  // the memory grid shows the same flags
}

void TQx_Reg2::redrawChanged()
{
    const ChipModel &chip = bench_.chip;
    // Fills `shown` with the new state; true for entries that differ.
    auto diff = [](std::vector<Shown> &shown, int count, auto state, auto redrawEntry) {
        const bool all = int(shown.size()) != count;
        shown.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            const Shown now = state(i);
            if (all || !(now == shown[size_t(i)]))
                redrawEntry(i, all);
            shown[size_t(i)] = now;
        }
    };
    bool bitsAll = false, bytesAll = false, wordsAll = false;
    diff(shownBits_, chip.bitRegisters.Count(),
         [&](int i) { const RegBitEntry *e = chip.bitRegisters.Get(i); return Shown{e->Value, changedAt(bench_, e->Address)}; },
         [&](int i, bool all) {
             bitsAll |= all;
             if (!all && i >= range_.start && i < range_.end)
                 emit bitModel_->dataChanged(bitModel_->index(i - range_.start, 0),
                                             bitModel_->index(i - range_.start, Columns - 1));
         });
    diff(shownBytes_, chip.byteRegisters.Count(),
         [&](int i) { const RegByteEntry *e = chip.byteRegisters.Get(i); return Shown{e->Value, changedAt(bench_, e->Address)}; },
         [&](int i, bool all) {
             bytesAll |= all;
             if (!all) {
                 byteModel_->redrawCell(2 * (i / Columns), i % Columns);
                 byteModel_->redrawCell(2 * (i / Columns) + 1, i % Columns);
             }
         });
    diff(shownWords_, chip.wordRegisters.Count(),
         [&](int i) {
             const RegWordEntry *e = chip.wordRegisters.Get(i);
             return Shown{e->Value, changedAt(bench_, e->AddressHigh) || changedAt(bench_, e->AddressLow)};
         },
         [&](int i, bool all) {
             wordsAll |= all;
             if (!all) {
                 wordModel_->redrawCell(2 * (i / Columns), i % Columns);
                 wordModel_->redrawCell(2 * (i / Columns) + 1, i % Columns);
             }
         });
    if (bitsAll)
        bitModel_->redraw();
    if (bytesAll)
        byteModel_->redraw();
    if (wordsAll)
        wordModel_->redraw();
}

void TQx_Reg2::showHeader()
{
    auto paint = [](QLabel *l, const QString &text, bool highlighted) {
        if (l->text() != text)
            l->setText(text);
        if (l->property("highlighted").isValid() && l->property("highlighted").toBool() == highlighted)
            return;
        l->setProperty("highlighted", highlighted);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, highlighted ? QColor(Qt::blue) : QColor(Qt::white));
        p.setColor(QPalette::WindowText, highlighted ? QColor(Qt::white) : QColor(Qt::blue));
        l->setPalette(p);
    };
    paint(PnlWork_, HexText(header_.work.value, 2), header_.work.highlighted);
    for (int p = 0; p < 2; ++p) {
        paint(PnlIND_1_[size_t(p)], HexText(header_.fsr[size_t(p)].value, 3), header_.fsr[size_t(p)].highlighted);
        paint(PnlIND_2_[size_t(p)], HexText(header_.ind[size_t(p)].value, 2), header_.ind[size_t(p)].highlighted);
    }
}

void TQx_Reg2::selectPage(int page)
{
    if (page < 0 || page >= Pages)
        return;
    page_ = page;
    setPageLooks();
    range_ = BitPageRange(bench_.chip.desc, page_);
    bitModel_->reset();
    shownBits_.clear();
    fitGrid(SREG_, range_.rows() + 3);
    Refresh(true);
}

void TQx_Reg2::setPageLooks()
{
    static const char *colours[Pages] = {"#FFFF00", "#00FF00", "#FF0000", "#FFFFFF"};
    for (int p = 0; p < Pages; ++p) {
        QPushButton *b = pageTabs_[size_t(p)];
        const bool current = p == page_;
        b->setFlat(!current);
        b->setStyleSheet(current ? QString("QPushButton { background: %1; color: black; border: 2px outset #C0C0C0;"
                                           " padding: 2px 8px; font-weight: bold; }")
                                       .arg(colours[p])
                                 : QString("QPushButton { border: 1px inset #A0A0A0; padding: 2px 8px; }"));
    }
}

void TQx_Reg2::fitGrid(ViewGrid *grid, int rows)
{
    const int rowH = std::max(14, QFontMetrics(ViewFont()).height() + 2);
    QHeaderView *h = grid->horizontalHeader();
    h->setDefaultSectionSize(80);
    grid->verticalHeader()->setDefaultSectionSize(rowH);
    int width = 0;
    for (int c = 0; c < Columns; ++c) {
        // A column as wide as its longest text, at least 80 pixels.
        int w = 80;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            w = std::max(w, QFontMetrics(ViewFont()).horizontalAdvance(
                                grid->model()->index(r, c).data().toString()) + 8);
        h->resizeSection(c, w);
        width += w;
    }
    const int frame = 2 * grid->frameWidth();
    grid->setFixedHeight(std::min(rows, 40) * rowH + frame);
    grid->setMinimumWidth(width + frame + grid->verticalScrollBar()->sizeHint().width());
}

void TQx_Reg2::rebuildGrids()
{
    typed_ = {};
    byteModel_->reset();
    wordModel_->reset();
    shownBytes_.clear();
    shownWords_.clear();
    fitGrid(SByteReg_, byteModel_->rowCount());
    fitGrid(SWordReg_, wordModel_->rowCount());
    const bool words = !bench_.chip.desc.wordRegisterNames.isEmpty();
    Panel3_->setVisible(words);
    SWordReg_->setVisible(words);
    selectPage(page_);
}

void TQx_Reg2::setChipName(const QString &name)
{
    setWindowTitle(QStringLiteral("暫存器 - ") + name);
}

void TQx_Reg2::applyDefinition()
{
    const ChipDescription &d = bench_.chip.desc;
    if (!d.registerViewCaption.isEmpty())
        setWindowTitle(d.registerViewCaption);
    for (int p = 0; p < Pages; ++p)
        pageTabActions_[size_t(p)]->setVisible(d.pageShown[size_t(p)] && d.bitPageCounts[size_t(p)] > 0);
    page_ = d.pageAfterLoad(page_);
    rebuildGrids();
    adjustSize();
}

// ---- header strip ----------------------------------------------------------

bool TQx_Reg2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (QObject *o = watched; o && o != PBase_; o = o->parent()) {
            if (o == PnlWork_B_) {
                clickedPanel_ = qobject_cast<QWidget *>(watched);
                PnlWorkClick();
                return true;
            }
            if (o == PnlPC_) {
                PnlPCClick();
                return true;
            }
            for (int p = 0; p < 2; ++p)
                if (o == PnlIND_B_[p]) {
                    clickedPanel_ = PnlIND_B_[p];
                    PnlINDClick(p);
                    return true;
                }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TQx_Reg2::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && !isActiveWindow()) {
        commitTyped(false);
        commitTyped(true);
    }
}

static QPoint bottomLeft(QWidget *w)
{
    return w->mapToGlobal(QPoint(0, w->height()));
}

void TQx_Reg2::PnlWorkClick()
{
    if (!clickedPanel_ || (clickedPanel_ != PnlWork_ && clickedPanel_ != PnlWork_B_))
        clickedPanel_ = PnlWork_B_;
    menuOwner_ = MenuOwner::Work;
    if (QAction *a = runMenu(*PMenuReg_, bottomLeft(clickedPanel_)))
        a->trigger();
}

void TQx_Reg2::PnlPCClick()
{
    clickedPanel_ = PnlPC_;
    menuOwner_ = MenuOwner::ProgramCounter;
    if (QAction *a = runMenu(*PMenuReg_, bottomLeft(PnlPC_)))
        a->trigger();
}

void TQx_Reg2::PnlINDClick(int pair)
{
    indPair_ = pair == 1 ? 1 : 0;
    clickedPanel_ = PnlIND_B_[indPair_];
    PMIND_FSR_->setText(indPair_ == 0 ? "Modify FSR0" : "Modify FSR1");
    if (QAction *a = runMenu(*PMenuIND_, bottomLeft(clickedPanel_)))
        a->trigger();
}

HexAnswer TQx_Reg2::askAt(QWidget *panel, const QString &limit, const QString &range, const QString &prompt)
{
    const QPoint at = bottomLeft(panel ? panel : this);
    return ask_(at.x(), at.y(), limit, range, prompt);
}

void TQx_Reg2::PMRegModifyClick()
{
    if (menuOwner_ != MenuOwner::Work)
        return;  // opened from the program counter panel: nothing to change
    const int a = RegisterHeader::WorkAddress;
    const HexAnswer r = askAt(clickedPanel_, "FF", "00~FF", "Work=" + HexText(up_.ReadMirror(a, 0), 2));
    if (r.accepted)
        up_.WriteChipByte(a, uint8_t(r.value), 0);
}

void TQx_Reg2::PMIND_INDClick()
{
    const int high = indPair_ == 0 ? RegisterHeader::Fsr0High : RegisterHeader::Fsr1High;
    const int fsr = up_.ReadMirror(high, 0) * 256 + up_.ReadMirror(high + 1, 0);
    const HexAnswer r = askAt(clickedPanel_, "FF", "00~FF",
                              QString("IND%1=").arg(indPair_) + HexText(up_.ReadMirror(fsr, 0), 2));
    if (r.accepted)
        up_.WriteChipByte(fsr, uint8_t(r.value), 0);
}

void TQx_Reg2::PMIND_FSRClick()
{
    const int high = indPair_ == 0 ? RegisterHeader::Fsr0High : RegisterHeader::Fsr1High;
    const int fsr = up_.ReadMirror(high, 0) * 256 + up_.ReadMirror(high + 1, 0);
    const HexAnswer r = askAt(clickedPanel_, "FFF", "000~FFF", QString("FSR%1=").arg(indPair_) + HexText(fsr, 3));
    if (r.accepted)
        writePair(high, high + 1, r.value);
}

// High byte, then low byte; a failed first write leaves the pair as it was.
bool TQx_Reg2::writePair(int high, int low, int value)
{
    if (!up_.WriteChipByte(high, uint8_t((value >> 8) & 0xFF), 0))
        return false;
    return up_.WriteChipByte(low, uint8_t(value & 0xFF), 0);
}

// ---- grids -----------------------------------------------------------------

int TQx_Reg2::entryAt(bool word, int row, int column) const
{
    if (row < 0 || column < 0 || column >= Columns || row % 2 == 0)
        return -1;
    const int n = (row / 2) * Columns + column;
    const int count = word ? bench_.chip.wordRegisters.Count() : bench_.chip.byteRegisters.Count();
    return n < count ? n : -1;
}

void TQx_Reg2::bitGridDoubleClick(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const RegBitEntry *e = bitModel_->entry(index.row());
    if (!e)
        return;
    const int a = e->Address;
    const QPoint at = SREG_->cellBottomLeft(index);
    if (index.column() == 0) {
        const HexAnswer r = ask_(at.x(), at.y(), "FF", "00~FF",
                                 "Ram" + HexText(a, 3) + "=" + index.data().toString());
        if (r.accepted)
            up_.WriteChipByte(a, uint8_t(r.value), 0);
        return;
    }
    const int bit = 8 - index.column();
    const QString name = e->bit(bit).Name.str();
    if (name == "-")
        return;
    PMBitSet_->setText(name + "=1");
    PMBitClr_->setText(name + "=0");
    QAction *chosen = runMenu(*PMenuBit_, at);
    if (!chosen)
        return;
    const uint8_t now = up_.ReadMirror(a, 0);
    if (chosen == PMBitSet_)
        up_.WriteChipByte(a, uint8_t(now | (1 << bit)), 0);
    else if (chosen == PMBitClr_)
        up_.WriteChipByte(a, uint8_t(now & ~(1 << bit)), 0);
}

void TQx_Reg2::valueGridDoubleClick(bool word, const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const int n = entryAt(word, index.row(), index.column());
    if (n < 0)
        return;  // name rows and cells without a register
    const QPoint at = (word ? SWordReg_ : SByteReg_)->cellBottomLeft(index);
    const QString text = index.data().toString();
    if (word) {
        const RegWordEntry *e = bench_.chip.wordRegisters.Get(n);
        const HexAnswer r = ask_(at.x(), at.y(), "FFFF", "0000~FFFF", "Ram" + text);
        if (r.accepted)
            writePair(e->AddressHigh, e->AddressLow, r.value);
    } else {
        const RegByteEntry *e = bench_.chip.byteRegisters.Get(n);
        const HexAnswer r = ask_(at.x(), at.y(), "FF", "00~FF", "Ram" + HexText(e->Address, 3) + "=" + text);
        if (r.accepted)
            up_.WriteChipByte(e->Address, uint8_t(r.value), 0);
    }
}

bool TQx_Reg2::valueGridKey(bool word, QKeyEvent *e)
{
    ViewGrid *g = word ? SWordReg_ : SByteReg_;
    const QModelIndex cur = g->currentIndex();
    const int key = e->key();
    const bool commitKey = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
    const bool character = commitKey || key == Qt::Key_Backspace || (e->text().size() == 1 && e->text()[0].isPrint());
    if (!character)
        return false;  // navigation keys move the cell as usual
    if (!cur.isValid() || entryAt(word, cur.row(), cur.column()) < 0)
        return true;  // name rows and empty cells take no keys
    Typed &t = typed_[word ? 1 : 0];
    if (t.active && (t.row != cur.row() || t.column != cur.column()))
        commitTyped(word);
    if (commitKey) {
        if (!t.active)
            t = {true, cur.row(), cur.column(), cur.data().toString()};
        commitTyped(word);
        return true;
    }
    QString text = t.active ? t.text : cur.data().toString();
    if (key == Qt::Key_Backspace) {
        text.chop(1);
    } else {
        const QChar c = hexKey(e);
        if (c.isNull())
            return true;  // swallowed
        text = (text + c).right(word ? 4 : 2);
    }
    t = {true, cur.row(), cur.column(), text};
    (word ? wordModel_ : byteModel_)->redrawCell(cur.row(), cur.column());
    return true;
}

void TQx_Reg2::commitTyped(bool word)
{
    Typed &t = typed_[word ? 1 : 0];
    if (!t.active)
        return;
    const Typed done = t;
    t = {};
    const int n = entryAt(word, done.row, done.column);
    if (n >= 0) {
        const int value = ParseHex(done.text);
        if (word) {
            const RegWordEntry *e = bench_.chip.wordRegisters.Get(n);
            writePair(e->AddressHigh, e->AddressLow, value & 0xFFFF);
        } else {
            up_.WriteChipByte(bench_.chip.byteRegisters.Get(n)->Address, uint8_t(value & 0xFF), 0);
        }
    }
    // After a failed write the cell shows the stored value again.
    (word ? wordModel_ : byteModel_)->redrawCell(done.row, done.column);
}

} // namespace qx
