#include "settings/settings_values.h"

#include "base/int_text.h"

#include <array>
#include <limits>

namespace quorel::settings {

int parseInt(const QString& text) {
    const qsizetype digitsFrom = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == digitsFrom || text.size() - digitsFrom > 11)
        throw BadInteger(text);
    qint64 v = 0;
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            throw BadInteger(text);
        v = v * 10 + (c - u'0');
    }
    if (digitsFrom == 1)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw BadInteger(text);
    return int(v);
}

QColor colourOf(WinColour v, const QColor& fallback) {
    if (v < 0) {
        // The classic desktop's defaults for the system colour indices.
        static constexpr std::array<QRgb, 31> kSystem = {
            0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
            0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
            0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
            0xFFFFE1, 0xB5B5B5, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};
        const quint32 u = quint32(v);
        const quint32 index = u & 0xFFu;
        if ((u & 0x7FFFFF00u) != 0 || index >= kSystem.size())
            return fallback;
        return QColor::fromRgb(kSystem[index]);
    }
    const quint32 u = quint32(v);
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

WinColour valueOf(const QColor& c) {
    const QColor rgb = c.toRgb();
    return WinColour(rgb.red() + 256 * rgb.green() + 65536 * rgb.blue());
}

} // namespace quorel::settings
