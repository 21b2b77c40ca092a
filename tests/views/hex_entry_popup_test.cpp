#include "views/hex_entry_popup.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace qx;

namespace {
// Opens the keypad without blocking, types `keys` ('\n' Enter, '\e' Esc,
// '\b' Backspace, 'c' the Clear button) and returns the answer.
HexAnswer type(TQxPopSelHex &pop, const QString &limit, const QString &keys)
{
    pop.prepare(10, 10, limit, "00~FF", "prompt");
    pop.show();
    for (QChar k : keys) {
        if (!pop.isVisible())
            break;
        if (k == '\n') {
            QTest::keyClick(&pop, Qt::Key_Return);
        } else if (k == '\e') {
            QTest::keyClick(&pop, Qt::Key_Escape);
        } else if (k == '\b') {
            QTest::keyClick(&pop, Qt::Key_Backspace);
        } else if (k == 'c') {
            pop.findChild<QPushButton *>("BClear")->click();
        } else {
            QTest::keyClicks(&pop, QString(k));
        }
    }
    const HexAnswer a = pop.answer();
    pop.hide();
    return a;
}
} // namespace

TEST(HexEntryPopup, KeypadRules)
{
    TQxPopSelHex pop;
    struct Case { const char *limit; const char *keys; bool accepted; int value; };
    const Case cases[] = {
        {"FF", "5\n", true, 0x05},      // Enter after one digit
        {"FF", "5A", true, 0x5A},       // full length closes at once
        {"FF", "5a", true, 0x5A},       // lower case taken as upper case
        {"FFF", "123", true, 0x123},
        {"FF", "5\e", false, 0},        // Esc: nothing accepted
        {"FF", "\n", false, 0},         // an empty entry never counts
        {"FF", "7\b3\n", true, 0x03},   // Backspace
        {"FF", "7c\n", false, 0},       // Clear
        {"1F", "2\n", false, 0},        // 2 exceeds the first limit digit: ignored
        {"1F", "1G\n", true, 0x01},     // non-hex keys ignored
        {"FFFF", "12345", true, 0x1234},
    };
    for (const Case &c : cases) {
        const HexAnswer a = type(pop, c.limit, c.keys);
        EXPECT_EQ(a.accepted, c.accepted) << c.limit << " " << c.keys;
        if (c.accepted) {
            EXPECT_EQ(a.value, c.value) << c.limit << " " << c.keys;
        }
    }
}

TEST(HexEntryPopup, CloseBoxAndScreenEdge)
{
    TQxPopSelHex pop;
    pop.prepare(10, 10, "FF", "00~FF", "Value");
    pop.show();
    QTest::keyClicks(&pop, "3");
    pop.close();
    EXPECT_FALSE(pop.answer().accepted);
    EXPECT_EQ(pop.windowTitle(), "Value");

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    pop.prepare(screen.right() - 5, screen.bottom() - 5, "FF", "00~FF", "Edge");
    pop.show();
    EXPECT_TRUE(screen.contains(pop.frameGeometry())) << pop.frameGeometry().x() << "," << pop.frameGeometry().y();
    EXPECT_GT(pop.frameGeometry().right(), screen.right() - 10);
    pop.hide();

    // Geometry of the keypad: rows of four below the edit, Enter four buttons wide.
    const auto *b0 = pop.findChild<QPushButton *>("B0");
    const auto *bC = pop.findChild<QPushButton *>("BC");
    const auto *enter = pop.findChild<QPushButton *>("BEnter");
    const auto *cancel = pop.findChild<QPushButton *>("BCancel");
    const auto *edit = pop.findChild<QLineEdit *>("ENum");
    EXPECT_EQ(b0->x(), 8);
    EXPECT_EQ(b0->y(), edit->geometry().bottom() + 1 + 4);
    EXPECT_EQ(bC->y(), b0->y() + 3 * b0->height());
    EXPECT_EQ(enter->width(), 4 * b0->width());
    EXPECT_EQ(edit->width(), enter->width());
    EXPECT_EQ(cancel->y(), enter->geometry().bottom() + 1 + 4);
    EXPECT_EQ(pop.width(), enter->geometry().right() + 1 + 8);
    EXPECT_EQ(pop.height(), cancel->geometry().bottom() + 1 + 8);
}
