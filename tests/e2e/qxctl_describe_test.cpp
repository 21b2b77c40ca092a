#include "core/program_paths.h"
#include "device/field_table.h"
#include "qxctl_commands.h"
#include "support/temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qx;

namespace {
struct CtlRun {
    int rc;
    QString out, err;
};
CtlRun run(const QStringList &args, const ProgramPaths &paths)
{
    CtlRun r;
    QTextStream out(&r.out), err(&r.err);
    r.rc = RunQxctl(args, paths, out, err);
    out.flush();
    err.flush();
    return r;
}
ProgramPaths samplePaths() { return ProgramPaths::at(QX_CHIPS_DIR, QX_CHIPS_DIR); }
} // namespace

TEST(Qxctl, DescribeTheSampleChipAsJson)
{
    const CtlRun r = run({"describe", "--json"}, samplePaths());
    ASSERT_EQ(r.rc, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o["product"].toString(), "QX7020");
    const QJsonObject fields = o["fields"].toObject();
    EXPECT_EQ(fields.size(), FieldCount);
    for (const QString &name : fields.keys())
        EXPECT_TRUE(fields[name].toObject()["defined"].toBool()) << name.toStdString();
    EXPECT_TRUE(o["fluke"].toBool());
    EXPECT_GE(o["bitRegisters"].toArray().size(), 2);
    EXPECT_FALSE(fields["S_AD1IP"].toObject()["items"].toArray().isEmpty());
}

TEST(Qxctl, ChipsAndErrors)
{
    const CtlRun chips = run({"chips"}, samplePaths());
    EXPECT_EQ(chips.rc, 0);
    EXPECT_TRUE(chips.out.startsWith("0  QX7020  ")) << chips.out.toStdString();

    test::TempDir empty;
    const CtlRun missing = run({"describe"}, ProgramPaths::at(empty.path(), empty.path()));
    EXPECT_NE(missing.rc, 0);
    EXPECT_TRUE(missing.err.contains("selection file")) << missing.err.toStdString();

    empty.write("QxSel.INC", "nothere.inc NONE (1k)\n");
    const CtlRun noDef = run({"describe", "--chip", "0"}, ProgramPaths::at(empty.path(), empty.path()));
    EXPECT_NE(noDef.rc, 0);
    EXPECT_TRUE(noDef.err.contains("NOTHERE.INC")) << noDef.err.toStdString();
    EXPECT_EQ(run({"describe", "--chip", "5"}, samplePaths()).rc, 1);
    EXPECT_EQ(run({"frobnicate"}, samplePaths()).rc, 2);
}
