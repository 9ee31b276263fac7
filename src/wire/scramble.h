#pragma once
// The light scrambling of text messages between stations that share a
// password. It keeps casual readers of the network out and nothing more. The
// bytes are a wire format shared with the Windows stations: every step here
// must stay exactly as it is, or stations stop understanding each other.
//
// The password and the texts are code page 932 bytes.

#include <QByteArray>
#include <QByteArrayView>

namespace quorel {

// The most bytes scrambled from one text, the size of the stations' sending
// buffers. Longer texts are cut here, so sender and receiver agree on what was
// sent. A scrambled message only arrives whole if its text is at most 765 bytes
// (1020 characters): receivers drop datagrams of 1024 bytes and more.
inline constexpr int kMaxScrambledBytes = 2047;

// The key offset: the absolute value of the sum of the password's bytes taken
// as signed 8-bit values. Recomputed whenever the password changes.
int linkKeyOffset(QByteArrayView password);

// The scrambled form of text: interleave the two halves, rotate the whole byte
// string right by one bit, mix with the password starting at keyOffset, and
// write it as standard Base64 with "=" padding. An empty text gives an empty
// result; texts longer than kMaxScrambledBytes are cut to that length first.
//
// The result holds no encoded zero byte as long as the text holds neither 0x00
// nor 0x01; the receiver stops at the first zero byte, so such texts do not
// come back whole (the station's texts never hold them).
//
// The station's password is never empty; an empty one here means no mixing,
// so the function is defined for every input.
QByteArray scrambleBytes(QByteArrayView text, QByteArrayView password, int keyOffset);

// The inverse of scrambleBytes. Returns an empty result when text is not a
// scrambled form: its length is not a multiple of four, or it holds a character
// outside "A"-"Z", "a"-"z", "0"-"9", "+", "/" and "=". Plain text that happens to
// pass decodes to meaningless bytes, and so does a text scrambled with another
// password.
QByteArray unscrambleBytes(QByteArrayView text, QByteArrayView password, int keyOffset);

} // namespace quorel
