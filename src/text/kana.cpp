#include "text/kana.h"

#include "text/cp932.h"

#include <QHash>

namespace quorel::text {

namespace {

constexpr char16_t kHalfFirst = 0xFF61; // ｡
constexpr char16_t kHalfLast = 0xFF9F;  // ﾟ
constexpr char16_t kHalfVoiced = 0xFF9E;
constexpr char16_t kHalfSemiVoiced = 0xFF9F;
constexpr char16_t kCombiningVoiced = 0x3099;
constexpr char16_t kCombiningSemiVoiced = 0x309A;
constexpr char16_t kSpacingVoiced = 0x309B;     // ゛
constexpr char16_t kSpacingSemiVoiced = 0x309C; // ゜
constexpr char16_t kLongVowel = 0x30FC;         // ー

bool isHalfWidthKana(char16_t c) {
    return c >= kHalfFirst && c <= kHalfLast;
}
bool isHalfWidthMark(char16_t c) {
    return c == kHalfVoiced || c == kHalfSemiVoiced;
}
// ぁ-ゖ and the iteration marks ゝ ゞ.
bool isHiragana(char16_t c) {
    return (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E;
}
// ァ-ヺ and the iteration marks ヽ ヾ.
bool isKatakana(char16_t c) {
    return (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FD || c == 0x30FE;
}

bool carriedByCodePage(QChar c) {
    static const QByteArray replacement = encode(QStringView(u"\u3013"));
    return c == QChar(kReplacement) || encode(QStringView(&c, 1)) != replacement;
}

// Full-width form of one half-width character (no voicing applied).
QChar fullWidthOf(char16_t c) {
    if (c == kHalfVoiced)
        return QChar(kSpacingVoiced);
    if (c == kHalfSemiVoiced)
        return QChar(kSpacingSemiVoiced);
    return QString(QChar(c)).normalized(QString::NormalizationForm_KC).at(0);
}

// Full-width katakana or punctuation -> its half-width character; built from
// the half-width block itself so the two directions always agree.
const QHash<char16_t, char16_t>& halfWidthTable() {
    static const QHash<char16_t, char16_t> table = [] {
        QHash<char16_t, char16_t> t;
        for (char16_t c = kHalfFirst; c <= kHalfLast; ++c)
            t.insert(fullWidthOf(c).unicode(), c);
        // No half-width forms of their own; these are read the same.
        t.insert(u'ヮ', u'ﾜ');
        t.insert(u'ヵ', u'ｶ');
        t.insert(u'ヶ', u'ｹ');
        return t;
    }();
    return table;
}

} // namespace

QString toFullWidthKatakana(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (!isHalfWidthKana(c)) {
            out += s[i];
            continue;
        }
        const QChar base = fullWidthOf(c);
        if (!isHalfWidthMark(c) && i + 1 < s.size() && isHalfWidthMark(s[i + 1].unicode())) {
            const char16_t mark =
                s[i + 1].unicode() == kHalfVoiced ? kCombiningVoiced : kCombiningSemiVoiced;
            const QString joined =
                (QString(base) + QChar(mark)).normalized(QString::NormalizationForm_C);
            if (joined.size() == 1 && carriedByCodePage(joined[0])) {
                out += joined;
                ++i;
                continue;
            }
        }
        out += base;
    }
    return out;
}

QString katakanaToHiragana(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        const bool mapped = (c >= 0x30A1 && c <= 0x30F3) || c == 0x30FD || c == 0x30FE;
        out += mapped ? QChar(char16_t(c - 0x60)) : ch;
    }
    return out;
}

QString toHalfWidthKatakana(QStringView s) {
    const QHash<char16_t, char16_t>& table = halfWidthTable();
    QString out;
    out.reserve(s.size() * 2);
    for (const QChar ch : s) {
        char16_t c = ch.unicode();
        if (isHiragana(c))
            c = char16_t(c + 0x60); // the katakana of the same sound
        if (const auto it = table.constFind(c); it != table.cend()) {
            out += QChar(*it);
            continue;
        }
        if (isKatakana(c)) {
            // ガ -> カ + voicing mark, パ -> ハ + semi-voicing mark.
            const QString parts = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            if (parts.size() == 2) {
                const auto base = table.constFind(parts[0].unicode());
                if (base != table.cend()) {
                    out += QChar(*base);
                    out += QChar(parts[1].unicode() == kCombiningVoiced ? kHalfVoiced
                                                                        : kHalfSemiVoiced);
                    continue;
                }
            }
        }
        out += QChar(c);
    }
    return out;
}

bool isKanaOnly(QStringView s) {
    if (s.isEmpty())
        return false;
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        const bool kana = isHiragana(c) || isKatakana(c) || c == kLongVowel ||
                          (c >= 0xFF66 && c <= kHalfLast); // ｦ-ﾟ, no punctuation
        if (!kana)
            return false;
    }
    return true;
}

} // namespace quorel::text
