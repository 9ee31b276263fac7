#include "text/cp932.h"
#include "wire/address.h"
#include "wire/scramble.h"

#include <QRandomGenerator>
#include <QTest>

using quorel::BroadcastAddressOf;
using quorel::CheckAddress;
using quorel::linkKeyOffset;
using quorel::scrambleBytes;
using quorel::unscrambleBytes;

namespace {

// The password a fresh station starts with, and the one an emptied box gets.
const QString kInitialPassword = QStringLiteral("共有する合言葉はここです");
const QString kStandInPassword = QStringLiteral("仮の共有合言葉です");

QByteArray sjis(const QString& s) {
    return quorel::text::encode(s);
}

QByteArray scramble(QByteArrayView text, QByteArrayView password) {
    return scrambleBytes(text, password, linkKeyOffset(password));
}

QByteArray unscramble(QByteArrayView text, QByteArrayView password) {
    return unscrambleBytes(text, password, linkKeyOffset(password));
}

// Random bytes other than 0x00 and 0x01, the two the scrambled form cannot
// carry.
QByteArray randomBytes(QRandomGenerator& rng, int n) {
    QByteArray out(n, Qt::Uninitialized);
    for (char& c : out)
        c = static_cast<char>(rng.bounded(2, 256));
    return out;
}

// Random text of exactly n bytes as a typist produces it: ASCII, kana
// (full- and half-width), punctuation, kanji and line breaks, encoded by the
// station's own codec.
QByteArray randomShiftJis(QRandomGenerator& rng, int n) {
    static const QString pool =
        QStringLiteral("あいうえおかきくけこさしすせそがぎぐゃゅょっアイウエオカキクケコヴー"
                       "ｱｲｳｴｵｶﾞﾟ、。「」・！？（）〜－①㈱字幕情報保障会議通信入力表示髙﨑") +
        QStringLiteral(" 0123456789ABCxyz@.\r\n");
    QString s;
    int bytes = 0;
    while (bytes < n) {
        QChar c = pool[rng.bounded(int(pool.size()))];
        if (bytes + quorel::text::byteLength(QStringView(&c, 1)) > n)
            c = u'x';
        s += c;
        bytes += quorel::text::byteLength(QStringView(&c, 1));
    }
    QByteArray out = sjis(s);
    Q_ASSERT(out.size() == n);
    return out;
}

bool isBase64Text(const QByteArray& s) {
    for (const char c : s) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '+' || c == '/' || c == '=';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

class TestWireFormats : public QObject {
    Q_OBJECT

private slots:
    void checkAddress_data();
    void checkAddress();
    void broadcastAddress_data();
    void broadcastAddress();
    void parseDottedIPv4_data();
    void parseDottedIPv4();
    void formatIPv4_data();
    void formatIPv4();

    void keyOffset_data();
    void keyOffset();
    void fixedVectors_data();
    void fixedVectors();
    void oneByteText();
    void roundTrip_data();
    void roundTrip();
    void equalBytesSentUnchanged_data();
    void equalBytesSentUnchanged();
    void decodeStopsAtFirstZero_data();
    void decodeStopsAtFirstZero();
    void notScrambledForm_data();
    void notScrambledForm();
    void longTextCut_data();
    void longTextCut();
    void emptyPassword();
};

// ---- addresses

void TestWireFormats::checkAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QString() << 2;
    QTest::newRow("first field 0") << "0.1.2.3" << 1;
    QTest::newRow("loopback") << "127.0.0.1" << 1;
    QTest::newRow("loopback, leading zero") << "0127.0.0.1" << 1;
    QTest::newRow("three fields") << "1.2.3" << 1;
    QTest::newRow("five fields") << "1.2.3.4.5" << 1;
    QTest::newRow("trailing dot") << "1.2.3.4." << 1;
    QTest::newRow("leading dot") << ".1.2.3" << 1;
    QTest::newRow("empty field") << "1..2.3" << 1;
    QTest::newRow("dots only") << "..." << 1;
    QTest::newRow("letters") << "a.b.c.d" << 1;
    QTest::newRow("space") << "1.2.3.4 " << 1;
    QTest::newRow("sign") << "1.2.3.-4" << 1;
    QTest::newRow("full-width digit") << "１.2.3.4" << 1;
    QTest::newRow("first 256") << "256.1.1.1" << 1;
    QTest::newRow("last 256") << "1.1.1.256" << 1;
    QTest::newRow("leading zero") << "10.014.1.1" << 0;
    QTest::newRow("as typed with zeros") << "192.168.001.020" << 0;
    QTest::newRow("all 255") << "255.255.255.255" << 0;
    QTest::newRow("first 1, rest 0") << "1.0.0.0" << 0;
    QTest::newRow("126 and 128") << "126.128.0.0" << 0;
    // Very long digit runs must read as "too large", never wrap round to a
    // small value (2^32 + 1 and 2^64 + 1 wrap to 1 in a 32- or 64-bit number).
    QTest::newRow("2^32+1 first") << "4294967297.1.1.1" << 1;
    QTest::newRow("2^64+1 last") << "1.1.1.18446744073709551617" << 1;
    QTest::newRow("100 nines") << "1.2.3." + QString(100, u'9') << 1;
    QTest::newRow("100 zeros then 255") << "1.2." + QString(100, u'0') + "255.4" << 0;
    QTest::newRow("100 zeros then 256") << "1.2." + QString(100, u'0') + "256.4" << 1;
    QTest::newRow("100 zeros first") << QString(100, u'0') + ".2.3.4" << 1;
}

void TestWireFormats::checkAddress() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(CheckAddress(text), expected);
}

