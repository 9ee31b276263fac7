#include "text/cp932.h"
#include "text/sanitise.h"

#include <QTest>

namespace text = quorel::text;
using namespace Qt::StringLiterals;

namespace {

// Literals that may hold NULs.
template <std::size_t N> QByteArray bytes(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}
template <std::size_t N> QString str(const char16_t (&s)[N]) {
    return QString(reinterpret_cast<const QChar*>(s), N - 1);
}

const QByteArray kGeta = bytes("\x81\xAC");

} // namespace

class TstText : public QObject {
    Q_OBJECT

private slots:
    void encoding_data();
    void encoding();
    void decoding_data();
    void decoding();
    void wholeCodePage();
    void byteOffsetOfIndex_data();
    void byteOffsetOfIndex();
    void indexOfByteOffset_data();
    void indexOfByteOffset();
    void sanitiseBytes_data();
    void sanitiseBytes();
    void sanitise_data();
    void sanitise();
    void fitBytes_data();
    void fitBytes();
};

void TstText::encoding_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QString>("decoded"); // what a Windows station shows

    const auto roundTrip = [](const char* name, const QString& s, const QByteArray& b) {
        QTest::newRow(name) << s << b << s;
    };
    roundTrip("empty", QString(), QByteArray());
    // 0x5C and 0x7E are backslash and tilde on the wire, not yen and overline.
    roundTrip("ascii", u"Hi, 42 {x}~\\"_s, "Hi, 42 {x}~\\");
    roundTrip("nul kept", str(u"a\0b"), bytes("a\0b"));
    roundTrip("kana", u"あア"_s, "\x82\xA0\x83\x41");
    roundTrip("kanji", u"漢字"_s, "\x8A\xBF\x8E\x9A");
    roundTrip("half-width katakana", u"ｶﾀｶﾅ"_s, "\xB6\xC0\xB6\xC5");
    roundTrip("ideographic space", u"　"_s, "\x81\x40");
    roundTrip("NEC row 13", u"①Ⅲ"_s, "\x87\x40\x87\x56");
    roundTrip("fullwidth tilde", u"～"_s, "\x81\x60");
    // Characters with several codes take the one Windows writes: JIS X 0208
    // first, then NEC row 13, then IBM rather than the NEC-selected copies.
    roundTrip("IBM extensions", u"髙ⅰ﨑"_s, "\xFB\xFC\xFA\x40\xFA\xB1");
    roundTrip("JIS X 0208 before extensions", u"∵∪￢"_s, "\x81\xE6\x81\xBE\x81\xCA");
    roundTrip("user-defined area", QString(QChar(0xE000)), "\xF0\x40");
    roundTrip("geta itself", u"〓"_s, kGeta);

    QTest::newRow("wave dash") << u"〜"_s << QByteArray("\x81\x60") << u"～"_s;
    QTest::newRow("double vertical line") << u"‖"_s << QByteArray("\x81\x61") << u"∥"_s;
    QTest::newRow("minus sign") << u"−"_s << QByteArray("\x81\x7C") << u"－"_s;
    QTest::newRow("not sign") << u"¬"_s << QByteArray("\x81\xCA") << u"￢"_s;
    QTest::newRow("em dash") << u"—"_s << QByteArray("\x81\x5C") << u"―"_s;
    QTest::newRow("cent pound") << u"¢£"_s << QByteArray("\x81\x91\x81\x92") << u"￠￡"_s;
    QTest::newRow("yen overline") << u"¥‾"_s << QByteArray("\x5C\x7E") << u"\\~"_s;

    QTest::newRow("emoji is one geta") << u"a😀b"_s << "a" + kGeta + "b" << u"a〓b"_s;
    QTest::newRow("two emoji") << u"😀😀"_s << kGeta + kGeta << u"〓〓"_s;
    QTest::newRow("hangul") << u"한글"_s << kGeta + kGeta << u"〓〓"_s;
    QTest::newRow("lone high surrogate at end")
        << u"a"_s + QChar(0xD800) << "a" + kGeta << u"a〓"_s;
    QTest::newRow("swapped surrogates")
        << QString(QChar(0xDC00)) + QChar(0xD800) << kGeta + kGeta << u"〓〓"_s;
}

