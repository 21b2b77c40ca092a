#include "device/chip_selection.h"
#include "views_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

using namespace qx;
using namespace qx::test;

namespace {
QModelIndex at(ViewGrid *g, int row, int column) { return g->model()->index(row, column); }
QString text(ViewGrid *g, int row, int column) { return at(g, row, column).data().toString(); }
} // namespace

TEST_F(ViewsTest, RegisterGridsFromTheDefinition)
{
    // Byte registers nine to a row pair; SADC0 at 0x000 first, CHIPIDH last.
    EXPECT_EQ(text(reg->byteGrid(), 0, 0), "SADC0");
    EXPECT_EQ(reg->byteGrid()->model()->rowCount(), 8);  // 36 registers
    EXPECT_EQ(text(reg->byteGrid(), 7, 8), "00");
    EXPECT_EQ(text(reg->wordGrid(), 0, 0), "CPT");

    preset(0x14, 0xFF);  // INTF, bits 7..5 absent
    reg->selectPage(0);
    EXPECT_EQ(reg->bitGrid()->model()->rowCount(), 10);
    EXPECT_EQ(text(reg->bitGrid(), 0, 0), "INTF<0x14>");
    EXPECT_EQ(text(reg->bitGrid(), 0, 1), "-");
    EXPECT_EQ(text(reg->bitGrid(), 0, 8), "CTIF");
    EXPECT_EQ(background(at(reg->bitGrid(), 0, 1)), QColor(0xC0, 0xC0, 0xC0));  // "-" always reads 0
    EXPECT_EQ(background(at(reg->bitGrid(), 0, 8)), QColor(Qt::white));
    EXPECT_EQ(at(reg->bitGrid(), 0, 8).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));

    // Page tabs and the page switch (force: header not highlighted, Changed still updated).
    preset(0x29, 0x61);
    preset(0x28, 0x0F);
    reg->findChild<QPushButton *>("PPAGE2")->click();
    EXPECT_EQ(reg->page(), 1);
    EXPECT_EQ(text(reg->bitGrid(), 0, 0), "AD2MUX<0x28>");
    EXPECT_EQ(reg->panel("PnlWork")->text(), "61");
    EXPECT_FALSE(reg->header().work.highlighted);
    EXPECT_EQ(cb.bench.Changed[0x28], 1);
    EXPECT_EQ(background(at(reg->bitGrid(), 0, 0)), QColor(Qt::blue));
}

TEST_F(ViewsTest, RegisterBitMenu)
{
    reg->selectPage(0);
    preset(0x22, 0x00);  // AD1BUF
    menuChoice = "PMBitSet";
    doubleClick(reg->bitGrid(), 2, 8);  // bit 0, VIPBUF
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], QStringList({"VIPBUF=1", "VIPBUF=0"}));
    EXPECT_EQ(chipByte(0x22), 0x01);
    menuChoice = "PMBitSet";
    doubleClick(reg->bitGrid(), 2, 1);  // bit 7
    EXPECT_EQ(chipByte(0x22), 0x81);
    menuChoice = "PMBitClr";
    doubleClick(reg->bitGrid(), 2, 8);
    EXPECT_EQ(chipByte(0x22), 0x80);
    doubleClick(reg->bitGrid(), 0, 1);  // INTF bit 7 is "-": no menu
    EXPECT_EQ(menus.size(), 3u);

    // The name cell asks for the whole byte.
    answers = {{true, 0x3C}};
    doubleClick(reg->bitGrid(), 2, 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].prompt, "Ram022=AD1BUF<0x22>");
    EXPECT_EQ(chipByte(0x22), 0x3C);
}

