#include "wire/address.h"

#include <array>

namespace quorel {

namespace {

// Only ASCII digits count: a full-width digit is two bytes of Shift-JIS on the
// wire, and no station reads it as part of an address.
bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The decimal value of a run of digits, saturated at 256 so that a field of any
// length reads as "too large" instead of overflowing.
int fieldValue(QStringView digits) {
    int value = 0;
    for (const QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255)
            return 256;
    }
    return value;
}

// The four fields of "a.b.c.d" when each is a non-empty run of ASCII digits.
std::optional<std::array<QStringView, 4>> dottedFields(QStringView text) {
    std::array<QStringView, 4> fields;
    qsizetype count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'.') {
            if (!isAsciiDigit(text[i]))
                return std::nullopt;
            continue;
        }
        // End of a field: a dot or the end of the text.
        if (i == start || count == 4)
            return std::nullopt;
        fields[count++] = text.sliced(start, i - start);
        start = i + 1;
    }
    if (count != 4)
        return std::nullopt;
    return fields;
}

} // namespace

int CheckAddress(const QString& text) {
    if (text.isEmpty())
        return kAddressEmpty;
    const auto fields = dottedFields(text);
    if (!fields)
        return kAddressInvalid;
    const int first = fieldValue((*fields)[0]);
    if (first < 1 || first > 255 || first == 127)
        return kAddressInvalid;
    for (int i = 1; i < 4; ++i) {
        if (fieldValue((*fields)[i]) > 255)
            return kAddressInvalid;
    }
    return kAddressValid;
}

std::optional<QString> BroadcastAddressOf(const QString& address) {
    const auto fields = dottedFields(address);
    if (!fields)
        return std::nullopt;
    const auto& f = *fields;
    // Loopback is recognised by the text, as typed.
    if (f[0] == u"127")
        return std::nullopt;
    // The class decides how many leading fields name the network; each is
    // copied as typed.
    const int a = fieldValue(f[0]);
    const int networkFields = a >= 192 ? 3 : a < 128 ? 1 : 2;
    QString out;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            out += u'.';
        if (i < networkFields)
            out += f[i];
        else
            out += u"255";
    }
    return out;
}

std::optional<quint32> parseDottedIPv4(const QString& text) {
    const auto fields = dottedFields(text);
    if (!fields)
        return std::nullopt;
    quint32 address = 0;
    for (const QStringView field : *fields) {
        const int value = fieldValue(field);
        if (value > 255)
            return std::nullopt;
        address = address << 8 | quint32(value);
    }
    return address;
}

QString formatIPv4(quint32 address) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

} // namespace quorel
