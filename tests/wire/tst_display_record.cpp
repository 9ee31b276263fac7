#include "text/cp932.h"
#include "wire/display_record.h"

#include <QRandomGenerator>
#include <QTest>

using quorel::DisplayRecord;
using Options = DisplayRecord::AppendOptions;
using Deltas = QList<qint64>;

namespace {

QStringList linesOf(const DisplayRecord& r) {
    QStringList out;
    for (int i = 0; i < r.lineCount(); ++i)
        out << r.line(i);
    return out;
}

// A record holding exactly `lines`; with terminated false its text form ends
// without the final line break, as the word-processor screen can leave it.
void load(DisplayRecord& r, const QStringList& lines, bool terminated = true) {
    r.reset(lines);
    if (!terminated)
        r.replaceLines(r.lineCount() - 1, 1, {lines.last()}, false);
}

QString run(char c, int n) {
    return QString(n, QLatin1Char(c));
}

// The text length must always be the byte length of the text form.
void verifyLength(const DisplayRecord& r) {
    QCOMPARE(r.textLength(), qint64(quorel::text::byteLength(r.textForm())));
}

} // namespace

class TestDisplayRecord : public QObject {
    Q_OBJECT

private slots:
    void freshRecord();
    void appendSequence_data();
    void appendSequence();
    void appendChanges_data();
    void appendChanges();
    void recentSentences();
    void growthHistory();
    void columnSplit_data();
    void columnSplit();
    void replaceLines_data();
    void replaceLines();
    void randomOperations_data();
    void randomOperations();
    void severalListeners();
};

void TestDisplayRecord::freshRecord() {
    DisplayRecord r;
    QCOMPARE(r.lineCount(), 20);
    QCOMPARE(r.line(0), QStringLiteral("テスト"));
    QCOMPARE(r.line(19), QString());
    QCOMPARE(r.textLength(), 46); // 6 + 2, then 19 line breaks
    QCOMPARE(r.textForm(), QStringLiteral("テスト") + QStringLiteral("\r\n").repeated(20));
    QCOMPARE(r.lastLength(), r.textLength());
}

void TestDisplayRecord::appendSequence_data() {
    QTest::addColumn<bool>("cb8");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<QStringList>("expected");

    const QStringList abEmpty{"A", "B", ""};
    QTest::newRow("markers+cb8, from a marker line")
        << true << true << QStringList{"x", "■"} << abEmpty << QStringList{"x", "AB", "■"};
    QTest::newRow("markers, from a marker line")
        << false << true << QStringList{"x", "■"} << abEmpty << QStringList{"x", "A", "B", "", "■"};
    QTest::newRow("cb8, empty starts a line")
        << true << false << QStringList{"x"} << QStringList{"A", "B", "", "C"}
        << QStringList{"xAB", "C"};
    QTest::newRow("plain") << false << false << QStringList{"x"} << QStringList{"A", "", "B"}
                           << QStringList{"x", "A", "", "B"};
    QTest::newRow("markers+cb8, continue marker")
        << true << true << QStringList{"x◆"} << QStringList{"A"} << QStringList{"xA◆"};
    QTest::newRow("markers+cb8, no marker yet")
        << true << true << QStringList{"x"} << QStringList{"A"} << QStringList{"xA◆"};
    QTest::newRow("markers, ■ only removed as a line")
        << false << true << QStringList{"x■"} << QStringList{"A"} << QStringList{"x■", "A", "■"};

    QTest::newRow("plain, CR LF inside") << false << false << QStringList{"x"}
                                         << QStringList{"A\r\nB"} << QStringList{"x", "A", "B"};
    QTest::newRow("plain, lone CR and LF")
        << false << false << QStringList{"x"} << QStringList{"A\rB\nC\n\rD"}
        << QStringList{"x", "A", "B", "C", "", "D"};
    QTest::newRow("plain, trailing break")
        << false << false << QStringList{"x"} << QStringList{"A\r\n"} << QStringList{"x", "A", ""};
    QTest::newRow("cb8, CR LF inside") << true << false << QStringList{"x"}
                                       << QStringList{"A\r\nB", "C"} << QStringList{"xA", "BC"};
    QTest::newRow("markers+cb8, CR LF inside")
        << true << true << QStringList{"x"} << QStringList{"A\r\nB", "C"}
        << QStringList{"xA", "BC◆"};
    QTest::newRow("markers, LF inside") << false << true << QStringList{"x"} << QStringList{"A\nB"}
                                        << QStringList{"x", "A", "B", "■"};

    QTest::newRow("cb8, empty record")
        << true << false << QStringList{} << QStringList{"A"} << QStringList{"A"};
    QTest::newRow("markers+cb8, empty record")
        << true << true << QStringList{} << QStringList{"A"} << QStringList{"A◆"};
    QTest::newRow("markers, empty record")
        << false << true << QStringList{} << QStringList{""} << QStringList{"", "■"};
}