void TestWireFormats::broadcastAddress_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<std::optional<QString>>("expected");

    using Opt = std::optional<QString>;
    QTest::newRow("class C") << "192.168.1.20" << Opt("192.168.1.255");
    QTest::newRow("class B") << "172.16.5.4" << Opt("172.16.255.255");
    QTest::newRow("class A") << "10.14.1.1" << Opt("10.255.255.255");
    QTest::newRow("all 255") << "255.255.255.255" << Opt("255.255.255.255");
    QTest::newRow("fields kept as typed") << "192.168.001.020" << Opt("192.168.001.255");
    QTest::newRow("first field as typed") << "010.1.2.3" << Opt("010.255.255.255");
    QTest::newRow("0192 reads as 192") << "0192.168.1.1" << Opt("0192.168.1.255");
    QTest::newRow("126 is class A") << "126.1.2.3" << Opt("126.255.255.255");
    QTest::newRow("128 is class B") << "128.1.2.3" << Opt("128.1.255.255");
    QTest::newRow("191 is class B") << "191.1.2.3" << Opt("191.1.255.255");
    QTest::newRow("192 is class C") << "192.0.2.3" << Opt("192.0.2.255");
    QTest::newRow("subnet mask ignored") << "10.1.2.3" << Opt("10.255.255.255");
    QTest::newRow("loopback") << "127.0.0.1" << Opt();
    QTest::newRow("loopback network") << "127.5.6.7" << Opt();
    QTest::newRow("empty") << QString() << Opt();
    QTest::newRow("three fields") << "1.2.3" << Opt();
    QTest::newRow("trailing dot") << "1.2.3.4." << Opt();
    QTest::newRow("empty field") << "1..2.3" << Opt();
    QTest::newRow("letters") << "a.b.c.d" << Opt();
    QTest::newRow("host name") << "station1" << Opt();
}

void TestWireFormats::broadcastAddress() {
    QFETCH(QString, address);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(BroadcastAddressOf(address), expected);
}

void TestWireFormats::parseDottedIPv4_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<quint32>>("expected");

    using Opt = std::optional<quint32>;
    QTest::newRow("plain") << "192.168.1.20" << Opt(0xC0A80114);
    QTest::newRow("leading zeros are decimal") << "192.168.001.020" << Opt(0xC0A80114);
    QTest::newRow("014 is 14, not octal 12") << "10.014.1.1" << Opt(0x0A0E0101);
    QTest::newRow("byte order") << "1.2.3.4" << Opt(0x01020304);
    QTest::newRow("null address") << "0.0.0.0" << Opt(0);
    QTest::newRow("loopback") << "127.0.0.1" << Opt(0x7F000001);
    QTest::newRow("all 255") << "255.255.255.255" << Opt(0xFFFFFFFF);
    QTest::newRow("long zero run") << QString(50, u'0') + "1.0.0.0" << Opt(0x01000000);
    QTest::newRow("empty") << QString() << Opt();
    QTest::newRow("three fields") << "1.2.3" << Opt();
    QTest::newRow("five fields") << "1.2.3.4.5" << Opt();
    QTest::newRow("trailing dot") << "1.2.3.4." << Opt();
    QTest::newRow("empty field") << "1..2.3" << Opt();
    QTest::newRow("256") << "1.2.3.256" << Opt();
    QTest::newRow("2^32 wraps to 0") << "1.4294967296.0.0" << Opt();
    QTest::newRow("100 nines") << QString(100, u'9') + ".1.1.1" << Opt();
    QTest::newRow("trailing space") << "1.2.3.4 " << Opt();
    QTest::newRow("leading space") << " 1.2.3.4" << Opt();
    QTest::newRow("sign") << "+1.2.3.4" << Opt();
    QTest::newRow("hex") << "0x1.2.3.4" << Opt();
    QTest::newRow("full-width digit") << "1.2.3.４" << Opt();
    QTest::newRow("host name") << "localhost" << Opt();
}

