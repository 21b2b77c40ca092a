#pragma once
// Both views on the in-process simulator over SPI, with the sample chip
// loaded and a scripted hex keypad and menu.
#include "device/base_utils.h"
#include "device/chip_definition_loader.h"
#include "support/chip_bench.h"
#include "views/memory_view.h"
#include "views/register_view.h"
#include "views/view_grid.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace qx::test {

inline QStringList SampleDefinition()
{
    QFile f(QStringLiteral(QX_CHIPS_DIR) + "/QX7020.INC");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll()).split('\n');
}

struct Asked {
    QString limit, range, prompt;
    QPoint at;
};

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(cb.use(InterfaceKind::SPI));
        load(SampleDefinition());
        auto ask = [this](int x, int y, const QString &limit, const QString &range, const QString &prompt) {
            asked.push_back({limit, range, prompt, QPoint(x, y)});
            if (answers.empty())
                return HexAnswer{};
            const HexAnswer a = answers.front();
            answers.pop_front();
            return a;
        };
        ram = std::make_unique<TQx_RAM>(cb.bench, cb.up, ask);
        reg = std::make_unique<TQx_Reg2>(cb.bench, cb.up, ask);
        auto menu = [this](QMenu &m, const QPoint &) -> QAction * {
            QStringList captions;
            for (QAction *a : m.actions())
                if (!a->isSeparator())
                    captions << a->text();
            menus.push_back(captions);
            if (menuChoice.isEmpty())
                return nullptr;
            QAction *a = m.findChild<QAction *>(menuChoice);
            menuChoice.clear();
            return a;
        };
        ram->runMenu = menu;
        reg->runMenu = menu;
        ram->openDocument = [this](const QUrl &u) { opened.push_back(u); return true; };
    }

    void load(const QStringList &lines)
    {
        LoadDefinitionLines(cb.bench.chip, lines);
        cb.bench.definitionLoaded.call();
    }
    // The chip and the mirror both hold `value` at `address`.
    void preset(int address, uint8_t value)
    {
        cb.chip.load(address, {value});
        cb.bench.device().Mirror[size_t(address)] = value;
    }
    uint8_t chipByte(int a) { return cb.chip.memory()[size_t(a)]; }
    uint8_t mirror(int a) { return cb.bench.device().Mirror[size_t(a)]; }

    static QColor background(const QModelIndex &i) { return i.data(Qt::BackgroundRole).value<QColor>(); }

    // Types into a grid: '\n' Enter, '\t' Tab, '\b' Backspace, other characters as they are.
    static void type(ViewGrid *g, const QString &keys)
    {
        for (QChar k : keys) {
            if (k == '\n')
                QTest::keyClick(g, Qt::Key_Return);
            else if (k == '\t')
                QTest::keyClick(g, Qt::Key_Tab);
            else if (k == '\b')
                QTest::keyClick(g, Qt::Key_Backspace);
            else
                QTest::keyClicks(g, QString(k));
        }
    }
    static void doubleClick(ViewGrid *g, int row, int column)
    {
        const QModelIndex i = g->model()->index(row, column);
        g->setCurrentIndex(i);
        emit g->doubleClicked(i);
    }

    ChipBench cb;
    std::unique_ptr<TQx_RAM> ram;
    std::unique_ptr<TQx_Reg2> reg;
    std::deque<HexAnswer> answers;
    std::vector<Asked> asked;
    std::vector<QStringList> menus;
    QString menuChoice;
    std::vector<QUrl> opened;
};

} // namespace qx::test