void TestDisplayRecord::appendSequence() {
    QFETCH(bool, cb8);
    QFETCH(bool, markers);
    QFETCH(QStringList, start);
    QFETCH(QStringList, sentences);
    QFETCH(QStringList, expected);

    DisplayRecord r;
    load(r, start);
    for (const QString& s : sentences)
        r.append(s, Options{cb8, markers});
    QCOMPARE(linesOf(r), expected);
    QVERIFY(r.lastLineTerminated());
    verifyLength(r);
}

void TestDisplayRecord::appendChanges_data() {
    QTest::addColumn<bool>("cb8");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<bool>("startTerminated");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<Deltas>("deltas"); // oldest first
    QTest::addColumn<QStringList>("tail");
    QTest::addColumn<bool>("terminated");

    const QStringList x{"x"};
    const QString s = QStringLiteral("あいう"); // 6 bytes
    QTest::newRow("plain") << false << false << x << true << s << Deltas{8} << QStringList{"x", s}
                           << true;
    QTest::newRow("plain, line feed")
        << false << false << x << true << "" << Deltas{2} << QStringList{"x", ""} << true;
    QTest::newRow("plain, CR LF counts 2") << false << false << x << true << "A\r\nB" << Deltas{6}
                                           << QStringList{"x", "A", "B"} << true;
    QTest::newRow("plain, lone LF becomes CR LF")
        << false << false << x << true << "A\nB" << Deltas{6} << QStringList{"x", "A", "B"} << true;
    QTest::newRow("cb8") << true << false << x << true << s << Deltas{6} << QStringList{"x" + s}
                         << true;
    QTest::newRow("cb8, line feed")
        << true << false << x << true << "" << Deltas{2} << QStringList{"x", ""} << true;
    QTest::newRow("markers+cb8") << true << true << QStringList{"x◆"} << true << s << Deltas{-2, 8}
                                 << QStringList{"x" + s + "◆"} << true;
    QTest::newRow("markers+cb8, line feed") << true << true << QStringList{"x◆"} << true << ""
                                            << Deltas{-2, 4} << QStringList{"x", "■"} << true;
    QTest::newRow("markers+cb8, after ■") << true << true << QStringList{"x", "■"} << true << s
                                          << Deltas{-2, 8} << QStringList{"x", s + "◆"} << true;
    QTest::newRow("markers") << false << true << QStringList{"x", "■"} << true << s
                             << Deltas{-4, 8, 4} << QStringList{"x", s, "■"} << true;
    QTest::newRow("markers, no ■ line")
        << false << true << x << true << s << Deltas{8, 4} << QStringList{"x", s, "■"} << true;

    // An edit can leave the last line without its break.
    const QStringList y{"x", "y"};
    QTest::newRow("unterminated, markers+cb8")
        << true << true << y << false << "A" << Deltas{2, 3} << QStringList{"x", "yA◆"} << true;
    QTest::newRow("unterminated, markers") << false << true << y << false << "A" << Deltas{2, 3, 4}
                                           << QStringList{"x", "y", "A", "■"} << true;
    QTest::newRow("unterminated, plain")
        << false << false << y << false << "A" << Deltas{5} << QStringList{"x", "y", "A"} << true;
    QTest::newRow("unterminated, cb8")
        << true << false << y << false << "A" << Deltas{1} << QStringList{"x", "yA"} << false;
}