void TstText::encoding() {
    QFETCH(QString, input);
    QFETCH(QByteArray, encoded);
    QFETCH(QString, decoded);

    QCOMPARE(text::encode(input), encoded);
    QCOMPARE(text::byteLength(input), int(encoded.size()));
    QCOMPARE(text::decode(encoded), decoded);
}

void TstText::decoding_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("undefined single bytes") << bytes("\x80\xA0\xFD\xFE\xFF") << u"〓〓〓〓〓"_s;
    QTest::newRow("lead byte at the end") << bytes("ab\x82") << u"ab〓"_s;
    // A stray lead byte must not swallow the ASCII byte after it.
    QTest::newRow("lead then LF") << bytes("\x82\n") << u"〓\n"_s;
    QTest::newRow("lead then NUL") << bytes("\x82\0z") << str(u"〓\0z");
    QTest::newRow("undefined pair, ASCII trail") << bytes("\x85\x41") << u"〓A"_s;
    QTest::newRow("undefined pair, other trail") << bytes("\x85\x81x") << u"〓x"_s;
    QTest::newRow("lead then 0xFD") << bytes("\x81\xFD") << u"〓"_s;
    QTest::newRow("0x80 and 0xA0 as trail") << bytes("\x81\x80\x81\xA0") << u"÷□"_s;
    // Windows stations may send either copy of a duplicated character.
    QTest::newRow("duplicate codes") << bytes("\xFA\x5B\x87\x9A\xEE\xF9") << u"∵∵￢"_s;
}

void TstText::decoding() {
    QFETCH(QByteArray, input);
    QFETCH(QString, decoded);

    QCOMPARE(text::decode(input), decoded);
}

// Every character of the code page, both ways: catches a table that lost or
// shifted a row, and any disagreement between encode and the length functions.
void TstText::wholeCodePage() {
    for (char32_t cp = 0; cp <= 0xFFFF; ++cp) {
        const QChar c(static_cast<char16_t>(cp));
        const QByteArray b = text::encode(QStringView(&c, 1));
        QVERIFY(b.size() == 1 || b.size() == 2);
        QCOMPARE(text::byteLength(QStringView(&c, 1)), int(b.size()));
        QCOMPARE(text::byteLengthOf(cp), int(b.size()));
        QCOMPARE(text::encode(text::decode(b)), b);
    }

    // 7724 characters plus the 1880 codes of the user-defined area.
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const QString s = text::decode(QByteArrayView(pair, 2));
            if (!text::isLeadByte(lead)) {
                QCOMPARE(s.size(), 2);
                continue;
            }
            QVERIFY(s.size() == 1 || s.size() == 2);
            if (s == u"〓"_s && QByteArray(pair, 2) != kGeta) {
                continue;
            }
            if (s.size() == 1) {
                ++defined;
                QCOMPARE(text::decode(text::encode(s)), s);
                QCOMPARE(text::byteLength(s), 2);
            }
        }
    }
    QCOMPARE(defined, 7724 + 1880);
    QCOMPARE(text::byteLengthOf(U'😀'), 2);
}

void TstText::byteOffsetOfIndex_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("offset");

    // Bytes: a | あ あ | ｶ | 〓 〓 | b
    const QString s = u"aあｶ😀b"_s;
    QTest::newRow("start") << s << 0 << 0;
    QTest::newRow("after single byte") << s << 1 << 1;
    QTest::newRow("after double byte") << s << 2 << 3;
    QTest::newRow("surrogate pair") << s << 3 << 4;
    QTest::newRow("low half of pair") << s << 4 << 4;
    QTest::newRow("after pair") << s << 5 << 6;
    QTest::newRow("end") << s << 6 << 7;
    QTest::newRow("past end") << s << 99 << 7;
    QTest::newRow("negative") << s << -1 << 0;
    QTest::newRow("empty") << QString() << 3 << 0;
}

void TstText::byteOffsetOfIndex() {
    QFETCH(QString, input);
    QFETCH(int, index);
    QFETCH(int, offset);

    QCOMPARE(text::byteOffsetOfIndex(input, index), offset);
}

void TstText::indexOfByteOffset_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("index");

    const QString s = u"aあｶ😀b"_s;
    QTest::newRow("start") << s << 0 << 0;
    QTest::newRow("first byte of double") << s << 1 << 1;
    QTest::newRow("second byte of double") << s << 2 << 1;
    QTest::newRow("half-width") << s << 3 << 2;
    QTest::newRow("first byte of geta") << s << 4 << 3;
    QTest::newRow("second byte of geta") << s << 5 << 3;
    QTest::newRow("after pair") << s << 6 << 5;
    QTest::newRow("end") << s << 7 << 6;
    QTest::newRow("past end") << s << 100 << 6;
    QTest::newRow("negative") << s << -1 << 0;
    QTest::newRow("empty") << QString() << 5 << 0;
}

