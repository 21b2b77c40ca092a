#include "views/ram_workbook.h"
#include "views_fixture.h"

#include "support/temp_dir.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace qx;
using namespace qx::test;

namespace {
QModelIndex cell(TQx_RAM &v, int address) { return v.grid()->model()->index((address % 256) / 16, address % 16); }
} // namespace

TEST_F(ViewsTest, MemoryGridLabelsBanksAndTabs)
{
    QAbstractItemModel *m = ram->grid()->model();
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "0");
    EXPECT_EQ(m->headerData(15, Qt::Horizontal).toString(), "F");
    EXPECT_EQ(m->headerData(15, Qt::Vertical).toString(), "0F0");
    ram->show();  // the tool bar lays its tabs out only when shown
    for (int n = 0; n < 4; ++n)
        EXPECT_TRUE(ram->findChild<QPushButton *>(QString("PBank%1").arg(n))->isVisible()) << n;
    EXPECT_FALSE(ram->findChild<QPushButton *>("PBank4")->isVisible());
    EXPECT_FALSE(ram->menuItem("RAMBANK4")->isVisible());

    preset(0x1A5, 0x3C);
    ram->selectBank(1);
    EXPECT_EQ(m->headerData(0, Qt::Vertical).toString(), "100");
    EXPECT_EQ(cell(*ram, 0x1A5).data().toString(), "3C");
    EXPECT_EQ(background(cell(*ram, 0x1A5)), QColor(Qt::blue));  // changed since the bank was last shown

    // Bank 4 lies outside the mirror: all "-", no edits.
    ram->selectBank(4);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(ram->cellText(c, r), "-");
    ram->grid()->setCurrentIndex(cell(*ram, 0x400));
    type(ram->grid(), "12\n");
    doubleClick(ram->grid(), 0, 0);
    EXPECT_EQ(ram->cellText(0, 0), "-");
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(cb.bridge.requests().empty());
}

TEST_F(ViewsTest, MemoryDoubleClickWritesThroughTheKeypad)
{
    preset(0x105, 0x11);
    ram->selectBank(1);
    answers = {{true, 0x5A}, {false, 0}};
    doubleClick(ram->grid(), 0, 5);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].prompt, "Ram0105=11");
    EXPECT_EQ(asked[0].limit, "FF");
    EXPECT_EQ(asked[0].range, "00~FF");
    EXPECT_EQ(chipByte(0x105), 0x5A);
    EXPECT_EQ(ram->cellText(5, 0), "5A");
    EXPECT_EQ(background(cell(*ram, 0x105)), QColor(Qt::blue));

    doubleClick(ram->grid(), 0, 5);  // keypad cancelled: nothing written
    EXPECT_EQ(chipByte(0x105), 0x5A);
}

TEST_F(ViewsTest, MemoryTyping)
{
    struct Case { const char *keys; int chip; };
    const Case cases[] = {
        {"12\n", 0x12}, {"123\n", 0x23}, {"a7\t", 0xA7}, {"4\n", 0x74},
        {"12\b\n", 0x01}, {"1z2\n", 0x12},  // other keys are swallowed
        {"\n", 0x77},                       // Enter alone writes the value shown
    };
    for (const Case &c : cases) {
        preset(0x1A0, 0x77);
        cb.chip.load(0x1A0, {0x00});  // the chip differs from what is shown
        ram->selectBank(1);
        ram->grid()->setCurrentIndex(cell(*ram, 0x1A0));
        type(ram->grid(), c.keys);
        EXPECT_EQ(chipByte(0x1A0), c.chip) << c.keys;
        EXPECT_EQ(ram->cellText(0, 10), HexText(c.chip, 2)) << c.keys;
    }

    // Moving to another cell writes the pending one.
    ram->grid()->setCurrentIndex(cell(*ram, 0x1A0));
    type(ram->grid(), "3");
    EXPECT_EQ(ram->cellText(0, 10), "73");
    EXPECT_EQ(chipByte(0x1A0), 0x77);
    ram->grid()->setCurrentIndex(cell(*ram, 0x1A1));
    EXPECT_EQ(chipByte(0x1A0), 0x73);

    // A failed write shows the old value again.
    cb.bridge.setSilent(true);
    ram->grid()->setCurrentIndex(cell(*ram, 0x1A0));
    type(ram->grid(), "99\n");
    EXPECT_EQ(mirror(0x1A0), 0x73);
    EXPECT_EQ(ram->cellText(0, 10), "73");
}

TEST_F(ViewsTest, RegisterByteHighlightedInBothViewsUntilTheNextRefresh)
{
    reg->selectPage(0);
    const int row = 2;  // AD1BUF, 0x22, third register of page 1
    ASSERT_EQ(reg->bitGrid()->model()->index(row, 0).data().toString(), "AD1BUF<0x22>");
    ASSERT_TRUE(cb.up.WriteChipByte(0x22, 0x81));
    EXPECT_EQ(background(cell(*ram, 0x22)), QColor(Qt::blue));
    EXPECT_EQ(background(reg->bitGrid()->model()->index(row, 0)), QColor(Qt::blue));
    ASSERT_TRUE(cb.up.WriteChipByte(0x22, 0x81));  // the same value again
    EXPECT_EQ(background(cell(*ram, 0x22)), QColor(Qt::white));
    EXPECT_NE(background(reg->bitGrid()->model()->index(row, 0)), QColor(Qt::blue));
}