void TestDisplayRecord::appendChanges() {
    QFETCH(bool, cb8);
    QFETCH(bool, markers);
    QFETCH(QStringList, start);
    QFETCH(bool, startTerminated);
    QFETCH(QString, sentence);
    QFETCH(Deltas, deltas);
    QFETCH(QStringList, tail);
    QFETCH(bool, terminated);

    DisplayRecord r;
    load(r, start, startTerminated);
    const auto before = r.growth();
    const qint64 lengthBefore = r.textLength();
    Deltas seen;
    r.setListener([&](const DisplayRecord::Change& c) { seen << c.byteDelta; });

    r.append(sentence, Options{cb8, markers});

    QCOMPARE(seen, deltas);
    QCOMPARE(linesOf(r).mid(r.lineCount() - tail.size()), tail);
    QCOMPARE(r.lastLineTerminated(), terminated);
    verifyLength(r);
    qint64 sum = 0;
    const auto k = deltas.size();
    for (qsizetype i = 0; i < k; ++i) {
        QCOMPARE(r.growth()[std::size_t(i)], deltas[k - 1 - i]); // newest first
        sum += deltas[i];
    }
    QCOMPARE(r.growth()[std::size_t(k)], before[0]);
    QCOMPARE(r.textLength(), lengthBefore + sum);
    QCOMPARE(r.lastLength(), r.textLength());
}

void TestDisplayRecord::recentSentences() {
    DisplayRecord r;
    for (const char* s : {"s1", "s2", "", "s4", "s5", "s6", "s7"})
        r.append(QString::fromLatin1(s), Options{});
    QCOMPARE(QStringList(r.recent().begin(), r.recent().end()),
             (QStringList{"s7", "s6", "s5", "s4", ""}));

    r.dropNewestRecent();
    QCOMPARE(QStringList(r.recent().begin(), r.recent().end()),
             (QStringList{"s6", "s5", "s4", "", ""}));

    // Each piece of a column split is an append of its own, so undo takes back
    // the last piece.
    r.appendColumnSplit(run('a', 20) + run('b', 20) + run('c', 5), 20, Options{});
    QCOMPARE(QStringList(r.recent().begin(), r.recent().end()),
             (QStringList{run('c', 5), run('b', 20), run('a', 20), "s6", "s5"}));
}

void TestDisplayRecord::growthHistory() {
    DisplayRecord r;
    for (int n = 1; n <= DisplayRecord::kGrowthCount + 1; ++n)
        r.addLine(run('a', n));
    for (int i = 0; i < DisplayRecord::kGrowthCount; ++i) // newest first, oldest dropped
        QCOMPARE(r.growth()[std::size_t(i)], qint64(DisplayRecord::kGrowthCount + 1 - i + 2));

    // Changes while suspended are reported but leave the history and the
    // remembered length alone.
    const auto history = r.growth();
    const qint64 last = r.lastLength();
    int reported = 0;
    r.setListener([&](const DisplayRecord::Change&) { ++reported; });
    r.setGrowthSuspended(true);
    r.removeLastLine();
    r.setLastLine(QStringLiteral("b"));
    QCOMPARE(reported, 2);
    QCOMPARE(r.growth(), history);
    QCOMPARE(r.lastLength(), last);

    // The next append ends the suspension; its entry is measured from the
    // remembered length, so it also holds what changed meanwhile.
    r.append(QStringLiteral("xyz"), Options{});
    QVERIFY(!r.growthSuspended());
    QCOMPARE(r.growth()[0], r.textLength() - last);
    QVERIFY(r.growth()[0] < 0);
    QCOMPARE(r.growth()[1], history[0]);

    // A clearing is one change with the whole difference.
    const qint64 before = r.textLength();
    r.reset({QStringLiteral("継続保存")});
    QCOMPARE(r.growth()[0], 10 - before);
    QCOMPARE(r.lastLength(), 10);
}

