#pragma once
#include "core/prompter.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace qx::test {

// A Prompter that records every question and answers from a script. An
// unscripted question gets Cancel (or nothing), so a test never blocks.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        QString kind;   // "message", "open", "save", "colour", "text"
        QString title;
        QString text;
    };

    Answer message(const QString &title, const QString &text, Buttons buttons) override;
    std::optional<QString> openFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<QString> saveFile(const QString &title, const QString &dir, const QString &filter) override;
    std::optional<unsigned> chooseColour(unsigned initial) override;
    std::optional<QString> askText(const QString &title, const QString &label, const QString &initial) override;

    std::deque<Answer> answers;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<unsigned>> colours;
    std::deque<std::optional<QString>> texts;
    std::vector<Shown> shown;

    QStringList messages() const;
};

} // namespace qx::test