TEST_F(ViewsTest, MarksAndHints)
{
    ram->selectBank(1);
    auto pressAt = [this](int address) {
        const QRect r = ram->grid()->visualRect(cell(*ram, address));
        QTest::mouseClick(ram->grid()->viewport(), Qt::LeftButton, {}, r.center());
    };
    pressAt(0x110);
    ram->SetMarkClick();
    EXPECT_EQ(background(cell(*ram, 0x110)), QColor(128, 128, 128));
    EXPECT_EQ(cell(*ram, 0x110).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));

    cb.prompter.colours = {std::nullopt, 0x00FF00u};
    pressAt(0x111);
    ram->newcolor1Click();  // cancelled: marked with the colour it had
    EXPECT_EQ(background(cell(*ram, 0x111)), QColor(128, 128, 128));
    pressAt(0x112);
    ram->newcolor1Click();
    EXPECT_EQ(background(cell(*ram, 0x112)), QColor(0, 255, 0));
    EXPECT_EQ(ram->markColour(), 0x00FF00);

    pressAt(0x110);
    ram->RstMarkClick();
    EXPECT_EQ(background(cell(*ram, 0x110)), QColor(Qt::white));

    cb.prompter.texts = {QString("offset trim")};
    pressAt(0x113);
    ram->SetHint1Click();
    EXPECT_EQ(cell(*ram, 0x113).data(Qt::ToolTipRole).toString(), "113: offset trim");
    EXPECT_TRUE(cell(*ram, 0x113).data(Qt::FontRole).value<QFont>().underline());

    cb.prompter.answers = {Prompter::Answer::No, Prompter::Answer::Yes, Prompter::Answer::Yes};
    ram->RstAllMarkClick();
    EXPECT_TRUE(ram->marks()[0x112].marked);
    ram->RstAllMarkClick();
    EXPECT_FALSE(ram->marks()[0x112].marked);
    EXPECT_EQ(ram->marks()[0x112].colour, 0x00FF00);  // colours stay
    ram->ResetAllHint1Click();
    EXPECT_FALSE(ram->marks()[0x113].hinted);
    EXPECT_EQ(cb.prompter.messages(),
              QStringList({"Are you sure to reset all mark?", "Are you sure to reset all mark?",
                           "Are you sure to reset all Hint?"}));

    // Bank 4 has no addresses to mark.
    ram->selectBank(4);
    QTest::mouseClick(ram->grid()->viewport(), Qt::LeftButton, {}, ram->grid()->visualRect(cell(*ram, 0x400)).center());
    ram->SetMarkClick();
    for (const CellMarks &m : ram->marks())
        ASSERT_FALSE(m.marked);
}

TEST_F(ViewsTest, RamFileSaveAndLoad)
{
    TempDir dir;
    for (int a = 0; a < 512; ++a)
        preset(a, uint8_t(a * 7));
    ram->selectBank(1);
    QTest::mouseClick(ram->grid()->viewport(), Qt::LeftButton, {}, ram->grid()->visualRect(cell(*ram, 0x1F0)).center());
    ram->SetMarkClick();
    ram->selectBank(2);  // saving with bank 2 shown still writes 0..511

    cb.prompter.files = {dir.file("dump")};
    ram->SaveRamClick();
    const QByteArray saved = dir.read("dump.ram");
    const QList<QByteArray> l = saved.split('\n');
    EXPECT_EQ(l[0x90], HexText(uint8_t(0x90 * 7), 2).toLatin1() + "\r");
    EXPECT_EQ(l[0x33], "-\r");  // no such address
    EXPECT_EQ(l[0x1F0], HexText(uint8_t(0x1F0 * 7), 2).toLatin1() + "\r");
    EXPECT_EQ(l[512 + 3 * 0x1F0], " 1 0\r");

    // Overwrite question: No leaves the file whole.
    cb.prompter.files = {dir.file("dump.ram")};
    cb.prompter.answers = {Prompter::Answer::No};
    for (int a = 0; a < 512; ++a)
        cb.bench.device().Mirror[size_t(a)] = 0;
    ram->SaveRamClick();
    EXPECT_EQ(dir.read("dump.ram"), saved);
    EXPECT_EQ(cb.prompter.messages().last(), "File " + dir.file("dump.ram") + " exist! Overwrite?");

    // Load: through the mirror only; the chip is not written.
    QList<QByteArray> lines = saved.split('\n');
    lines[0x90] = "C3\r";
    lines[0x33] = "5A\r";  // absent address loads 0
    dir.write("edit.ram", lines.join('\n'));
    cb.bench.device().Mirror[0x33] = 0x99;
    ram->selectBank(0);
    cb.bridge.clearRequests();
    cb.prompter.files = {dir.file("edit.ram")};
    ram->LoadRamClick();
    EXPECT_TRUE(cb.bridge.requests().empty());
    EXPECT_EQ(mirror(0x90), 0xC3);
    EXPECT_EQ(mirror(0x33), 0);
    EXPECT_EQ(mirror(0x1F0), uint8_t(0x1F0 * 7));
    EXPECT_EQ(chipByte(0x90), uint8_t(0x90 * 7));
    EXPECT_EQ(ram->cellText(0, 9), "C3");
    EXPECT_TRUE(ram->marks()[0x1F0].marked);
    EXPECT_EQ(background(cell(*ram, 0x90)), QColor(Qt::white));  // loaded with force

    // A short file clears the rest.
    dir.write("short.ram", "01\r\n02\r\n");
    ASSERT_TRUE(ram->loadRamFile(dir.file("short.ram")));
    EXPECT_EQ(mirror(0x90), 0);
    EXPECT_FALSE(ram->marks()[0x1F0].marked);

    // A file that cannot be opened changes nothing.
    cb.bench.device().Mirror[0x90] = 0x44;
    EXPECT_FALSE(ram->loadRamFile(dir.file("missing.ram")));
    EXPECT_EQ(mirror(0x90), 0x44);
    EXPECT_TRUE(cb.prompter.messages().last().startsWith("File error"));
}

