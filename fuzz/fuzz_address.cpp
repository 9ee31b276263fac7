// Addresses arrive in membership messages as code page 932 text and are typed
// into boxes; the checks must take any text and agree with each other.

#include "fuzz_check.h"
#include "text/cp932.h"
#include "wire/address.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = quorel::text::decode(input);

    const int check = quorel::CheckAddress(text);
    QUOREL_FUZZ_CHECK(check == quorel::kAddressValid || check == quorel::kAddressInvalid ||
                      check == quorel::kAddressEmpty);
    QUOREL_FUZZ_CHECK((check == quorel::kAddressEmpty) == text.isEmpty());

    const auto broadcast = quorel::BroadcastAddressOf(text);
    const auto parsed = quorel::parseDottedIPv4(text);
    if (check == quorel::kAddressValid) {
        // A valid address has a network to reach, and its broadcast address is
        // itself a valid address.
        QUOREL_FUZZ_CHECK(broadcast.has_value());
        QUOREL_FUZZ_CHECK(quorel::CheckAddress(*broadcast) == quorel::kAddressValid);
        QUOREL_FUZZ_CHECK(parsed.has_value());
        const quint32 first = *parsed >> 24;
        QUOREL_FUZZ_CHECK(first != 0 && first != 127);
        QUOREL_FUZZ_CHECK(quorel::parseDottedIPv4(*broadcast).has_value());
    }
    if (parsed) {
        const QString canonical = quorel::formatIPv4(*parsed);
        QUOREL_FUZZ_CHECK(quorel::parseDottedIPv4(canonical) == parsed);
        // Text that parses differs from the canonical form only by leading
        // zeros, so it is no shorter.
        QUOREL_FUZZ_CHECK(canonical.size() <= text.size());
    }

    // Any number formats and reads back.
    if (size >= 4) {
        const quint32 value = quint32(data[0]) << 24 | quint32(data[1]) << 16 |
                              quint32(data[2]) << 8 | quint32(data[3]);
        QUOREL_FUZZ_CHECK(quorel::parseDottedIPv4(quorel::formatIPv4(value)) == value);
    }
    return 0;
}