void TestWireFormats::parseDottedIPv4() {
    QFETCH(QString, text);
    QFETCH(std::optional<quint32>, expected);
    QCOMPARE(quorel::parseDottedIPv4(text), expected);
}

void TestWireFormats::formatIPv4_data() {
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << quint32(0) << "0.0.0.0";
    QTest::newRow("byte order") << quint32(0x01020304) << "1.2.3.4";
    QTest::newRow("no leading zeros") << quint32(0xC0A80114) << "192.168.1.20";
    QTest::newRow("all 255") << quint32(0xFFFFFFFF) << "255.255.255.255";
}

void TestWireFormats::formatIPv4() {
    QFETCH(quint32, address);
    QFETCH(QString, text);
    QCOMPARE(quorel::formatIPv4(address), text);
    QCOMPARE(quorel::parseDottedIPv4(text), std::optional<quint32>(address));
}

// ---- link encryption

void TestWireFormats::keyOffset_data() {
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("expected");

    QTest::newRow("ASCII") << QByteArray("key") << 329; // 107 + 101 + 121
    QTest::newRow("0x80 is -128") << QByteArray("\x80") << 128;
    QTest::newRow("0xFF is -1") << QByteArray("a\xFF") << 96; // 97 - 1
    QTest::newRow("negative sum") << sjis("あ") << 222;       // 0x82 0xA0: -126 - 96
    QTest::newRow("sum zero") << QByteArray("\x01\xFF") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("initial password") << sjis(kInitialPassword) << 1964;
    QTest::newRow("stand-in password") << sjis(kStandInPassword) << 1394;
}

void TestWireFormats::keyOffset() {
    QFETCH(QByteArray, password);
    QFETCH(int, expected);
    QCOMPARE(linkKeyOffset(password), expected);
}

// Worked out by hand, step by step, so that any change to the bytes on the wire
// shows here. Notation: key byte i is K[(s + i) mod m], s the key offset.
void TestWireFormats::fixedVectors_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("scrambled");

    // "A" = 0x41, password "key" (6B 65 79): s = 329, m = 3, key byte 0 is
    // K[329 mod 3 = 2] = 0x79. One byte is not interleaved; rotating
    // 0100'0001 right gives 1010'0000 = 0xA0; 0xA0 ^ 0x79 = 0xD9; Base64 of
    // 110110'01(0000) is "2Q" and two "=".
    QTest::newRow("one byte") << QByteArray("A") << QByteArray("key") << QByteArray("2Q==");

    // "abc" (61 62 63), password "key": key bytes K2 K0 K1 = 79 6B 65.
    // Interleave with h = 1 leaves 61 62 63. Rotate right (0x63's low bit 1
    // goes to the top of byte 0): B0 B1 31. Mix: B0^79 = C9, B1^6B = DA,
    // 31^65 = 54. Base64 of C9 DA 54 = 110010 011101 101001 010100 = "ydpU",
    // no padding.
    QTest::newRow("one full group") << QByteArray("abc") << QByteArray("key") << QByteArray("ydpU");

    // "Hello" (48 65 6C 6C 6F), password "ab" (61 62): s = 195, m = 2, key
    // bytes start at K[1]: 62 61 62 61 62. Interleave with h = 2:
    // P0 P2 P1 P3 P4 = 48 6C 65 6C 6F. Rotate right (0x6F's low bit 1 to the
    // top of byte 0): A4 36 32 B6 37. Mix: C6 57 50 D7 55. Base64:
    // C6 57 50 -> "xldQ", D7 55 -> 110101 110101 010100 -> "11U" and "=".
    QTest::newRow("interleaved") << QByteArray("Hello") << QByteArray("ab")
                                 << QByteArray("xldQ11U=");

    // "aA" (61 41), password "あ" (82 A0): s = 222, m = 2, key bytes 82 A0.
    // Interleave leaves two bytes as they are. Rotate right: B0 A0. Mix:
    // B0^82 = 32, and A0 equals its key byte, so it stays A0 (it would be
    // zero and end the text otherwise). Base64 of 32 A0 = 001100 101010
    // 0000(00) = "MqA" and "=".
    QTest::newRow("equal byte, negative sum")
        << QByteArray("aA") << sjis("あ") << QByteArray("MqA=");

    // "\x05A" (05 41), password "あ": rotating right gives 82 A0 (0x41's low
    // bit to the top of byte 0, 0x05's low bit to the top of byte 1), which
    // is the key stream itself, so nothing is mixed. Base64 of 82 A0 =
    // 100000 101010 0000(00) = "gqA" and "=".
    QTest::newRow("every byte equal")
        << QByteArray::fromHex("0541") << sjis("あ") << QByteArray("gqA=");
}