TEST_F(ViewsTest, WorkbookExportReadsBack)
{
    // The first python3 that has openpyxl (a user's own python may lack it).
    QString python;
    for (const QString &candidate : {QStandardPaths::findExecutable("python3"), QString("/usr/bin/python3")}) {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.start(candidate, {"-c", "import openpyxl"});
        if (!candidate.isEmpty() && probe.waitForFinished(30000) && probe.exitCode() == 0) {
            python = candidate;
            break;
        }
    }
    if (python.isEmpty())
        GTEST_SKIP() << "python3 with openpyxl is needed to read the workbook back";
    TempDir dir;
    for (int a = 0; a < 512; ++a)
        preset(a, uint8_t(a ^ 0x5A));
    cb.prompter.files = {dir.file("ram")};
    ram->SVEXClick();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile(), dir.file("ram.xlsx"));

    QProcess p;
    p.start(python, {"-c",
                     "import sys, openpyxl\n"
                     "wb = openpyxl.load_workbook(sys.argv[1])\n"
                     "print(wb.sheetnames)\n"
                     "ws = wb['USER Data']\n"
                     "for r in range(1, 36):\n"
                     "    print('|'.join('' if ws.cell(r, c).value is None else str(ws.cell(r, c).value) for c in range(1, 37)))\n",
                     dir.file("ram.xlsx")});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    EXPECT_EQ(out[0], "['USER Data']");
    for (int r = 1; r <= 35; ++r) {
        const QStringList cells = out[r].split('|');
        ASSERT_EQ(cells.size(), 36);
        for (int c = 1; c <= 36; ++c) {
            QString want;
            const int a = (r - 3) * 16 + (c - 3 < 16 ? c - 3 : c - 20);
            const bool numbers = c >= 3 && c <= 18, texts = c >= 20 && c <= 35;
            if (r >= 3 && r <= 34 && (numbers || texts)) {
                const uint8_t v = uint8_t(a ^ 0x5A);
                if (!cb.bench.chip.AddressMask[size_t(a)])
                    want = "-";
                else
                    want = numbers ? QString::number(v) : HexText(v, 2) + "h";
            }
            ASSERT_EQ(cells[c - 1], want) << "row " << r << " column " << c;
        }
    }
}

TEST_F(ViewsTest, Captions)
{
    EXPECT_EQ(ram->windowTitle(), QStringLiteral("記憶體"));
    EXPECT_EQ(reg->windowTitle(), "QX7020 Register");
    ram->setChipName("QX7020");
    reg->setChipName("QX7020");
    EXPECT_EQ(ram->windowTitle(), QStringLiteral("記憶體 - QX7020"));
    EXPECT_EQ(reg->windowTitle(), QStringLiteral("暫存器 - QX7020"));
}

TEST_F(ViewsTest, PageSwitchRepaintsTheHighlightItCleared)
{
    reg->selectPage(0);
    ASSERT_TRUE(cb.up.WriteChipByte(0x22, 0x42));
    ASSERT_EQ(background(cell(*ram, 0x22)), QColor(Qt::blue));
    QSignalSpy repainted(ram->grid()->model(), &QAbstractItemModel::dataChanged);
    reg->selectPage(1);  // a page switch highlights nothing
    EXPECT_NE(background(cell(*ram, 0x22)), QColor(Qt::blue));
    bool cellRepainted = false;
    for (const auto &args : repainted) {
        const QModelIndex from = args[0].toModelIndex(), to = args[1].toModelIndex();
        const QModelIndex c = cell(*ram, 0x22);
        cellRepainted |= from.row() <= c.row() && c.row() <= to.row() && from.column() <= c.column() &&
                         c.column() <= to.column();
    }
    EXPECT_TRUE(cellRepainted);
}