void TestDisplayRecord::columnSplit_data() {
    QTest::addColumn<bool>("cb8");
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QStringList>("expected");

    const QStringList x{"x"};
    const QString ruby = QStringLiteral("`rよみ`s");
    QTest::newRow("fits") << false << x << "abc" << QStringList{"x", "abc"};
    QTest::newRow("exactly two pieces") << false << x << run('a', 20) + run('b', 20)
                                        << QStringList{"x", run('a', 20), run('b', 20)};
    QTest::newRow("three pieces") << false << x << run('a', 20) + run('b', 20) + run('c', 5)
                                  << QStringList{"x", run('a', 20), run('b', 20), run('c', 5)};
    QTest::newRow("double-byte across the cut")
        << false << x << run('a', 19) + "あい" + run('b', 3)
        << QStringList{"x", run('a', 19), "あい" + run('b', 3)};
    QTest::newRow("double-byte ends the piece")
        << false << x << run('a', 18) + "あ" + run('b', 2)
        << QStringList{"x", run('a', 18) + "あ", run('b', 2)};
    QTest::newRow("ruby reading not counted")
        << false << x << run('a', 10) + ruby + "漢字" + run('b', 8)
        << QStringList{"x", run('a', 10) + ruby + "漢字" + run('b', 6), run('b', 2)};
    QTest::newRow("ruby stays with its base")
        << false << x << run('a', 20) + ruby + "漢" << QStringList{"x", run('a', 20), ruby + "漢"};
    QTest::newRow("back quote and its byte not counted")
        << false << x << run('a', 10) + "`c" + run('b', 12)
        << QStringList{"x", run('a', 10) + "`c" + run('b', 10), run('b', 2)};
    QTest::newRow("line feed") << false << x << "" << QStringList{"x", ""};
    QTest::newRow("break inside") << false << x << run('a', 5) + "\r\n" + run('b', 25)
                                  << QStringList{"x", run('a', 5), run('b', 20), run('b', 5)};

    QTest::newRow("cb8, fits on the last line") << true << QStringList{run('a', 5)} << run('b', 10)
                                                << QStringList{run('a', 5) + run('b', 10)};
    QTest::newRow("cb8, fills the last line")
        << true << QStringList{run('a', 15)} << run('b', 30)
        << QStringList{run('a', 15) + run('b', 5), run('b', 20), run('b', 5)};
    QTest::newRow("cb8, last line already full")
        << true << QStringList{run('a', 20)} << "bc" << QStringList{run('a', 20), "bc"};
    QTest::newRow("cb8, fill stops before a double-byte char")
        << true << QStringList{run('a', 19)} << "あいう" << QStringList{run('a', 19), "あいう"};
    QTest::newRow("cb8, exact multiple")
        << true << QStringList{""} << run('a', 40) << QStringList{run('a', 20), run('a', 20)};
    QTest::newRow("cb8, ruby on the last line not counted")
        << true << QStringList{ruby + run('a', 16)} << "bcde"
        << QStringList{ruby + run('a', 16) + "bcde"};
    QTest::newRow("cb8, break inside")
        << true << x << "ab\r\n\r\ncd" << QStringList{"xab", "", "cd"};
    QTest::newRow("cb8, line feed") << true << x << "" << QStringList{"x", ""};
}

void TestDisplayRecord::columnSplit() {
    QFETCH(bool, cb8);
    QFETCH(QStringList, start);
    QFETCH(QString, sentence);
    QFETCH(QStringList, expected);

    DisplayRecord r;
    load(r, start);
    r.appendColumnSplit(sentence, 20, Options{cb8, false});
    QCOMPARE(linesOf(r), expected);
    verifyLength(r);
}

void TestDisplayRecord::replaceLines_data() {
    QTest::addColumn<QStringList>("start");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("terminated");
    QTest::addColumn<QString>("textForm");
    QTest::addColumn<int>("lineCount");

    const QStringList abc{"a", "b", "c"};
    QTest::newRow("edit a middle line")
        << abc << 1 << 1 << QStringList{"B"} << true << "a\r\nB\r\nc\r\n"
        << 3;
    QTest::newRow("insert") << abc << 1 << 0 << QStringList{"n"} << true << "a\r\nn\r\nb\r\nc\r\n"
                            << 4;
    QTest::newRow("last break deleted")
        << abc << 2 << 1 << QStringList{"c"} << false << "a\r\nb\r\nc" << 3;
    QTest::newRow("editor's empty last block")
        << abc << 2 << 1 << QStringList{"c", ""} << false << "a\r\nb\r\nc\r\n"
        << 3;
    QTest::newRow("break typed inside a line")
        << abc << 0 << 1 << QStringList{"x\r\ny"} << true << "x\r\ny\r\nb\r\nc\r\n"
        << 4;
    QTest::newRow("remove down to an empty line")
        << QStringList{"a", "", "c"} << 2 << 1 << QStringList{} << false << "a\r\n"
        << 1;
    QTest::newRow("edit above an empty last line")
        << QStringList{"a", "b", ""} << 0 << 1 << QStringList{"A"} << false << "A\r\nb\r\n"
        << 2;
    QTest::newRow("everything removed") << abc << 0 << 3 << QStringList{} << false << "" << 0;
    QTest::newRow("range clamped") << abc << 2 << 9 << QStringList{"z"} << true << "a\r\nb\r\nz\r\n"
                                   << 3;
}

