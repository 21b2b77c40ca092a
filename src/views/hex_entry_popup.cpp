#include "views/hex_entry_popup.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace qx {

namespace {
constexpr int ButtonW = 32;
constexpr int ButtonH = 28;
constexpr int Margin = 8;
} // namespace

TQxPopSelHex::TQxPopSelHex(QWidget *parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName("QxPopSelHex");
    setFont(QFont("Times New Roman", 10));
    auto *base = new QWidget(this);
    base->setObjectName("PBase");

    const int gridW = 4 * ButtonW;
    ENum_ = new QLineEdit(base);
    ENum_->setObjectName("ENum");
    ENum_->setReadOnly(true);
    ENum_->setAlignment(Qt::AlignRight);
    ENum_->setGeometry(Margin, Margin, gridW, 26);
    ENum_->setFocusPolicy(Qt::NoFocus);

    const int top = ENum_->geometry().bottom() + 1 + 4;
    for (int i = 0; i < 16; ++i) {
        const QChar c = QString::number(i, 16).toUpper()[0];
        auto *b = new QPushButton(QString(c), base);
        b->setObjectName(QString("B%1").arg(c));
        b->setGeometry(Margin + (i % 4) * ButtonW, top + (i / 4) * ButtonH, ButtonW, ButtonH);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, c] { digit(c); });
        digits_[size_t(i)] = b;
    }
    const int enterTop = top + 4 * ButtonH;
    enter_ = new QPushButton("Enter", base);
    enter_->setObjectName("BEnter");
    enter_->setGeometry(Margin, enterTop, gridW, ButtonH);
    clear_ = new QPushButton("Clear", base);
    clear_->setObjectName("BClear");
    clear_->setGeometry(Margin, enterTop + ButtonH + 4, 2 * ButtonW, ButtonH);
    cancel_ = new QPushButton("Cancel", base);
    cancel_->setObjectName("BCancel");
    cancel_->setGeometry(Margin + 2 * ButtonW, enterTop + ButtonH + 4, 2 * ButtonW, ButtonH);
    for (QPushButton *b : {enter_, clear_, cancel_})
        b->setFocusPolicy(Qt::NoFocus);
    connect(enter_, &QPushButton::clicked, this, [this] { entry_.enter(); done(entry_.accepted() ? Accepted : Rejected); });
    connect(clear_, &QPushButton::clicked, this, [this] { entry_.clear(); sync(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { entry_.cancel(); reject(); });

    // The range strip exists but stays hidden.
    PnlStatus_ = new QLabel(base);
    PnlStatus_->setObjectName("PnlStatus");
    PnlStatus_->hide();

    const int clientW = Margin + gridW + Margin;
    const int clientH = cancel_->geometry().bottom() + 1 + Margin;
    base->setGeometry(0, 0, clientW, clientH);
    setFixedSize(clientW, clientH);
}

void TQxPopSelHex::prepare(int x, int y, const QString &limit, const QString &rangeText, const QString &prompt)
{
    enter_->setText("Enter");
    clear_->setText("Clear");
    cancel_->setText("Cancel");
    entry_.reset(limit);
    QRect screen(0, 0, 1920, 1080);
    if (const QScreen *s = QGuiApplication::screenAt(QPoint(x, y)) ? QGuiApplication::screenAt(QPoint(x, y))
                                                                     : QGuiApplication::primaryScreen())
        screen = s->geometry();
    const QSize outer = frameGeometry().size();
    if (x + outer.width() > screen.right() + 1)
        x = screen.right() + 1 - outer.width();
    if (y + outer.height() > screen.bottom() + 1)
        y = screen.bottom() + 1 - outer.height();
    move(x, y);
    setWindowTitle(prompt);
    PnlStatus_->setText(rangeText);
    sync();
}

HexAnswer TQxPopSelHex::Execute(int x, int y, const QString &limit, const QString &rangeText, const QString &prompt)
{
    prepare(x, y, limit, rangeText, prompt);
    exec();
    return answer();
}

void TQxPopSelHex::digit(QChar c)
{
    if (entry_.addDigit(c)) {
        sync();
        accept();
        return;
    }
    sync();
}

void TQxPopSelHex::sync()
{
    ENum_->setText(entry_.text());
    ENum_->setCursorPosition(int(entry_.text().size()));
}

void TQxPopSelHex::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        entry_.enter();
        done(entry_.accepted() ? Accepted : Rejected);
        return;
    case Qt::Key_Escape:
        entry_.cancel();
        reject();
        return;
    case Qt::Key_Backspace:
        entry_.backspace();
        sync();
        return;
    default:
        break;
    }
    const QString t = event->text();
    if (t.size() == 1 && HexEntry::digitValue(t[0]) >= 0)
        digit(t[0]);
    // every other key is ignored
}

void TQxPopSelHex::closeEvent(QCloseEvent *event)
{
    if (!entry_.closed())
        entry_.cancel();
    QDialog::closeEvent(event);
}

} // namespace qx
