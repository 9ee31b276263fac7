#include "wire/scramble.h"

#include <cstdlib>
#include <limits>

namespace quorel {

namespace {

using Byte = unsigned char;

Byte at(const QByteArray& bytes, qsizetype i) {
    return static_cast<Byte>(bytes[i]);
}

// P0 P1 P2 P3 P4 -> P0 P2 P1 P3 P4: the first half goes to the even places, the
// second half to the odd ones; an odd last byte stays last.
QByteArray interleave(QByteArrayView in) {
    const qsizetype n = in.size();
    const qsizetype h = n / 2;
    QByteArray out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < h; ++i) {
        out[2 * i] = in[i];
        out[2 * i + 1] = in[h + i];
    }
    if (n % 2 != 0)
        out[n - 1] = in[n - 1];
    return out;
}

QByteArray deinterleave(const QByteArray& in) {
    const qsizetype n = in.size();
    const qsizetype h = n / 2;
    QByteArray out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < h; ++i) {
        out[i] = in[2 * i];
        out[h + i] = in[2 * i + 1];
    }
    if (n % 2 != 0)
        out[n - 1] = in[n - 1];
    return out;
}

// The bytes as one bit string, most significant bit of byte 0 first, rotated
// one place to the right: each byte's lowest bit becomes the top bit of the
// next byte, and the last byte's lowest bit becomes the top bit of byte 0.
void rotateRight(QByteArray& bytes) {
    const qsizetype n = bytes.size();
    if (n == 0)
        return;
    Byte carry = at(bytes, n - 1) & 1;
    for (qsizetype i = 0; i < n; ++i) {
        const Byte b = at(bytes, i);
        bytes[i] = static_cast<char>(carry << 7 | b >> 1);
        carry = b & 1;
    }
}

// The inverse: each byte's top bit becomes the lowest bit of the previous
// byte, and byte 0's top bit becomes the lowest bit of the last byte.
void rotateLeft(QByteArray& bytes) {
    const qsizetype n = bytes.size();
    if (n == 0)
        return;
    Byte carry = at(bytes, 0) >> 7;
    for (qsizetype i = n - 1; i >= 0; --i) {
        const Byte b = at(bytes, i);
        bytes[i] = static_cast<char>(b << 1 | carry);
        carry = b >> 7;
    }
}

// Byte i is mixed with password byte (keyOffset + i) mod m. A byte equal to its
// key byte stays as it is instead of becoming zero, so the mixed text never
// gains a zero byte (the receiver stops there); applied twice it gives the
// byte back, so the same step decodes.
void mixWithKey(QByteArray& bytes, QByteArrayView password, int keyOffset) {
    const qsizetype m = password.size();
    if (m == 0)
        return;
    // linkKeyOffset never gives a negative offset; taking the magnitude keeps
    // any other caller's value inside the password.
    const qsizetype start = std::abs(qint64(keyOffset)) % m;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const Byte k = static_cast<Byte>(password[(start + i) % m]);
        const Byte b = at(bytes, i);
        if (b != k)
            bytes[i] = static_cast<char>(b ^ k);
    }
}

// The value of a Base64 character; "=" counts as 0, so padded places decode to
// zero bytes. -1 for anything else.
int base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    if (c == '=')
        return 0;
    return -1;
}

} // namespace

int linkKeyOffset(QByteArrayView password) {
    // A password holds at most 254 bytes; the wide sum and the clamp only keep
    // absurdly long input defined.
    qint64 sum = 0;
    for (const char c : password)
        sum += static_cast<signed char>(c);
    return int(qMin(qAbs(sum), qint64(std::numeric_limits<int>::max())));
}

QByteArray scrambleBytes(QByteArrayView text, QByteArrayView password, int keyOffset) {
    if (text.isEmpty())
        return {};
    QByteArray bytes = interleave(text.first(qMin(text.size(), qsizetype(kMaxScrambledBytes))));
    rotateRight(bytes);
    mixWithKey(bytes, password, keyOffset);
    return bytes.toBase64();
}

QByteArray unscrambleBytes(QByteArrayView text, QByteArrayView password, int keyOffset) {
    const qsizetype length = text.size();
    if (length == 0 || length % 4 != 0)
        return {};
    QByteArray bytes;
    bytes.reserve(length / 4 * 3);
    for (qsizetype i = 0; i < length; i += 4) {
        quint32 group = 0;
        for (qsizetype j = 0; j < 4; ++j) {
            const int value = base64Value(text[i + j]);
            if (value < 0)
                return {};
            group = group << 6 | quint32(value);
        }
        bytes += static_cast<char>(group >> 16);
        bytes += static_cast<char>((group >> 8) & 0xFF);
        bytes += static_cast<char>(group & 0xFF);
    }
    // Padding decodes to zero bytes, and a scrambled text holds no other zero
    // byte: the text ends at the first one.
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    mixWithKey(bytes, password, keyOffset);
    rotateLeft(bytes);
    return deinterleave(bytes);
}

} // namespace quorel