void TestWireFormats::fixedVectors() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, scrambled);
    QCOMPARE(scramble(text, password), scrambled);
    QCOMPARE(unscramble(scrambled, password), text);
}

void TestWireFormats::oneByteText() {
    const QByteArray password = sjis(kInitialPassword);
    const QByteArray scrambled = scramble("A", password);
    QCOMPARE(scrambled.size(), 4);
    QVERIFY(scrambled.endsWith("=="));
    QCOMPARE(unscramble(scrambled, password), QByteArray("A"));
}

void TestWireFormats::roundTrip_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("password");

    QRandomGenerator rng(20240611);
    const QList<QByteArray> passwords{sjis(kInitialPassword), QByteArray("ab"), QByteArray("x"),
                                      randomBytes(rng, 254)};
    const int lengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 31, 254, 255, 256, 511, 764, 765};
    for (const int n : lengths) {
        for (int p = 0; p < passwords.size(); ++p) {
            QTest::addRow("bytes %d, password %d", n, p) << randomBytes(rng, n) << passwords[p];
            QTest::addRow("Shift-JIS %d, password %d", n, p)
                << randomShiftJis(rng, n) << passwords[p];
        }
    }
    for (int i = 0; i < 20; ++i) {
        const int n = rng.bounded(1, 766);
        QTest::addRow("random length %d", n) << randomShiftJis(rng, n) << passwords[0];
    }
}

void TestWireFormats::roundTrip() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, password);

    const QByteArray scrambled = scramble(text, password);
    QCOMPARE(scrambled.size(), (text.size() + 2) / 3 * 4);
    QVERIFY(isBase64Text(scrambled));
    // Up to 765 bytes fit in a datagram the receivers accept (below 1024).
    QVERIFY(scrambled.size() <= 1020);
    // No zero byte inside the encoded bytes: the receiver would stop there.
    QVERIFY(!QByteArray::fromBase64(scrambled).contains('\0'));

    QCOMPARE(unscramble(scrambled, password), text);

    // A password made of one byte the right one lacks differs at every key
    // position, so every byte comes out wrong.
    char other = 'Q';
    while (password.contains(other))
        ++other;
    QVERIFY(unscramble(scrambled, QByteArray(password.size(), other)) != text);
    // One changed byte: once the text is as long as the password, every
    // password byte has been used, so the result differs too.
    if (text.size() >= password.size()) {
        QByteArray nearly = password;
        nearly[0] = nearly[0] == 'z' ? 'y' : 'z';
        QVERIFY(unscramble(scrambled, nearly) != text);
    }
}

void TestWireFormats::equalBytesSentUnchanged_data() {
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("length");

    QTest::newRow("あ, 2 bytes") << sjis("あ") << 2;
    QTest::newRow("ab, 5 bytes") << QByteArray("ab") << 5;
    QTest::newRow("initial password, 100 bytes") << sjis(kInitialPassword) << 100;
}

