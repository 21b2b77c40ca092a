#include "core/program_paths.h"
#include "device/chip_selection.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qx;

TEST(ChipSelection, ListTextsEndAtAShortFileName)
{
    test::TempDir dir;
    dir.write("QxSel.INC", "ms416.inc MS416 (16k)\nmp202.inc\tMP202 (2k) extra\nab X Y\nlate.inc LATE (1k)\n");
    const auto paths = ProgramPaths::at(dir.path(), dir.path());
    EXPECT_EQ(ChipList(paths), (QStringList{"MS416  (16K)", "MP202  (2K)"}));
    EXPECT_TRUE(DefinitionPathFor(paths, 1).endsWith("MP202.INC"));
}

TEST(ChipSelection, BuiltInListWhenTheFileIsMissing)
{
    test::TempDir dir;
    const QStringList list = ChipList(ProgramPaths::at(dir.path(), dir.path()));
    ASSERT_EQ(list.size(), 64);
    EXPECT_EQ(list[0], "MS416 (16k)");
    EXPECT_EQ(list[1], "MP408  (8k)");
    EXPECT_EQ(list[3], "MP202  (2k)");
    EXPECT_EQ(list[63], "MP202  (2k)");
    EXPECT_TRUE(DefinitionPathFor(ProgramPaths::at(dir.path(), dir.path()), 0).isEmpty());
}
