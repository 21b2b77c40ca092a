#pragma once
// Text conventions of the configuration files: CR LF lines, integers
// right-aligned in fixed-width fields, "TRUE"/"FALSE", whole-line texts.
#include <QByteArray>
#include <QString>

#include <optional>

namespace qx {

class ConfigWriter {
public:
    ConfigWriter &integer(int64_t v, int width);
    ConfigWriter &endLine();
    ConfigWriter &line(const QString &text);       // a whole-line text
    ConfigWriter &boolean(bool v) { return line(v ? "TRUE" : "FALSE"); }
    QByteArray bytes() const { return out_; }
private:
    QByteArray out_;
};

// Reads integers as whitespace-separated decimal numbers (line breaks are
// skipped); after the last number of a line the rest of it is skipped.
class ConfigReader {
public:
    explicit ConfigReader(QByteArray bytes) : in_(std::move(bytes)) {}
    bool atEnd() const { return pos_ >= in_.size(); }
    // The next integer; nullopt when the text there is not a number.
    std::optional<int64_t> integer();
    void skipRestOfLine();
    QString line();  // the rest of the current line, without its line end
    bool boolean() { return line().toUpper() == "TRUE"; }
private:
    QByteArray in_;
    qsizetype pos_ = 0;
};

} // namespace qx
