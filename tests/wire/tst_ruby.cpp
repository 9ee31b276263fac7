#include "text/cp932.h"
#include "wire/display_record.h"
#include "wire/ruby.h"

#include <QTest>

#include <optional>

using quorel::DisplayRecord;
using quorel::RubyMessage;
using namespace Qt::StringLiterals;

namespace {

QByteArray sjis(const QString& s) {
    return quorel::text::encode(s);
}

QStringList linesOf(const DisplayRecord& r) {
    QStringList out;
    for (int i = 0; i < r.lineCount(); ++i)
        out << r.line(i);
    return out;
}

// Recent lines as a station holds them: the fresh record's first lines stay in
// front, so the record's start is far from the lines searched.
void load(DisplayRecord& r, const QStringList& recent) {
    r.reset(QStringList{u"テスト"_s, QString(), QString()} + recent);
}

} // namespace

class TstRuby : public QObject {
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
    void recordStart_data();
    void recordStart();
    void oneChangeAndUndoForgotten();
    void nothingFoundChangesNothing();
    void unterminatedLastLine();
    void parse_data();
    void parse();
};

void TstRuby::apply_data() {
    QTest::addColumn<QStringList>("lines"); // the last lines of the record
    QTest::addColumn<int>("screenLines");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("reading");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("every occurrence in the last N lines")
        << QStringList{u"古い漢字"_s, u"今日の漢字"_s, u"漢字です"_s} << 2 << u"漢字"_s
        << u"かんじ"_s
        << QStringList{u"古い漢字"_s, u"今日の`rかんじ`s漢字"_s, u"`rかんじ`s漢字です"_s};
    QTest::newRow("twice on one line") << QStringList{u"漢字と漢字"_s} << 1 << u"漢字"_s
                                       << u"ｶﾝｼﾞ"_s << QStringList{u"`rｶﾝｼﾞ`s漢字と`rｶﾝｼﾞ`s漢字"_s};
    QTest::newRow("word right after the word")
        << QStringList{u"字字"_s} << 1 << u"字"_s << u"じ"_s << QStringList{u"`rじ`s字`rじ`s字"_s};
    QTest::newRow("another reading replaces the first")
        << QStringList{u"`rかんじ`s漢字と`rかんじ`s漢字"_s} << 1 << u"漢字"_s << u"カンジ"_s
        << QStringList{u"`rカンジ`s漢字と`rカンジ`s漢字"_s};
    QTest::newRow("empty reading replaced") << QStringList{u"`r`s漢字"_s} << 1 << u"漢字"_s
                                            << u"かんじ"_s << QStringList{u"`rかんじ`s漢字"_s};
    QTest::newRow("inside a reading left alone")
        << QStringList{u"`rかんじ`s感じ かんじ"_s} << 1 << u"かんじ"_s << u"カンジ"_s
        << QStringList{u"`rかんじ`s感じ `rカンジ`sかんじ"_s};
    QTest::newRow("after a back quote left alone")
        << QStringList{u"a`b b"_s} << 1 << u"b"_s << u"び"_s << QStringList{u"a`b `rび`sb"_s};
    // Byte by byte, "A" is the second byte of ア (83 41), and the byte before
    // "B" in "ＡB" (82 60 42) looks like a back quote.
    QTest::newRow("not inside a double-byte character")
        << QStringList{u"アA"_s} << 1 << u"A"_s << u"えー"_s << QStringList{u"ア`rえー`sA"_s};
    QTest::newRow("after a double-byte character ending in 0x60")
        << QStringList{u"ＡB"_s} << 1 << u"B"_s << u"びー"_s << QStringList{u"Ａ`rびー`sB"_s};
    QTest::newRow("second byte 0x60 is no reading's close")
        << QStringList{u"漢字Ａs"_s} << 1 << u"漢字"_s << u"かんじ"_s
        << QStringList{u"`rかんじ`s漢字Ａs"_s};
    QTest::newRow("a close on the next line does not count")
        << QStringList{u"漢字"_s, u"`s"_s} << 2 << u"漢字"_s << u"かんじ"_s
        << QStringList{u"`rかんじ`s漢字"_s, u"`s"_s};
    QTest::newRow("an open mark on an earlier line is not removed")
        << QStringList{u"`rよみ"_s, u"`s漢字"_s} << 2 << u"漢字"_s << u"かんじ"_s
        << QStringList{u"`rよみ"_s, u"`s`rかんじ`s漢字"_s};
    QTest::newRow("case-sensitive") << QStringList{u"abc ABC"_s} << 1 << u"ABC"_s << u"えー"_s
                                    << QStringList{u"abc `rえー`sABC"_s};
    QTest::newRow("only outside the last N lines")
        << QStringList{u"漢字"_s, u"かな"_s} << 1 << u"漢字"_s << u"かんじ"_s
        << QStringList{u"漢字"_s, u"かな"_s};
    QTest::newRow("empty base") << QStringList{u"漢字"_s} << 1 << QString() << u"かんじ"_s
                                << QStringList{u"漢字"_s};
    QTest::newRow("base with a line break") << QStringList{u"漢"_s, u"字"_s} << 2 << u"漢\r\n字"_s
                                            << u"かんじ"_s << QStringList{u"漢"_s, u"字"_s};
    QTest::newRow("reading with a line break")
        << QStringList{u"漢字"_s} << 1 << u"漢字"_s << u"かん\nじ"_s << QStringList{u"漢字"_s};
    QTest::newRow("control characters in the reading")
        << QStringList{u"漢字"_s} << 1 << u"漢字"_s << u"か\x01ん"_s
        << QStringList{u"`rか@ん`s漢字"_s};
}

