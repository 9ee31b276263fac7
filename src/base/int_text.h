#pragma once
// Integer boxes: an empty box means "no value yet" and is ignored; text that is
// not an integer is an error the user sees (the event loop shows it and goes
// on), never a silent zero.

#include <QString>
#include <optional>
#include <stdexcept>

namespace quorel {

class BadInteger : public std::runtime_error {
public:
    explicit BadInteger(const QString& text)
        : std::runtime_error(QStringLiteral("'%1' は整数ではありません").arg(text).toStdString()) {}
};

inline std::optional<int> intOfBox(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int v = t.toInt(&ok);
    if (!ok)
        throw BadInteger(text);
    return v;
}

inline int toInt(const QString& text) {
    if (auto v = intOfBox(text))
        return *v;
    throw BadInteger(text);
}

} // namespace quorel