void TstText::indexOfByteOffset() {
    QFETCH(QString, input);
    QFETCH(int, offset);
    QFETCH(int, index);

    QCOMPARE(text::indexOfByteOffset(input, offset), index);
}

void TstText::sanitiseBytes_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    const auto row = [](const char* name, const QByteArray& in, const QByteArray& out) {
        QTest::newRow(name) << in << out;
    };
    row("printable ASCII and DEL", "a ~\x7F", "a ~\x7F");
    row("double-byte and half-width", "\x82\xA0\xB6\xFC\x40", "\x82\xA0\xB6\xFC\x40");
    row("tab", "a\tb", "a b");
    row("CR LF kept", "a\r\nb", "a\r\nb");
    row("controls", "\x01\x07\x1B\x1F", "@@@@");
    row("0xFD-0xFF", "\xFD\xFE\xFF", "@@@");
    row("0x80 and 0xA0 as trail", "\x81\x80\x9F\xA0", "\x81\x80\x9F\xA0");
    row("lone 0x80 and 0xA0", "a\x80\xA0", "a@@");
    row("0x80 after half-width", "\xB6\x80", "\xB6@");
    // The byte after a complete pair is a first byte again, even when the
    // pair's second byte is itself in the lead range.
    row("0x80 after a pair", "\x82\xA0\x80", "\x82\xA0@");
    row("0xA0 after lead-range trail", "\x81\x81\xA0", "\x81\x81@");
    row("lead then control", "\x81\x07", "\x81@");
    row("lead then tab", "\x81\t", "\x81 ");
    row("lead at the end", "a\x81", "a\x81");
    row("text after NUL dropped", bytes("ab\0c\x01"), "ab");
    row("NUL as second byte", bytes("\x81\0\x40"), "\x81");
    row("leading NUL", bytes("\0abc"), "");
}

void TstText::sanitiseBytes() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);

    QCOMPARE(text::sanitiseBytes(input), output);
}

void TstText::sanitise_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");

    QTest::newRow("tab") << u"あ\tい"_s << u"あ い"_s;
    QTest::newRow("control") << u"a\x07"
                                u"b"_s
                             << u"a@b"_s;
    QTest::newRow("NUL ends the text") << str(u"ab\0cd") << u"ab"_s;
    QTest::newRow("wave dash and emoji") << u"〜😀\r\n"_s << u"～〓\r\n"_s;
}

void TstText::sanitise() {
    QFETCH(QString, input);
    QFETCH(QString, output);

    QCOMPARE(text::sanitise(input), output);
}

QTEST_APPLESS_MAIN(TstText)
#include "tst_text.moc"

void TstText::fitBytes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("fitted");
    QTest::newRow("all fits") << u"ab漢"_s << 4 << u"ab漢"_s;
    QTest::newRow("never half a kanji") << u"ab漢"_s << 3 << u"ab"_s;
    QTest::newRow("no room") << u"a"_s << 0 << QString();
    QTest::newRow("line break is two") << u"a\nb"_s << 3 << u"a\n"_s;
    QTest::newRow("line break does not fit") << u"a\nb"_s << 2 << u"a"_s;
    QTest::newRow("CR LF is one break") << u"a\r\nb"_s << 4 << u"a\nb"_s;
    QTest::newRow("paragraph separator") << u"a\u2029b"_s << 3 << u"a\u2029"_s;
    QTest::newRow("never half a surrogate pair")
        << u"a"_s + QString::fromUcs4(U"\U0001F600") << 2 << u"a"_s;
}

void TstText::fitBytes() {
    QFETCH(QString, input);
    QFETCH(int, room);
    QFETCH(QString, fitted);
    QCOMPARE(text::fitBytes(input, room), fitted);
    QVERIFY(text::editorBytes(fitted) <= std::max(room, 0));
    // A selection's line breaks count as the text's do.
    QCOMPARE(text::editorBytes(u"a\u2029b"_s), text::editorBytes(u"a\nb"_s));
    QCOMPARE(text::editorBytes(u"a\nb"_s), 4);
}
