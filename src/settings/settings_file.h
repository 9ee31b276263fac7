#pragma once
// Settings files on disk: code page 932 text, CR LF after every line written,
// any of CR LF, LF or CR accepted when read.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace quorel::settings {

// No settings file comes near this; a larger one is not a settings file and
// is refused before it is read into memory.
inline constexpr qint64 kMaxFileBytes = 1024 * 1024;

inline const QString kCannotCreate = QStringLiteral("ファイル %1 を作成できません");
inline const QString kCannotOpen = QStringLiteral("ファイル %1 は開けません");
inline const QString kTooLarge =
    QStringLiteral("ファイル %1 は大きすぎるため読み込みません（設定ファイルは１ＭＢまでです）。");

// Splits decoded text at CR LF, LF or CR. A final line end does not make an
// empty last line.
QStringList splitLines(const QString& text);
QByteArray joinLines(const QStringList& lines);

// Reads a settings file into lines; on failure returns nothing and sets
// `error` to the message for the user.
std::optional<QStringList> readLines(const QString& path, QString* error);

// Writes the lines whole or not at all: a failed write leaves an existing
// file as it was. On failure returns false and sets `error`.
bool writeLines(const QString& path, const QStringList& lines, QString* error);

} // namespace quorel::settings
