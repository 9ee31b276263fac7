#pragma once
// Ruby: a reading placed just before the word it belongs to, between two marks
// (`RubyOpen` reading `RubyClose` word). The companion display program draws
// the reading above the word; the station's own screens skip it when they
// measure columns. A ruby message ("base,reading") asks every station to put a
// reading onto each occurrence of a word in its recent lines.

#include <QByteArray>
#include <optional>

namespace quorel {

class DisplayRecord;

inline constexpr char RubyOpen[] = "`r";  // 0x60 0x72
inline constexpr char RubyClose[] = "`s"; // 0x60 0x73

struct RubyMessage {
    QByteArray base;    // the word, code page 932
    QByteArray reading; // its reading, code page 932
};

// The longest base or reading a message carries, in bytes.
inline constexpr int kRubyFieldBytes = 1023;

// The first two comma-separated fields of a received ruby message (text after
// a NUL is ignored; each field is cut to kRubyFieldBytes on a character
// boundary). A message without a comma names no reading, and one with an empty
// base names no word: both give nothing.
std::optional<RubyMessage> parseRubyMessage(const QByteArray& datagram);

// Puts `RubyOpen` + reading + `RubyClose` before every occurrence of `base` in
// the last `screenLines` lines of the record, replacing a reading the
// occurrence already has. Occurrences inside a reading or right after a back
// quote (part of a mark) are left alone, and so is an occurrence at the very
// start of the record. Matching works on whole characters, never on the
// second byte of a double-byte character.
//
// All insertions are reported as one change, and undo forgets what it could
// take back: its byte counts no longer describe the end of the record.
// Returns whether the record changed. An empty base, a base or reading with a
// line break, or a base that is not valid code page 932 changes nothing.
bool applyRuby(DisplayRecord& record, const QByteArray& base, const QByteArray& reading,
               int screenLines);

} // namespace quorel
