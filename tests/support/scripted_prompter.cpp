#include "support/scripted_prompter.h"

namespace qx::test {

namespace {
// GCC 12 reports a false maybe-uninitialized on moving std::optional<QString>.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
template <typename T>
T next(std::deque<T> &q, T fallback)
{
    if (q.empty())
        return fallback;
    T v = std::move(q.front());
    q.pop_front();
    return v;
}
} // namespace

Prompter::Answer ScriptedPrompter::message(const QString &title, const QString &text, Buttons)
{
    shown.push_back({"message", title, text});
    return next(answers, Answer::Cancel);
}

std::optional<QString> ScriptedPrompter::openFile(const QString &title, const QString &dir, const QString &)
{
    shown.push_back({"open", title, dir});
    return next(files, std::optional<QString>());
}

std::optional<QString> ScriptedPrompter::saveFile(const QString &title, const QString &dir, const QString &)
{
    shown.push_back({"save", title, dir});
    return next(files, std::optional<QString>());
}

std::optional<unsigned> ScriptedPrompter::chooseColour(unsigned)
{
    shown.push_back({"colour", QString(), QString()});
    return next(colours, std::optional<unsigned>());
}

std::optional<QString> ScriptedPrompter::askText(const QString &title, const QString &label, const QString &)
{
    shown.push_back({"text", title, label});
    return next(texts, std::optional<QString>());
}

QStringList ScriptedPrompter::messages() const
{
    QStringList l;
    for (const auto &s : shown)
        if (s.kind == "message")
            l << s.text;
    return l;
}

} // namespace qx::test
