#include "shell/app_title.h"

#include "core/text_codec.h"

#include <QFile>

namespace qx {

QString ReadAppTitle(const QString &programDir)
{
    QFile f(programDir + AppTitleFileName);
    if (!f.open(QIODevice::ReadOnly))
        return DefaultAppTitle;
    QByteArray first = f.readLine();
    while (first.endsWith('\n') || first.endsWith('\r'))
        first.chop(1);
    return decodeLine(first);
}

} // namespace qx
