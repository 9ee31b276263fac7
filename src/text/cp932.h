#pragma once
// Code page 932 (Shift-JIS with the Windows extensions): the encoding of every
// datagram and file the station exchanges. Controls hold QString; everything
// that counts bytes or crosses the wire goes through here.

#include <QByteArray>
#include <QString>

namespace quorel::text {

// Shown in place of a character that code page 932 cannot carry (an emoji, a
// Hangul syllable ...). The geta mark is the customary visible stand-in for a
// missing character in Japanese text, and it is itself code page 932 (0x81 0xAC),
// so a caption never silently turns into "?".
inline constexpr char16_t kReplacement = u'\u3013'; // 〓

// Encodes to code page 932. Characters that Linux input methods produce in
// their Unicode forms are sent as the bytes Windows stations send (〜 U+301C ->
// 0x8160, ‖ U+2016 -> 0x8161, − U+2212 -> 0x817C, ¬ U+00AC -> 0x81CA,
// — U+2014 -> 0x815C, ¢ £ ...). Anything else outside the code page becomes
// kReplacement (two bytes).
QByteArray encode(QStringView s);

// Decodes code page 932 bytes. Never fails: a byte or pair that the code page
// does not define decodes to kReplacement. NUL bytes are kept.
QString decode(QByteArrayView bytes);

// Byte length of the code page 932 form of s (what encode(s).size() returns).
int byteLength(QStringView s);

// Byte length of one UTF-16 code unit / code point as encode() would write it.
int byteLengthOf(char32_t codePoint);

// First byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Index into s (UTF-16 units) of the character that holds byte offset
// `byteOffset` of encode(s). An offset inside a double-byte character maps to
// that character; offsets past the end clamp to s.size().
int indexOfByteOffset(QStringView s, int byteOffset);

// Byte offset in encode(s) where the character at index `index` starts;
// clamps to byteLength(s).
int byteOffsetOfIndex(QStringView s, int index);

// The first at most maxBytes bytes of code page 932 text, never ending in the
// middle of a double-byte character.
QByteArray cutBytes(const QByteArray& bytes, int maxBytes);

// The longest start of s whose code page 932 form has at most maxBytes bytes.
QString leftBytes(const QString& s, int maxBytes);

// What of `s` an editor limited in bytes can take when `room` bytes are left:
// its longest start, with CR LF made one line break, where every line break
// ('\n' or U+2029, as editors hold them) counts two bytes because it travels
// as CR LF. Never ends inside a surrogate pair.
QString fitBytes(const QString& s, int room);
// The bytes an editor's text (or selection) takes as it travels: each line
// break ('\n' or U+2029) is CR LF.
int editorBytes(const QString& s);

} // namespace quorel::text
