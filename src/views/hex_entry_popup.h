#pragma once
// TQxPopSelHex: a small modal keypad asking for a hexadecimal value.
#include "views/hex_entry.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qx {

struct HexAnswer {
    bool accepted = false;
    int value = 0;
};

class TQxPopSelHex : public QDialog {
    Q_OBJECT
public:
    explicit TQxPopSelHex(QWidget *parent = nullptr);

    // Shows the keypad at (x, y), kept on the screen, and waits for it to close.
    HexAnswer Execute(int x, int y, const QString &limit, const QString &rangeText, const QString &prompt);
    // Same steps without waiting (tests and non-blocking callers): open, type, then answer().
    void prepare(int x, int y, const QString &limit, const QString &rangeText, const QString &prompt);
    HexAnswer answer() const { return {entry_.accepted(), entry_.value()}; }

    QLineEdit *edit() const { return ENum_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void digit(QChar c);
    void sync();

    HexEntry entry_;
    QLineEdit *ENum_;
    QLabel *PnlStatus_;
    std::array<QPushButton *, 16> digits_{};
    QPushButton *enter_, *clear_, *cancel_;
};

} // namespace qx
