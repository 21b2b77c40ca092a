#include "device/chip_selection.h"

#include "core/program_paths.h"
#include "core/text_codec.h"
#include "device/line_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qx {

std::optional<QStringList> ReadTextLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = f.readAll();
    QStringList lines;
    qsizetype from = 0;
    while (from < all.size()) {
        qsizetype nl = all.indexOf('\n', from);
        if (nl < 0)
            nl = all.size();
        QByteArray raw = all.mid(from, nl - from);
        if (raw.endsWith('\r'))
            raw.chop(1);
        lines << decodeLine(raw);
        from = nl + 1;
    }
    return lines;
}

bool SelectionFileExists(const ProgramPaths &paths)
{
    return QFileInfo::exists(paths.inProgramDir(SelectionFileName));
}

QStringList ChipList(const ProgramPaths &paths)
{
    const auto lines = ReadTextLines(paths.inProgramDir(SelectionFileName));
    QStringList list;
    if (!lines) {
        for (int i = 0; i < 16; ++i)
            list << "MS416 (16k)" << "MP408  (8k)" << "MP304  (4k)" << "MP202  (2k)";
        return list;
    }
    ParseLine pl;
    for (const QString &line : *lines) {
        pl.setLine(line);
        if (pl.token(4).size() < 3)
            break;
        list << pl.token(5) + "  " + pl.token(6);
    }
    return list;
}

namespace {
// Definition names are upper-cased by the reader; on a case-sensitive file
// system the file may be stored in another case.
QString resolveCaseInsensitive(const QString &dir, const QString &name)
{
    const QString exact = dir + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(dir).entryList(QDir::Files);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir + e;
    return exact;
}
} // namespace

QString DefinitionPathFor(const ProgramPaths &paths, int chipIndex)
{
    const auto lines = ReadTextLines(paths.inProgramDir(SelectionFileName));
    if (!lines)
        return QString();
    ParseLine pl;
    pl.setLine(chipIndex >= 0 && chipIndex < lines->size() ? lines->at(chipIndex) : QString());
    const QString name = pl.token(4);
    if (name.isEmpty())
        return paths.definitionDir;  // names the folder itself: never a definition file
    return resolveCaseInsensitive(paths.definitionDir, name);
}

} // namespace qx