TEST_F(ViewsTest, RegisterHeaderEdits)
{
    preset(0x29, 0x12);
    preset(0x0F, 0x01);
    preset(0x10, 0x23);
    preset(0x123, 0x44);
    reg->Refresh(true);
    EXPECT_EQ(reg->panel("PnlIND0_1")->text(), "123");
    EXPECT_EQ(reg->panel("PnlIND0_2")->text(), "44");

    menuChoice = "PMRegModify";
    answers = {{true, 0xA5}};
    QTest::mouseClick(reg->panel("PnlWork"), Qt::LeftButton);
    EXPECT_EQ(asked.back().prompt, "Work=12");
    EXPECT_EQ(chipByte(0x29), 0xA5);
    EXPECT_TRUE(reg->header().work.highlighted);
    EXPECT_EQ(reg->panel("PnlWork")->palette().color(QPalette::Window), QColor(Qt::blue));

    menuChoice = "PMRegModify";  // from the program counter panel the item does nothing
    QTest::mouseClick(reg->panel("PnlPC"), Qt::LeftButton);
    EXPECT_EQ(asked.size(), 1u);

    menuChoice = "PMIND_IND";
    answers = {{true, 0x55}};
    QTest::mouseClick(reg->panel("Panel10"), Qt::LeftButton);
    EXPECT_EQ(menus.back(), QStringList({QStringLiteral("更改儲存值"), "Modify FSR0"}));
    EXPECT_EQ(asked.back().prompt, "IND0=44");
    EXPECT_EQ(chipByte(0x123), 0x55);

    menuChoice = "PMIND_FSR";
    answers = {{true, 0x2BC}};
    QTest::mouseClick(reg->panel("PnlIND1_2"), Qt::LeftButton);
    EXPECT_EQ(menus.back().last(), "Modify FSR1");
    EXPECT_EQ(asked.back().prompt, "FSR1=000");
    EXPECT_EQ(asked.back().limit, "FFF");
    EXPECT_EQ(asked.back().range, "000~FFF");
    EXPECT_EQ(chipByte(0x11), 0x02);
    EXPECT_EQ(chipByte(0x12), 0xBC);
    EXPECT_EQ(reg->panel("PnlIND1_1")->text(), "2BC");

    // FSR0 beyond the mirror: the indirect byte reads 0.
    menuChoice = "PMIND_FSR";
    answers = {{true, 0x400}};
    QTest::mouseClick(reg->panel("PnlIND0_1"), Qt::LeftButton);
    EXPECT_EQ(reg->panel("PnlIND0_1")->text(), "400");
    EXPECT_EQ(reg->panel("PnlIND0_2")->text(), "00");

    // A failed high-byte write leaves the pair alone.
    cb.bridge.setSilent(true);
    menuChoice = "PMIND_FSR";
    answers = {{true, 0x123}};
    QTest::mouseClick(reg->panel("PnlIND0_1"), Qt::LeftButton);
    cb.bridge.setSilent(false);
    EXPECT_EQ(mirror(0x0F), 0x04);
    EXPECT_EQ(mirror(0x10), 0x00);
    EXPECT_EQ(chipByte(0x10), 0x00);
}

TEST_F(ViewsTest, RegisterValueTyping)
{
    struct Case { bool word; const char *keys; int value; };
    const Case cases[] = {
        {false, "123\n", 0x23}, {false, "7\t", 0x07}, {false, "ab\n", 0xAB}, {false, "12\b\n", 0x01},
        {false, "1x\n", 0x01},  {true, "12345\n", 0x2345}, {true, "9\t", 0x0009},
    };
    for (const Case &c : cases) {
        // byte register 0x22 = AD1BUF is a bit register; use SADC1 (entry 1) and CPT (0x42/0x41)
        preset(0x01, 0x00);
        preset(0x41, 0x00);
        preset(0x42, 0x00);
        reg->Refresh(true);
        ViewGrid *g = c.word ? reg->wordGrid() : reg->byteGrid();
        const QModelIndex i = at(g, 1, c.word ? 0 : 1);
        g->setCurrentIndex(i);
        type(g, c.keys);
        const int got = c.word ? chipByte(0x42) * 256 + chipByte(0x41) : chipByte(0x01);
        EXPECT_EQ(got, c.value) << c.keys;
        EXPECT_EQ(i.data().toString(), HexText(c.value, c.word ? 4 : 2)) << c.keys;
    }

    // Typing shows the last two characters; leaving the cell writes them.
    ViewGrid *g = reg->byteGrid();
    g->setCurrentIndex(at(g, 1, 1));
    type(g, "123");
    EXPECT_EQ(text(g, 1, 1), "23");
    g->setCurrentIndex(at(g, 1, 2));
    EXPECT_EQ(chipByte(0x01), 0x23);

    // Name rows take no keys; the keypad opens on value cells only.
    g->setCurrentIndex(at(g, 0, 1));
    type(g, "5\n");
    doubleClick(g, 0, 1);
    EXPECT_EQ(text(g, 0, 1), "SADC1");
    EXPECT_TRUE(asked.empty());
    answers = {{true, 0x99}};
    doubleClick(g, 1, 1);
    EXPECT_EQ(asked.back().prompt, "Ram001=23");
    EXPECT_EQ(chipByte(0x01), 0x99);
    answers = {{true, 0xBEEF}};
    doubleClick(reg->wordGrid(), 1, 0);
    EXPECT_EQ(asked.back().prompt, "Ram0009");
    EXPECT_EQ(asked.back().limit, "FFFF");
    EXPECT_EQ(chipByte(0x42), 0xBE);
    EXPECT_EQ(chipByte(0x41), 0xEF);

    // A failed write leaves the old value.
    cb.bridge.setSilent(true);
    g->setCurrentIndex(at(g, 1, 1));
    type(g, "44\n");
    EXPECT_EQ(text(g, 1, 1), "99");
}

