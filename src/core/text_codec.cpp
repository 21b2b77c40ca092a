#include "core/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace qx {

QString decodeLine(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder big5("Big5");
    if (big5.isValid()) {
        QString b = big5.decode(bytes);
        if (!big5.hasError())
            return b;
    }
    return QString::fromLatin1(bytes);
}

QByteArray encodeBig5(const QString &text)
{
    QStringEncoder big5("Big5");
    if (!big5.isValid())
        return text.toUtf8();
    return big5.encode(text);
}

} // namespace qx
