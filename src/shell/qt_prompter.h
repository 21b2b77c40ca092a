#pragma once
#include "core/prompter.h"

class QWidget;

namespace qx {

// The Prompter of the running tool: Qt message boxes and dialogs.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    Answer message(const QString &title, const QString &text, Buttons buttons) override;
    std::optional<QString> openFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<unsigned> chooseColour(unsigned initial) override;
    std::optional<QString> askText(const QString &title, const QString &label, const QString &initial) override;

private:
    QWidget *parent_;
};

} // namespace qx
