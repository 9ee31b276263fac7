// Received text messages with the encryption switch on go through
// unscrambleBytes before anything else looks at them, so it must take any bytes
// at all. The first input byte chooses how many of the following bytes form a
// second password (0 to 32, an empty one included); the rest is the message.

#include "fuzz_check.h"
#include "text/cp932.h"
#include "wire/scramble.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace {

bool isBase64Text(const QByteArray& s) {
    for (const char c : s) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '+' || c == '/' || c == '=';
        if (!ok)
            return false;
    }
    return true;
}

bool holdsZeroOrOne(const QByteArray& s) {
    return s.contains('\0') || s.contains('\x01');
}

// What the station does to a received message, followed by the checks that
// hold for any input.
void exercise(QByteArrayView message, QByteArrayView password) {
    const int keyOffset = quorel::linkKeyOffset(password);
    QUOREL_FUZZ_CHECK(keyOffset >= 0);

    const QByteArray text = quorel::unscrambleBytes(message, password, keyOffset);
    // Three bytes at most come out of every four characters.
    QUOREL_FUZZ_CHECK(text.size() <= message.size() / 4 * 3);
    if (!text.isEmpty())
        QUOREL_FUZZ_CHECK(message.size() % 4 == 0 && isBase64Text(message.toByteArray()));

    // Sending the decoded text again must work, and it must come back whole
    // whenever it is a text the scrambled form can carry.
    const QByteArray again = quorel::scrambleBytes(text, password, keyOffset);
    const qsizetype sent = qMin(text.size(), qsizetype(quorel::kMaxScrambledBytes));
    QUOREL_FUZZ_CHECK(again.size() == (sent + 2) / 3 * 4);
    QUOREL_FUZZ_CHECK(isBase64Text(again));
    if (sent == text.size() && !holdsZeroOrOne(text))
        QUOREL_FUZZ_CHECK(quorel::unscrambleBytes(again, password, keyOffset) == text);

    // The message itself as a text to send.
    const QByteArray scrambled = quorel::scrambleBytes(message, password, keyOffset);
    const QByteArray cut =
        message.first(qMin(message.size(), qsizetype(quorel::kMaxScrambledBytes))).toByteArray();
    if (!holdsZeroOrOne(cut))
        QUOREL_FUZZ_CHECK(quorel::unscrambleBytes(scrambled, password, keyOffset) == cut);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QByteArray stationPassword =
        quorel::text::encode(QStringLiteral("共有する合言葉はここです"));

    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    exercise(input, stationPassword);

    if (input.isEmpty())
        return 0;
    const qsizetype passwordLength = qMin(qsizetype(data[0] % 33), input.size() - 1);
    const QByteArrayView password = input.sliced(1, passwordLength);
    exercise(input.sliced(1 + passwordLength), password);
    return 0;
}
