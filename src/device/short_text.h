#pragma once
#include <QString>

namespace qx {

// A length-limited text: whatever is assigned is cut at N characters.
template <int N>
class ShortText {
public:
    ShortText() = default;
    ShortText(const QString &t) { *this = t; }
    ShortText &operator=(const QString &t) { text_ = t.left(N); return *this; }
    const QString &str() const { return text_; }
    operator const QString &() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }
    static constexpr int maxLength = N;
    bool operator==(const ShortText &) const = default;
private:
    QString text_;
};

} // namespace qx
