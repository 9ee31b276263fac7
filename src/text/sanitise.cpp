#include "text/sanitise.h"

#include "text/cp932.h"

namespace quorel::text {

QByteArray sanitiseBytes(QByteArrayView bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    // True while the previous byte opened a double-byte character. The byte
    // after a complete pair starts afresh, so "0x82 0xA0 0x80" keeps the pair
    // but not the 0x80.
    bool afterLead = false;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0x00) {
            break;
        }
        const bool second = afterLead;
        afterLead = !second && isLeadByte(b);

        if (b == '\t') {
            out += ' ';
        } else if (b == 0x80 || b == 0xA0) {
            // Never a character on their own, only the second half of one.
            out += second ? c : '@';
        } else if (b == '\r' || b == '\n' || (b >= 0x20 && b <= 0x7F) || (b >= 0x81 && b <= 0xFC)) {
            out += c;
        } else {
            out += '@';
        }
    }
    return out;
}

QString sanitise(QStringView s) {
    return decode(sanitiseBytes(encode(s)));
}

} // namespace quorel::text