TEST_F(ViewsTest, RegisterListsBeyondTheirCapacity)
{
    // 300 bit registers on each of two pages and 600 byte registers: the lists
    // keep 512, the page counters go on.
    QStringList lines = {"#PRODUCT", "BIG", "#REGBIT"};
    for (int i = 0; i < 300; ++i)
        lines << QString("%1H R%2 A B C D E F G H").arg(i % 256, 3, 16, QChar('0')).arg(i);
    lines << "#REGBIT1";
    for (int i = 300; i < 600; ++i)
        lines << QString("%1H R%2 A B C D E F G H").arg(i % 256, 3, 16, QChar('0')).arg(i);
    lines << "#REGBYTE";
    for (int i = 0; i < 600; ++i)
        lines << QString("%1H B%2 0FFH").arg(i % 256, 3, 16, QChar('0')).arg(i);
    load(lines);
    ASSERT_EQ(cb.bench.chip.bitRegisters.Count(), 512);
    EXPECT_EQ(reg->windowTitle(), "BIG Register");

    reg->selectPage(1);
    EXPECT_EQ(reg->pageRange().start, 300);
    EXPECT_EQ(reg->pageRange().end, 600);
    EXPECT_EQ(text(reg->bitGrid(), 211, 0), "R511<0xFF>");
    EXPECT_EQ(text(reg->bitGrid(), 212, 0), "");
    EXPECT_EQ(text(reg->bitGrid(), 299, 8), "");
    menuChoice = "PMBitSet";
    doubleClick(reg->bitGrid(), 250, 3);
    doubleClick(reg->bitGrid(), 250, 0);
    EXPECT_TRUE(menus.empty());
    EXPECT_TRUE(asked.empty());
    reg->Refresh(false);

    // Byte names go on past the list; their value cells stay empty.
    ViewGrid *g = reg->byteGrid();
    const int row = 2 * (550 / 9) + 1, column = 550 % 9;
    EXPECT_EQ(text(g, row - 1, column), "B550");
    EXPECT_EQ(text(g, row, column), "");
    g->setCurrentIndex(at(g, row, column));
    type(g, "12\n");
    doubleClick(g, row, column);
    EXPECT_TRUE(asked.empty());
}

TEST_F(ViewsTest, OnlyPagesWithBitRegistersShowTheirTabs)
{
    reg->show();
    for (const char *name : {"PPage1", "PPAGE2", "PPAGE3", "PPAGE4"})
        EXPECT_TRUE(reg->findChild<QPushButton *>(name)->isVisible()) << name;
    // The MP202 has bit registers on page 1 only.
    LoadDefinitionLines(cb.bench.chip, ReadTextLines(QString(QX_CHIPS_DIR) + "/MP202.INC").value());
    cb.bench.definitionLoaded.call();
    QApplication::processEvents();  // the tool bar lays its tabs out again
    EXPECT_TRUE(reg->findChild<QPushButton *>("PPage1")->isVisible());
    for (const char *name : {"PPAGE2", "PPAGE3", "PPAGE4"})
        EXPECT_FALSE(reg->findChild<QPushButton *>(name)->isVisible()) << name;
}
