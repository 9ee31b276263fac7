// Every received datagram is decoded from code page 932 and sanitised, and
// every length on the wire is counted with byteLength, so these must take any
// bytes and agree with each other.

#include "fuzz_check.h"
#include "text/cp932.h"
#include "text/sanitise.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// encode() writes exactly byteLength() bytes, and the offset helpers agree with
// it at both ends and at a few places inside.
void checkLengths(QStringView s, QByteArrayView input) {
    const QByteArray bytes = quorel::text::encode(s);
    const int length = quorel::text::byteLength(s);
    QUOREL_FUZZ_CHECK(bytes.size() == length);
    QUOREL_FUZZ_CHECK(length <= 2 * s.size());
    QUOREL_FUZZ_CHECK(quorel::text::byteOffsetOfIndex(s, int(s.size())) == length);
    QUOREL_FUZZ_CHECK(quorel::text::indexOfByteOffset(s, length) == s.size());
    QUOREL_FUZZ_CHECK(quorel::text::byteOffsetOfIndex(s, 0) == 0);

    // A few probes, positioned by the input, keep the cost linear.
    if (length == 0)
        return;
    for (qsizetype k = 0; k < qMin(input.size(), qsizetype(2)); ++k) {
        const int offset = static_cast<unsigned char>(input[k]) * 17 % length;
        const int index = quorel::text::indexOfByteOffset(s, offset);
        QUOREL_FUZZ_CHECK(index >= 0 && index < s.size());
        const int start = quorel::text::byteOffsetOfIndex(s, index);
        // The character holding the offset starts at or before it, and at most
        // one byte before (characters are one or two bytes).
        QUOREL_FUZZ_CHECK(start <= offset && offset - start <= 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));

    // As received.
    const QString decoded = quorel::text::decode(input);
    QUOREL_FUZZ_CHECK(decoded.size() <= input.size());
    checkLengths(decoded, input);

    // The cleaning rule maps byte to byte up to the first NUL, and applying it
    // twice changes nothing.
    const QByteArray clean = quorel::text::sanitiseBytes(input);
    QUOREL_FUZZ_CHECK(clean.size() <= input.size());
    QUOREL_FUZZ_CHECK(!clean.contains('\0'));
    QUOREL_FUZZ_CHECK(quorel::text::sanitiseBytes(clean) == clean);
    checkLengths(quorel::text::decode(clean), input);
    (void)quorel::text::sanitise(decoded);

    // The same bytes as UTF-16, lone surrogates and all, as a control could
    // hold them before they are sent.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(units.data(), data, size / 2 * sizeof(char16_t));
    checkLengths(units, input);
    (void)quorel::text::decode(quorel::text::encode(units));
    return 0;
}
