#pragma once
// The keypad logic of the hex entry popup: up to limit.size() upper-case hex
// digits, each no larger than the limit's digit at its position.
#include <QString>

namespace qx {

class HexEntry {
public:
    void reset(const QString &limit) { limit_ = limit.toUpper(); text_.clear(); accepted_ = false; closed_ = false; }

    // Appends a digit when it fits; true when the entry became full length,
    // which accepts it.
    bool addDigit(QChar c);
    void backspace() { if (!text_.isEmpty()) text_.chop(1); }
    void clear() { text_.clear(); }
    // Enter: accepted when something was typed.
    void enter() { accepted_ = !text_.isEmpty(); closed_ = true; }
    void cancel() { accepted_ = false; closed_ = true; }

    const QString &text() const { return text_; }
    bool accepted() const { return accepted_ && !text_.isEmpty(); }
    bool closed() const { return closed_; }
    int value() const;

    static int digitValue(QChar c);

private:
    QString limit_;
    QString text_;
    bool accepted_ = false;
    bool closed_ = false;
};

} // namespace qx