// A text whose rotated form is exactly the key stream: every byte equals its key
// byte, so the whole text goes out as the key stream itself (with a plain XOR it
// would be all zero bytes and arrive as an empty text).
void TestWireFormats::equalBytesSentUnchanged() {
    QFETCH(QByteArray, password);
    QFETCH(int, length);

    const int s = linkKeyOffset(password);
    QByteArray keyStream;
    for (int i = 0; i < length; ++i)
        keyStream += password[(s + i) % password.size()];
    const QByteArray wire = keyStream.toBase64();

    // Decoding leaves each byte alone at the mixing step; what comes out is the
    // text whose rotated form is the key stream. Had the bytes been zeroed, the
    // text would be all zero bytes (none of these key bytes is 0x00 or 0x80, so
    // the rotation alone cannot make one).
    const QByteArray text = unscramble(wire, password);
    QCOMPARE(text.size(), length);
    QVERIFY(!text.contains('\0'));
    QCOMPARE(scramble(text, password), wire);
}

void TestWireFormats::decodeStopsAtFirstZero_data() {
    QTest::addColumn<QByteArray>("scrambled");
    QTest::addColumn<QByteArray>("text");

    // 2Q== is "A" under "key" (see fixedVectors).
    QTest::newRow("padded") << QByteArray("2Q==") << QByteArray("A");
    QTest::newRow("zero bits instead of padding") << QByteArray("2QAA") << QByteArray("A");
    QTest::newRow("padding in the middle") << QByteArray("2Q=A") << QByteArray("A");
    QTest::newRow("groups after the end") << QByteArray("2Q==2Q==") << QByteArray("A");
    QTest::newRow("all zero") << QByteArray("AAAA") << QByteArray();
    QTest::newRow("all padding") << QByteArray("====") << QByteArray();
}

void TestWireFormats::decodeStopsAtFirstZero() {
    QFETCH(QByteArray, scrambled);
    QFETCH(QByteArray, text);
    QCOMPARE(unscramble(scrambled, "key"), text);
}

void TestWireFormats::notScrambledForm_data() {
    QTest::addColumn<QByteArray>("received");

    QTest::newRow("1 character") << QByteArray("2");
    QTest::newRow("3 characters") << QByteArray("2Q=");
    QTest::newRow("5 characters") << QByteArray("2Q==2");
    QTest::newRow("minus") << QByteArray("2Q-=");
    QTest::newRow("underscore") << QByteArray("2Q_=");
    QTest::newRow("space") << QByteArray("2Q =");
    QTest::newRow("line break") << QByteArray("2Q=\n");
    QTest::newRow("NUL") << QByteArray("2Q\0=", 4);
    QTest::newRow("0x80") << QByteArray("2Q\x80=");
    QTest::newRow("Japanese, 4 bytes") << sjis("字幕");
    QTest::newRow("plain sentence") << QByteArray("Hello, world");
}

void TestWireFormats::notScrambledForm() {
    QFETCH(QByteArray, received);
    QCOMPARE(unscramble(received, "key"), QByteArray());
}

void TestWireFormats::longTextCut_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("kept");

    QTest::newRow("2046") << 2046 << 2046;
    QTest::newRow("2047") << 2047 << 2047;
    QTest::newRow("2048") << 2048 << 2047;
    QTest::newRow("5000") << 5000 << 2047;
}

void TestWireFormats::longTextCut() {
    QFETCH(int, length);
    QFETCH(int, kept);
    QRandomGenerator rng(length);
    const QByteArray text = randomBytes(rng, length);
    const QByteArray password = sjis(kInitialPassword);

    const QByteArray scrambled = scramble(text, password);
    QCOMPARE(scrambled.size(), (kept + 2) / 3 * 4);
    QCOMPARE(unscramble(scrambled, password), text.first(kept));
}

void TestWireFormats::emptyPassword() {
    QCOMPARE(scrambleBytes({}, "key", 329), QByteArray());
    QCOMPARE(unscrambleBytes({}, "key", 329), QByteArray());

    // Without a password only the interleaving and the rotation remain:
    // 0x41 rotated is 0xA0, Base64 "oA==".
    QCOMPARE(scrambleBytes("A", {}, 0), QByteArray("oA=="));
    QCOMPARE(scrambleBytes("A", {}, 12345), QByteArray("oA=="));
    QCOMPARE(unscrambleBytes("oA==", {}, 0), QByteArray("A"));

    const QByteArray text = sjis(QStringLiteral("字幕を送ります"));
    QCOMPARE(unscrambleBytes(scrambleBytes(text, {}, 0), {}, 0), text);
}

QTEST_APPLESS_MAIN(TestWireFormats)
#include "tst_wire_formats.moc"