void TestDisplayRecord::replaceLines() {
    QFETCH(QStringList, start);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QStringList, lines);
    QFETCH(bool, terminated);
    QFETCH(QString, textForm);
    QFETCH(int, lineCount);

    DisplayRecord r;
    load(r, start);
    r.replaceLines(first, count, lines, terminated);
    QCOMPARE(r.textForm(), textForm);
    QCOMPARE(r.lineCount(), lineCount);
    QCOMPARE(r.lastLineTerminated(), textForm.isEmpty() || textForm.endsWith(u'\n'));
    verifyLength(r);
}

void TestDisplayRecord::randomOperations_data() {
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 4u})
        QTest::newRow(qPrintable(QString::number(seed))) << seed;
}

// Any sequence of operations keeps the byte length, the reported changes, the
// growth history and the lines consistent with the text form.
void TestDisplayRecord::randomOperations() {
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    const QStringList pieces{"a",    "bc", "あ", "漢字", "◆",  "■",
                             "\r\n", "\r", "\n", "`r",   "`s", "`"};
    const auto text = [&] {
        QString s;
        for (int n = rng.bounded(6); n > 0; --n)
            s += pieces[rng.bounded(int(pieces.size()))];
        return s;
    };
    const auto options = [&] { return Options{rng.bounded(2) == 1, rng.bounded(2) == 1}; };

    DisplayRecord r;
    QStringList mirror = linesOf(r); // rebuilt from the reported changes only
    bool consistent = true;
    r.setListener([&](const DisplayRecord::Change& c) {
        mirror.remove(c.first, c.removed);
        for (int i = 0; i < c.added; ++i)
            mirror.insert(c.first + i, r.line(c.first + i));
        consistent = consistent && r.growth()[0] == c.byteDelta && r.lastLength() == r.textLength();
    });

    for (int step = 0; step < 500; ++step) {
        const int n = r.lineCount();
        switch (rng.bounded(8)) {
        case 0:
        case 1:
            r.append(text(), options());
            break;
        case 2:
            r.appendColumnSplit(text() + text() + text(), 2 + rng.bounded(10), options());
            break;
        case 3:
            r.addLine(text());
            break;
        case 4:
            r.removeLastLine();
            break;
        case 5:
            r.setLastLine(text());
            break;
        case 6: {
            const int first = rng.bounded(n + 1);
            QStringList lines;
            for (int k = rng.bounded(4); k > 0; --k)
                lines << text();
            r.replaceLines(first, rng.bounded(n - first + 1), lines, rng.bounded(2) == 1);
            break;
        }
        default:
            if (rng.bounded(10) == 0)
                r.reset({text(), text()});
            break;
        }

        QVERIFY2(consistent, qPrintable(QStringLiteral("step %1").arg(step)));
        verifyLength(r);
        QCOMPARE(mirror, linesOf(r));
        const QString form = r.textForm();
        QStringList parsed = form.split(QStringLiteral("\r\n"));
        if (r.lastLineTerminated())
            parsed.removeLast();
        QCOMPARE(parsed, linesOf(r));
        for (const QString& l : parsed)
            QVERIFY(!l.contains(u'\r') && !l.contains(u'\n'));
        if (!r.lastLineTerminated())
            QVERIFY(!r.line(r.lineCount() - 1).isEmpty());
    }
}

// The screen's listener and the added ones all hear every change, in order;
// a removed one hears no more.
void TestDisplayRecord::severalListeners() {
    DisplayRecord r;
    QStringList heard;
    r.setListener(
        [&](const DisplayRecord::Change& c) { heard << QStringLiteral("screen %1").arg(c.first); });
    const int a = r.addListener(
        [&](const DisplayRecord::Change& c) { heard << QStringLiteral("a %1").arg(c.first); });
    r.addListener(
        [&](const DisplayRecord::Change& c) { heard << QStringLiteral("b %1").arg(c.first); });
    r.addLine(QStringLiteral("x"));
    const QString at = QString::number(r.lineCount() - 1);
    QCOMPARE(heard, (QStringList{"screen " + at, "a " + at, "b " + at}));
    heard.clear();
    r.removeListener(a);
    r.removeLastLine();
    QCOMPARE(heard, (QStringList{"screen " + at, "b " + at}));
}

QTEST_APPLESS_MAIN(TestDisplayRecord)
#include "tst_display_record.moc"
