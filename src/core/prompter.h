#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace qx {

// Every message box and file, colour or text dialog of the tool goes through
// a Prompter, so tests answer them without a modal box. The Qt implementation
// lives with the windows (shell); tests use ScriptedPrompter.
class Prompter {
public:
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

    virtual ~Prompter() = default;
    virtual Answer message(const QString &title, const QString &text, Buttons buttons) = 0;
    // File dialogs: std::nullopt when the user cancels.
    virtual std::optional<QString> openFile(const QString &title, const QString &dir,
                                            const QString &filter) = 0;
    virtual std::optional<QString> saveFile(const QString &title, const QString &dir,
                                            const QString &filter) = 0;
    // Colour as 0xRRGGBB.
    virtual std::optional<unsigned> chooseColour(unsigned initial) = 0;
    virtual std::optional<QString> askText(const QString &title, const QString &label,
                                           const QString &initial) = 0;
};

// Nobody to ask (command-line runs, benchmarks): every question is
// answered "cancel".
class SilentPrompter final : public Prompter {
public:
    Answer message(const QString &, const QString &, Buttons) override { return Answer::Cancel; }
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> saveFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<unsigned> chooseColour(unsigned) override { return {}; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override { return {}; }
};

} // namespace qx
