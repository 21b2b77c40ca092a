#include "shell/qt_prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qx {

Prompter::Answer QtPrompter::message(const QString &title, const QString &text, Buttons buttons)
{
    QMessageBox::StandardButtons b = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok: b = QMessageBox::Ok; break;
    case Buttons::OkCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: b = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    switch (QMessageBox::question(parent_, title, text, b)) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::openFile(const QString &title, const QString &dir, const QString &filter)
{
    const QString f = QFileDialog::getOpenFileName(parent_, title, dir, filter);
    return f.isEmpty() ? std::nullopt : std::optional<QString>(f);
}

std::optional<QString> QtPrompter::saveFile(const QString &title, const QString &dir, const QString &filter)
{
    // The tool asks its own overwrite question where it needs one.
    const QString f = QFileDialog::getSaveFileName(parent_, title, dir, filter, nullptr,
                                                   QFileDialog::DontConfirmOverwrite);
    return f.isEmpty() ? std::nullopt : std::optional<QString>(f);
}

std::optional<unsigned> QtPrompter::chooseColour(unsigned initial)
{
    const QColor c = QColorDialog::getColor(QColor::fromRgb(initial), parent_);
    return c.isValid() ? std::optional<unsigned>(c.rgb() & 0xFFFFFFu) : std::nullopt;
}

std::optional<QString> QtPrompter::askText(const QString &title, const QString &label, const QString &initial)
{
    bool ok = false;
    const QString t = QInputDialog::getText(parent_, title, label, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(t) : std::nullopt;
}

} // namespace qx
