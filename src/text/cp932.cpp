#include "text/cp932.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iconv.h>
#include <vector>

namespace quorel::text {

namespace {

// glibc's "CP932" is the Windows code page (NEC and IBM extensions, the
// user-defined area as private use). "SHIFT_JIS" is plain JIS X 0208 and would
// turn ①, ～ or 髙 into replacements.
constexpr const char* kCodePage = "CP932";

constexpr std::uint16_t kReplacementCode = 0x81AC; // 〓 in code page 932

// 0x81-0x9F and 0xE0-0xFC, packed so the pair table stays small.
constexpr int kLeadCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

constexpr int leadSlot(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            // Without the converter every caption would turn into 〓; better
            // to stop at once than to put garbage on the wire.
            qFatal("iconv cannot convert %s to %s (are the glibc gconv modules installed?)", from,
                   to);
        }
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts all of `in`; returns the output size or -1 if any of it fails.
    int convert(const unsigned char* in, size_t inSize, unsigned char* out, size_t outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        auto* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
        auto* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = inSize;
        size_t outLeft = outSize;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0) {
            return -1;
        }
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return -1;
        }
        return static_cast<int>(outSize - outLeft);
    }

private:
    iconv_t cd_;
};

// Built in place in static storage (the tables are too big to build on a
// thread's stack and copy).
struct DecodeTables {
    DecodeTables();
    std::array<char16_t, 256> single;
    // [leadSlot][trail]; kReplacement where the pair is undefined.
    std::array<std::array<char16_t, 256>, kLeadCount> pair;
};

// Decodes `bytes` with iconv; a result other than exactly one BMP character
// (failure, incomplete input) counts as undefined.
bool decodeOne(Iconv& cv, const unsigned char* bytes, size_t size, char16_t& result) {
    std::array<unsigned char, 16> out{};
    if (cv.convert(bytes, size, out.data(), out.size()) != 4) {
        return false;
    }
    const std::uint32_t cp = out[0] | out[1] << 8 | out[2] << 16 | std::uint32_t(out[3]) << 24;
    if (cp > 0xFFFF) {
        return false;
    }
    result = static_cast<char16_t>(cp);
    return true;
}

DecodeTables::DecodeTables() {
    Iconv cv("UTF-32LE", kCodePage);
    for (int b = 0; b < 256; ++b) {
        const unsigned char in = static_cast<unsigned char>(b);
        if (isLeadByte(in) || !decodeOne(cv, &in, 1, single[b])) {
            single[b] = kReplacement;
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        auto& row = pair[leadSlot(static_cast<unsigned char>(lead))];
        for (int trail = 0; trail < 256; ++trail) {
            const unsigned char in[2] = {static_cast<unsigned char>(lead),
                                         static_cast<unsigned char>(trail)};
            if (!decodeOne(cv, in, 2, row[trail])) {
                row[trail] = kReplacement;
            }
        }
    }
}

const DecodeTables& decodeTables() {
    static const DecodeTables tables; // thread-safe one-time initialisation
    return tables;
}

// Unicode forms that code page 932 has no code for, but that mean the character
// Windows stations send: Linux input methods and JIS-based converters produce
// the left-hand side, Windows the right. Used only where iconv itself has no
// mapping, so a glibc that already knows them (current ones do) is not
// overridden.
struct OneWay {
    char16_t from;
    std::uint16_t to;
};
constexpr OneWay kOneWay[] = {
    {u'\u301C', 0x8160}, // 〜 WAVE DASH -> ～
    {u'\u2016', 0x8161}, // ‖ DOUBLE VERTICAL LINE -> ∥
    {u'\u2212', 0x817C}, // − MINUS SIGN -> －
    {u'\u00AC', 0x81CA}, // ¬ -> ￢
    {u'\u2014', 0x815C}, // — EM DASH -> ―
    {u'\u00A2', 0x8191}, // ¢ -> ￠
    {u'\u00A3', 0x8192}, // £ -> ￡
};

// Code page 932 form of every BMP code unit: < 0x100 is one byte, otherwise a
// lead/trail pair. Anything the code page lacks, lone surrogates included, is
// already kReplacementCode, so encoding never branches on "unknown".
struct EncodeTable {
    EncodeTable();
    std::uint16_t operator[](char16_t c) const { return code[c]; }
    std::array<std::uint16_t, 0x10000> code;
};

EncodeTable::EncodeTable() {
    code.fill(kReplacementCode);
    Iconv cv(kCodePage, "UTF-32LE");
    std::vector<bool> mapped(0x10000);
    for (std::uint32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        const unsigned char in[4] = {static_cast<unsigned char>(cp),
                                     static_cast<unsigned char>(cp >> 8), 0, 0};
        std::array<unsigned char, 8> out{};
        const int n = cv.convert(in, sizeof in, out.data(), out.size());
        if (n == 1) {
            code[cp] = out[0];
        } else if (n == 2 && isLeadByte(out[0])) {
            code[cp] = static_cast<std::uint16_t>(out[0] << 8 | out[1]);
        } else {
            continue;
        }
        mapped[cp] = true;
    }
    for (const OneWay& m : kOneWay) {
        if (!mapped[m.from]) {
            code[m.from] = m.to;
        }
    }
}

const EncodeTable& encodeTable() {
    static const EncodeTable table; // thread-safe one-time initialisation
    return table;
}

bool startsSurrogatePair(QStringView s, qsizetype i) {
    return s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate();
}

// One character of s at index i: how many UTF-16 units it spans and how many
// bytes it encodes to.
struct Step {
    int units;
    int bytes;
};

Step stepAt(const EncodeTable& table, QStringView s, qsizetype i) {
    if (startsSurrogatePair(s, i)) {
        return {2, 2}; // one replacement for the whole code point
    }
    return {1, table[s[i].unicode()] > 0xFF ? 2 : 1};
}

} // namespace