void TstRuby::apply() {
    QFETCH(QStringList, lines);
    QFETCH(int, screenLines);
    QFETCH(QString, base);
    QFETCH(QString, reading);
    QFETCH(QStringList, expected);

    DisplayRecord r;
    load(r, lines);
    const QStringList before = linesOf(r);
    const bool changed = quorel::applyRuby(r, sjis(base), sjis(reading), screenLines);
    QCOMPARE(linesOf(r).mid(3), expected);
    QCOMPARE(linesOf(r).first(3), before.first(3));
    QCOMPARE(changed, linesOf(r) != before);
    QCOMPARE(r.textLength(), qint64(quorel::text::byteLength(r.textForm())));
}

// The search never places a reading at byte offset 0 or 1 of the record, and
// stops there.
void TstRuby::recordStart_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("at offset 0") << u"漢字と漢字"_s << u"漢字と漢字"_s;
    QTest::newRow("at offset 1") << u"x漢字"_s << u"x漢字"_s;
    QTest::newRow("at offset 2") << u"xy漢字"_s << u"xy`rかんじ`s漢字"_s;
    QTest::newRow("after a double-byte character") << u"「漢字"_s << u"「`rかんじ`s漢字"_s;
}

void TstRuby::recordStart() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    DisplayRecord r;
    r.reset({line});
    quorel::applyRuby(r, sjis(u"漢字"_s), sjis(u"かんじ"_s), 20);
    QCOMPARE(r.line(0), expected);
}

