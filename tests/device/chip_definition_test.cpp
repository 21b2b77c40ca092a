#include "core/program_paths.h"
#include "core/text_codec.h"
#include "device/bench.h"
#include "device/chip_definition_loader.h"
#include "device/chip_description.h"
#include "device/chip_selection.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

using namespace qx;

namespace {

QStringList fixtureLines(const char *name)
{
    return ReadTextLines(QString(QX_FIXTURES_DIR) + "/" + name).value();
}

struct Loaded {
    std::unique_ptr<ChipModel> model = std::make_unique<ChipModel>();
    explicit Loaded(const QStringList &lines) { LoadDefinitionLines(*model, lines); }
    ChipModel &operator*() { return *model; }
    ChipModel *operator->() { return model.get(); }
    const FieldEntry &field(const char *name) { return *model->fields.find(name); }
};

} // namespace

TEST(ChipDefinition, EveryDirectiveOfTheFixture)
{
    Loaded m(fixtureLines("every_directive.inc"));
    const ChipDescription &d = m->desc;
    EXPECT_EQ(d.productName, "FX100");
    EXPECT_EQ(d.registerViewCaption, "FX100 Register");
    EXPECT_EQ(d.chipId, 0x1234);
    EXPECT_EQ(d.romSize, 4096);  // below 256
    EXPECT_EQ(d.stackDepth, 4);  // raised to 4
    EXPECT_EQ(d.simulatorId, 7);
    EXPECT_EQ(d.adcCount, 2);
    EXPECT_TRUE(d.adfFirstGroup());
    EXPECT_EQ(d.registerAreas[1], (AddressRange{0x100, 0x17F}));
    EXPECT_TRUE(d.bankShown(0));
    EXPECT_TRUE(d.bankShown(1));
    EXPECT_FALSE(d.bankShown(2));  // start = end
    EXPECT_FALSE(d.bankShown(4));
    EXPECT_TRUE(d.instrumentsShown);
    EXPECT_EQ(d.threeByteCount, 2);

    // Banks set the mask; registers overwrite it.
    EXPECT_EQ(m->AddressMask[0x80], 0xFF);
    EXPECT_EQ(m->AddressMask[0x1FF], 0xFF);
    EXPECT_EQ(m->AddressMask[0x200], 0x00);
    EXPECT_EQ(m->AddressMask[0x30], 0x0E);
    EXPECT_EQ(m->AddressMask[0x31], 0xF8);
    EXPECT_EQ(m->AddressMask[0x50], 0x0F);
    EXPECT_EQ(m->AddressMask[0x5A], 0xFF);
    EXPECT_EQ(m->AddressMask[0x5B], 0x3F);

    // Bit registers: page 1 first, then page 2; descriptions; the CN section read past.
    ASSERT_EQ(m->bitRegisters.Count(), 3);
    EXPECT_EQ(d.bitPageCounts[0], 2);
    EXPECT_EQ(d.bitPageCounts[1], 1);
    EXPECT_EQ((std::array<bool, 4>{true, true, false, false}), d.pageShown);
    const RegBitEntry &psw = *m->bitRegisters.Get(0);
    EXPECT_EQ(psw.Name.str(), "PSW");
    EXPECT_EQ(psw.bit(3).Name.str(), "C");
    EXPECT_EQ(psw.bit(0).Name.str(), "-");
    EXPECT_EQ(psw.Description.str(), "Status register");
    EXPECT_EQ(psw.bit(7).Description.str(), "bit 7 unused");
    EXPECT_EQ(psw.bit(6).Description.str(), "bit 6 unused");
    EXPECT_EQ(psw.bit(5).Description.str(), "");
    EXPECT_EQ(m->bitRegisters.Get(2)->Name.str(), "CTRL");

    // Byte and word registers with their names in definition order.
    ASSERT_EQ(m->byteRegisters.Count(), 2);
    EXPECT_EQ(d.byteRegisterNames, (QStringList{"TMR", "PORTA"}));
    EXPECT_EQ(m->byteRegisters.Get(1)->Description.str(), "goes to PORTA as no register sits at 77H");
    EXPECT_EQ(m->byteRegisters.Get(0)->Description.str(), "");
    ASSERT_EQ(m->wordRegisters.Count(), 1);
    EXPECT_EQ(d.wordRegisterNames, QStringList{"ACC"});
    EXPECT_EQ(m->wordRegisters.Get(0)->Description.str(), "Accumulator word");
}