QByteArray encode(QStringView s) {
    const EncodeTable& table = encodeTable();
    QByteArray out(byteLength(s), Qt::Uninitialized);
    char* p = out.data();
    for (qsizetype i = 0; i < s.size(); ++i) {
        std::uint16_t code;
        if (startsSurrogatePair(s, i)) {
            code = kReplacementCode;
            ++i;
        } else {
            code = table[s[i].unicode()];
        }
        if (code > 0xFF) {
            *p++ = static_cast<char>(code >> 8);
        }
        *p++ = static_cast<char>(code & 0xFF);
    }
    return out;
}

QString decode(QByteArrayView bytes) {
    const DecodeTables& t = decodeTables();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* p = out.data();
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!isLeadByte(b[i])) {
            *p++ = QChar(t.single[b[i]]);
            continue;
        }
        if (i + 1 == n) {
            *p++ = QChar(kReplacement); // the message was cut inside a character
            break;
        }
        const unsigned char trail = b[i + 1];
        const char16_t c = t.pair[leadSlot(b[i])][trail];
        *p++ = QChar(c);
        // An undefined pair swallows its second byte unless that byte is
        // ASCII: a stray lead byte must not eat the newline, NUL or letter
        // after it.
        if (c != kReplacement || trail >= 0x80) {
            ++i;
        }
    }
    out.truncate(p - out.constData());
    return out;
}

int byteLength(QStringView s) {
    const EncodeTable& table = encodeTable();
    int total = 0;
    for (qsizetype i = 0; i < s.size();) {
        const Step step = stepAt(table, s, i);
        total += step.bytes;
        i += step.units;
    }
    return total;
}

int byteLengthOf(char32_t codePoint) {
    if (codePoint > 0xFFFF) {
        return 2; // replacement: code page 932 is BMP only
    }
    return encodeTable()[static_cast<char16_t>(codePoint)] > 0xFF ? 2 : 1;
}

int indexOfByteOffset(QStringView s, int byteOffset) {
    const EncodeTable& table = encodeTable();
    int offset = 0;
    for (qsizetype i = 0; i < s.size();) {
        const Step step = stepAt(table, s, i);
        if (byteOffset < offset + step.bytes) {
            return static_cast<int>(i);
        }
        offset += step.bytes;
        i += step.units;
    }
    return static_cast<int>(s.size());
}

int byteOffsetOfIndex(QStringView s, int index) {
    const EncodeTable& table = encodeTable();
    int offset = 0;
    for (qsizetype i = 0; i < s.size();) {
        const Step step = stepAt(table, s, i);
        // An index on the second half of a surrogate pair belongs to the pair.
        if (index < i + step.units) {
            return offset;
        }
        offset += step.bytes;
        i += step.units;
    }
    return offset;
}

QByteArray cutBytes(const QByteArray& bytes, int maxBytes) {
    if (bytes.size() <= maxBytes)
        return bytes;
    int end = 0;
    while (end < maxBytes) {
        const int width = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return bytes.left(std::max(0, end));
}

QString leftBytes(const QString& s, int maxBytes) {
    return s.left(indexOfByteOffset(s, std::max(0, maxBytes)));
}

int editorBytes(const QString& s) {
    int breaks = 0;
    QString t = s;
    for (QChar& c : t)
        if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
            c = QLatin1Char(' ');
            ++breaks;
        }
    return byteLength(t) + breaks; // the space stands for the first byte
}

QString fitBytes(const QString& s, int room) {
    if (room <= 0)
        return QString();
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (editorBytes(t) <= room)
        return t;
    QString out;
    int used = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < t.size() && t.at(i + 1).isLowSurrogate();
        const QStringView one(t.constData() + i, pair ? 2 : 1);
        const int b =
            (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) ? 2 : byteLength(one);
        if (used + b > room)
            break;
        used += b;
        out += one;
        if (pair)
            ++i;
    }
    return out;
}

} // namespace quorel::text