void TstRuby::oneChangeAndUndoForgotten() {
    DisplayRecord r;
    load(r, {u"漢字です"_s, u"その漢字"_s, u"最後"_s});
    r.append(u"送った文"_s, {});
    QVERIFY(r.growth().front() != 0); // undo could take the sentence back

    QList<DisplayRecord::Change> changes;
    r.setListener([&](const DisplayRecord::Change& c) { changes << c; });
    QVERIFY(quorel::applyRuby(r, sjis(u"漢字"_s), sjis(u"かんじ"_s), 4));

    // One change, from the first line that changed to the end, so the screens
    // repaint once.
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0].first, 3);
    QCOMPARE(changes[0].removed, 4);
    QCOMPARE(changes[0].added, 4);
    QCOMPARE(changes[0].byteDelta, 2 * qint64(sjis(u"`rかんじ`s"_s).size()));

    // Undo (F9) would otherwise cut the last bytes of the record, which are no
    // longer the sentence it sent.
    for (qint64 g : r.growth())
        QCOMPARE(g, 0);
    QCOMPARE(r.lastLength(), r.textLength());
    for (const QString& s : r.recent())
        QVERIFY(s.isEmpty());
    QCOMPARE(r.line(r.lineCount() - 1), u"送った文"_s);
}

void TstRuby::nothingFoundChangesNothing() {
    DisplayRecord r;
    load(r, {u"かな"_s});
    r.append(u"送った文"_s, {});
    const auto growth = r.growth();
    int changes = 0;
    r.setListener([&](const DisplayRecord::Change&) { ++changes; });
    QVERIFY(!quorel::applyRuby(r, sjis(u"漢字"_s), sjis(u"かんじ"_s), 20));
    QCOMPARE(changes, 0);
    QCOMPARE(r.growth(), growth);
    QCOMPARE(r.recent().front(), u"送った文"_s);
}

void TstRuby::unterminatedLastLine() {
    DisplayRecord r;
    r.reset({u"あ"_s, u"漢字"_s});
    r.replaceLines(1, 1, {u"漢字"_s}, false);
    QVERIFY(!r.lastLineTerminated());
    QVERIFY(quorel::applyRuby(r, sjis(u"漢字"_s), sjis(u"かんじ"_s), 2));
    QCOMPARE(linesOf(r), (QStringList{u"あ"_s, u"`rかんじ`s漢字"_s}));
    QVERIFY(!r.lastLineTerminated());
    QCOMPARE(r.textLength(), qint64(quorel::text::byteLength(r.textForm())));
}

void TstRuby::parse_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<QByteArray>("reading");

    const QByteArray kanji = sjis(u"漢字"_s);
    const QByteArray kana = sjis(u"かんじ"_s);
    QTest::newRow("base and reading") << kanji + "," + kana << true << kanji << kana;
    QTest::newRow("third field ignored") << kanji + "," + kana + ",x" << true << kanji << kana;
    QTest::newRow("empty reading") << kanji + "," << true << kanji << QByteArray();
    QTest::newRow("ends at a NUL")
        << kanji + "," + kana + QByteArray("\0x", 2) << true << kanji << kana;
    QTest::newRow("no comma") << kanji << false << QByteArray() << QByteArray();
    QTest::newRow("comma after a NUL")
        << kanji + QByteArray("\0,x", 3) << false << QByteArray() << QByteArray();
    QTest::newRow("empty base") << "," + kana << false << QByteArray() << QByteArray();
    QTest::newRow("only a comma") << QByteArray(",") << false << QByteArray() << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray() << QByteArray();

    // 1022 single bytes and a double-byte character: the cut keeps it whole
    // by leaving it out.
    const QByteArray longBase = QByteArray(1022, 'a') + sjis(u"字"_s);
    QTest::newRow("fields cut on a character boundary")
        << longBase + "," + QByteArray(1100, 'b') << true << QByteArray(1022, 'a')
        << QByteArray(1023, 'b');
}

void TstRuby::parse() {
    QFETCH(QByteArray, datagram);
    QFETCH(bool, valid);
    QFETCH(QByteArray, base);
    QFETCH(QByteArray, reading);

    const std::optional<RubyMessage> m = quorel::parseRubyMessage(datagram);
    QCOMPARE(m.has_value(), valid);
    if (m) {
        QCOMPARE(m->base, base);
        QCOMPARE(m->reading, reading);
    }
}

QTEST_APPLESS_MAIN(TstRuby)
#include "tst_ruby.moc"
