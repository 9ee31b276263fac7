#pragma once
// Kana forms of a reading. The station keeps the reading of a conversion as
// half-width katakana (the form a Windows input method reports and the form
// other stations expect), and shows it to readers as full-width katakana or
// hiragana. Every mapping changes kana only; other characters pass unchanged.

#include <QString>
#include <QStringView>

namespace quorel::text {

// Half-width katakana (U+FF61-U+FF9F, with the voicing marks ﾞ and ﾟ) to
// full-width: ｶﾞ -> ガ, ﾊﾟ -> パ, ｰ -> ー, ｡｢｣､･ -> 。「」、・. A voicing mark that
// cannot join the kana before it (or that would join into a character code
// page 932 lacks, such as ﾜﾞ) becomes the spacing mark ゛ or ゜.
QString toFullWidthKatakana(QStringView s);

// Full-width katakana to hiragana. ヴ, ヵ and ヶ stay katakana: code page 932
// has no hiragana for them, and they would go out as 〓.
QString katakanaToHiragana(QStringView s);

// Hiragana and full-width katakana to half-width katakana: が -> ｶﾞ,
// パ -> ﾊﾟ, ー -> ｰ. Kana without a half-width form of their own take the
// nearest one (ヮ -> ﾜ, ヵ -> ｶ, ヶ -> ｹ); ゐ ゑ ヰ ヱ have none and stay
// full-width katakana.
QString toHalfWidthKatakana(QStringView s);

// True when s is not empty and holds only hiragana, katakana (full- or
// half-width) and the long vowel mark: a reading before conversion, as an
// input method's composition shows it.
bool isKanaOnly(QStringView s);

} // namespace quorel::text
