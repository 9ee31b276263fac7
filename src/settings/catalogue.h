#pragma once
// The keys of the numbered settings file (".dp9"): one row per key in the
// order the writer writes them, with the form of its value, the comment the
// writer adds for a human reader and the value "restore defaults" gives.
//
// The table alone fixes the layout of a written file. What a key does is
// bound separately (SettingsRegistry), so a window that is built later only
// binds its keys; the file does not change.

#include <QString>
#include <span>

namespace quorel::settings {

enum class Form {
    Int,         // decimal, may be negative
    Text,        // taken unchanged
    Colour,      // signed 32-bit colour value; negative values name system colours
    Font,        // a face name
    OnOff,       // "on" / anything else
    TrueFalse,   // "true" / anything else
    Bold,        // "fsbold" / "!fsbold"
    Italic,      // "fsItalic" / "!fsItalic"
    Underline,   // "fsUnderline" / "!fsUnderline"
    Shown,       // a window shown for one exact token (121, 161)
    Placeholder, // "030:未使用", read by nobody
    FixedFalse,  // always written "false" (709)
    Kana,        // "3" / "2" / "1" (868)
};

// Ranges that keep a value from a file within what the station can survive:
// a 100000-pixel window or a font of size 0 must not reach the screen.
enum class Clamp { None, Geometry, FontSize, Lines, AtLeastOne, Port };

enum RowFlag : unsigned {
    kSkipFrameless = 1u << 0,   // not applied while the display is borderless
    kComputedDefault = 1u << 1, // the default follows the main window's place
    kKeepOnDefaults = 1u << 2,  // "restore defaults" leaves it as it is
};

struct Row {
    int key;
    Form form;
    Clamp clamp;
    const char* defaultValue; // UTF-8; null where computed or kept
    const char* comment;      // for the positive token, or the only comment
    const char* commentNeg;   // for the negative token, when it differs
    const char* comment3;     // the third kana choice (868)
    unsigned flags;
};

// The 298 rows the writer writes, in order.
std::span<const Row> catalogue();
// Keys the reader knows but the writer does not write (071, 072, 139) and
// those the save commands append (801, 802, 166).
std::span<const Row> readerOnlyKeys();
// Keys of this station's own features (950 and on), outside the shared
// layout: the save commands write them after the catalogue's keys and before
// the station name, which stays last. A station that does not know them skips
// them as it skips any unknown key.
std::span<const Row> extensionKeys();
// The row of `key` from any of the tables, or null.
const Row* findRow(int key);

inline const QString kHeader = QStringLiteral("999:＜番号付き表示設定ファイル２＞");
inline const QString kVersionMismatch = QStringLiteral("表示設定ファイルのバージョンが違います");
inline const QString kShown121 = QStringLiteral("８人モニター表示");
inline const QString kHidden121 = QStringLiteral("８人モニター非表示");
inline const QString kShown161 = QStringLiteral("Ｆキーメモ表示");
inline const QString kHidden161 = QStringLiteral("Ｆキーメモ非表示");

// The first and last keys of the command range that remote settings carry.
inline constexpr int kFirstCommand = 600;
inline constexpr int kLastCommand = 620;

// The positive token of a two-valued form ("on", "true", "fsbold" ...).
QString positiveToken(Form form);
QString negativeToken(Form form);
// The comment written after a value of this row.
QString commentFor(const Row& row, const QString& value);
// The value a clamp leaves of v.
int clamp(Clamp c, int v);

} // namespace quorel::settings
