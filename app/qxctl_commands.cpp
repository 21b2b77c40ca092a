#include "qxctl_commands.h"

#include "qxctl_chip_commands.h"

#include "core/clock.h"
#include "core/event_pump.h"
#include "core/program_paths.h"
#include "core/prompter.h"
#include "device/bench.h"
#include "device/chip_definition_loader.h"
#include "device/chip_description_json.h"
#include "device/chip_selection.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace qx {

namespace {

QString usage()
{
    return QString("usage: qxctl <command> [options]\n"
                   "  chips                         list the chips of the selection file\n"
                   "  describe [--chip N] [--json]  load a chip definition and print its description\n")
           + ChipCommandUsage
           + "Files: ProgramDir from QX_PROGRAM_DIR (selection file QxSel.INC, port map QxPorts.cfg),\n"
             "definitions in $QXLAB/Include/ (QXLAB defaults to ~/QXLAB).\n";
}

int chips(const ProgramPaths &paths, QTextStream &out, QTextStream &err)
{
    if (!SelectionFileExists(paths))
        err << "no chip selection file " << paths.inProgramDir(SelectionFileName)
            << "; showing the built-in list\n";
    const QStringList list = ChipList(paths);
    for (int i = 0; i < list.size(); ++i)
        out << i << "  " << list[i] << "\n";
    return 0;
}

int describe(const QStringList &args, const ProgramPaths &paths, QTextStream &out, QTextStream &err)
{
    int chip = 0;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--chip" && i + 1 < args.size()) {
            bool ok = false;
            chip = args[++i].toInt(&ok);
            if (!ok || chip < 0) {
                err << "qxctl: --chip needs a chip index, got '" << args[i] << "'\n";
                return 2;
            }
        } else {
            err << "qxctl: unknown option '" << args[i] << "'\n" << usage();
            return 2;
        }
    }
    if (!SelectionFileExists(paths)) {
        err << "qxctl: chip selection file not found: " << paths.inProgramDir(SelectionFileName) << "\n";
        return 1;
    }
    const int chips = int(ChipList(paths).size());
    if (chip >= chips) {
        err << "qxctl: chip index " << chip << " is not in the selection file (" << chips << " chips)\n";
        return 1;
    }
    SystemClock clock;
    CountingEventPump pump;
    SilentPrompter prompter;
    Bench bench(clock, pump, prompter, paths);
    bench.device().ChipIndex = uint16_t(chip);
    if (!GetSELUP(bench, 0)) {
        err << "qxctl: chip definition file not found: " << DefinitionPathFor(paths, chip) << "\n";
        return 1;
    }
    if (json)
        out << QJsonDocument(DescriptionToJson(bench.chip)).toJson(QJsonDocument::Indented);
    else
        out << DescriptionToText(bench.chip);
    return 0;
}

} // namespace

int RunQxctl(const QStringList &args, const ProgramPaths &paths, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty() || args[0] == "--help" || args[0] == "help") {
        (args.isEmpty() ? err : out) << usage();
        return args.isEmpty() ? 2 : 0;
    }
    if (IsChipCommand(args))
        return RunChipCommand(args, paths, out, err);
    const QString cmd = args[0];
    const QStringList rest = args.mid(1);
    if (cmd == "chips")
        return chips(paths, out, err);
    if (cmd == "describe")
        return describe(rest, paths, out, err);
    err << "qxctl: unknown command '" << cmd << "'\n" << usage();
    return 2;
}

} // namespace qx