TEST(ChipDefinition, FieldKinds)
{
    Loaded m(fixtureLines("every_directive.inc"));
    const FieldEntry &dcos = m.field("DCOS");
    EXPECT_EQ(dcos.Defined, 1);
    EXPECT_EQ(dcos.Address, 0x20);
    EXPECT_EQ(dcos.Width, 2);
    EXPECT_EQ(dcos.Lsb, 0);

    const FieldEntry &ip = m.field("S_AD1IP");
    EXPECT_EQ(ip.Labels, (QStringList{"A", "-", "C", "D"}));
    EXPECT_EQ(ip.Items, (QStringList{"ADSIP<00>", "ADSIP<10>", "ADSIP<11>"}));
    EXPECT_EQ(ip.ItemValues, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(m.field("S_AD1IN").Items.first(), "NEG<00>");

    const FieldEntry &adsip = m.field("ADSIP");
    EXPECT_EQ(adsip.Labels, (QStringList{"I0", "I1", "I2", "I3"}));
    EXPECT_EQ(adsip.Labels2, (QStringList{"N0", "-", "N2", "N3"}));
    EXPECT_EQ(adsip.Items.size(), 4);

    const FieldEntry &vrg = m.field("VRGNAD1");
    EXPECT_EQ(vrg.Gains, (std::vector<double>{1.5, 1.0}));
    EXPECT_EQ(vrg.Caption, "REFGAIN");
    EXPECT_EQ(m.field("AD1GN").Gains, (std::vector<double>{1, 2, 1, 1}));

    const FieldEntry &envs = m.field("ENVS");
    EXPECT_EQ(envs.Address, 0x12);
    EXPECT_EQ(envs.Width, 1);
    EXPECT_EQ(envs.Lsb, 3);
    EXPECT_EQ(envs.Caption, "BIAS");
    EXPECT_TRUE(envs.CaptionShown);
    EXPECT_EQ(m.field("ENAD_S").Caption, "ADCON");
    EXPECT_FALSE(m.field("ENAD_S").CaptionShown);  // only #OP toggles

    EXPECT_EQ(m.field("S_AGND").Items,
              (QStringList{"S_AGND<00>", "S_AGND<01>", "S_AGND<10>", "S_AGND<11>"}));
    EXPECT_EQ(m.field("S_OP1P").Items, (QStringList{"OPP<0>", "OPP<1>"}));
    EXPECT_EQ(m.field("CPTH").Address, 0x26);
    EXPECT_EQ(m.field("ENAD_F").Defined, 0);  // an #ADF name in the #ADS section
    EXPECT_EQ(m->fields.definedCount(), 11);
}

TEST(ChipDefinition, MalformedNumbersKeepThePreviousParse)
{
    // The mask token "XYZ" does not parse: the previous parse (the address) stands.
    Loaded m({"#REGBYTE", "41H R1 XYZ", "#RAMBANK0", "10H", "#OP", "0ZZ ENVS 1 2"});
    EXPECT_EQ(m->AddressMask[0x41], 0x41);
    // A bank line with one number: its end is the start's value again.
    EXPECT_EQ(m->desc.ramBanks[0], (AddressRange{0x10, 0x10}));
    EXPECT_EQ(m.field("ENVS").Address, 0x10);
}

TEST(ChipDefinition, ReloadKeepsMissingFieldsAndResetsState)
{
    Loaded m({"#ADS", "25H ENAD_S 1 7", "23H VRGNAD1 1 0 2 3", "#REGBIT", "30H A"});
    m->fields.find("ENAD_S")->State = 5;
    m->fields.find("VRGNAD1")->State = 5;
    LoadDefinitionLines(*m, {"#ADS", "26H ENAD_S 1 0"});
    EXPECT_EQ(m.field("ENAD_S").Address, 0x26);
    EXPECT_EQ(m.field("ENAD_S").State, 0);    // a reset field
    EXPECT_EQ(m.field("VRGNAD1").State, 5);   // not in the new definition: kept
    EXPECT_EQ(m.field("VRGNAD1").Address, 0x23);
    EXPECT_EQ(m->desc.bitPageCounts[0], 0);  // counters reset
    EXPECT_EQ((std::array<bool, 4>{}), m->desc.pageShown);
    EXPECT_EQ(m->desc.pageAfterLoad(2), 0);
    EXPECT_EQ(m->desc.bankAfterLoad(3), 0);
}

TEST(ChipDefinition, FullListDropsEntriesWhileCountersGrow)
{
    QStringList lines{"#REGBIT"};
    for (int i = 0; i < 300; ++i)
        lines << QString("%1 R%2").arg(i % 1024).arg(i);
    lines << "#REGBIT1";
    for (int i = 0; i < 213; ++i)
        lines << QString("%1 S%2").arg(i).arg(i);
    lines << "#REGBITSTR" << "5" << "\"fifth";
    Loaded m(lines);
    EXPECT_EQ(m->bitRegisters.Count(), 512);
    EXPECT_EQ(m->desc.bitPageCounts[0], 300);
    EXPECT_EQ(m->desc.bitPageCounts[1], 213);  // the 513th entry counted, not stored
    EXPECT_EQ(m->bitRegisters.Get(511)->Name.str(), "S211");
    EXPECT_EQ(m->bitRegisters.Get(5)->Description.str(), "fifth");
}

TEST(ChipDefinition, SelectorWidthBeyondAByteStaysBounded)
{
    Loaded m({"#ADS", "21H S_AD1IP 31 40 A B", "22H DCOS 200 250"});
    EXPECT_EQ(m.field("S_AD1IP").Items.size(), 256);
    EXPECT_EQ(m.field("DCOS").valueIn(0xFF), 0);
}

TEST(ChipDefinition, GetSELUPFromFilesWithBig5AndUtf8Text)
{
    test::TempDir program, lab;
    program.write("QxSel.INC", "fx.inc FX100 (1k)\nother.inc OTHER (2k)\n");
    QByteArray def = "#PRODUCT\nFX100\n#REGBIT\n30H PSW\n#REGBITSTR\n30H\n\"";
    def += encodeBig5(QString::fromUtf8("狀態暫存器"));
    def += "\n#REGBYTE\n50H TMR 0FFH\n#REGBYTESTR\n50H\n\"";
    def += QString::fromUtf8("計時器 timer").toUtf8();
    def += "\r\n";
    lab.write("FX.INC", def);  // the reader names it in upper case

    test::ScriptedPrompter prompter;
    VirtualClock clock;
    CountingEventPump pump;
    Bench bench(clock, pump, prompter, ProgramPaths::at(program.path(), lab.path()));
    int notified = 0;
    bench.definitionLoaded.add([&] { ++notified; });

    bench.device().ChipIndex = 0;
    ASSERT_TRUE(GetSELUP(bench, 7));
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(bench.chip.bitRegisters.Get(0)->Description.str(), QString::fromUtf8("狀態暫存器"));
    EXPECT_EQ(bench.chip.byteRegisters.Get(0)->Description.str(), QString::fromUtf8("計時器 timer"));

    // A missing definition changes nothing but the cleared mask.
    bench.device().ChipIndex = 1;
    EXPECT_FALSE(GetSELUP(bench, 0));
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(bench.chip.desc.productName, "FX100");
    EXPECT_EQ(bench.chip.AddressMask[0x50], 0);

    bench.device().ChipIndex = 9;  // no such line
    EXPECT_FALSE(GetSELUP(bench, 0));
    QFile::remove(program.file("QxSel.INC"));
    bench.device().ChipIndex = 0;
    EXPECT_FALSE(GetSELUP(bench, 0));
}

TEST(ChipDefinition, ReloadWithoutARegisterSectionDropsTheOldRegisters)
{
    Loaded m({"#REGWORD", "5AH ACC 5BH X 0FFH 0FFH", "#REGBYTE", "50H T 0FFH"});
    LoadDefinitionLines(*m, {"#REGBYTE", "51H U 0FFH"});
    EXPECT_EQ(m->wordRegisters.Count(), 0);
    EXPECT_EQ(m->byteRegisters.Count(), 1);
    EXPECT_EQ(m->desc.wordCount, 0);
}
