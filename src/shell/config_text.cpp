#include "shell/config_text.h"

#include "core/text_codec.h"

namespace qx {

ConfigWriter &ConfigWriter::integer(int64_t v, int width)
{
    out_ += QByteArray::number(v).rightJustified(width, ' ');
    return *this;
}

ConfigWriter &ConfigWriter::endLine()
{
    out_ += "\r\n";
    return *this;
}

ConfigWriter &ConfigWriter::line(const QString &text)
{
    out_ += text.toUtf8();
    return endLine();
}

std::optional<int64_t> ConfigReader::integer()
{
    while (pos_ < in_.size() && (in_[pos_] == ' ' || in_[pos_] == '\t' || in_[pos_] == '\r' || in_[pos_] == '\n'))
        ++pos_;
    const qsizetype start = pos_;
    if (pos_ < in_.size() && (in_[pos_] == '-' || in_[pos_] == '+'))
        ++pos_;
    const qsizetype digits = pos_;
    while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9')
        ++pos_;
    if (pos_ == digits || pos_ - digits > 18)
        return std::nullopt;
    return in_.mid(start, pos_ - start).toLongLong();
}

void ConfigReader::skipRestOfLine()
{
    while (pos_ < in_.size() && in_[pos_] != '\n')
        ++pos_;
    if (pos_ < in_.size())
        ++pos_;
}

QString ConfigReader::line()
{
    const qsizetype start = pos_;
    skipRestOfLine();
    QByteArray l = in_.mid(start, pos_ - start);
    while (l.endsWith('\n') || l.endsWith('\r'))
        l.chop(1);
    return decodeLine(l);
}

} // namespace qx
