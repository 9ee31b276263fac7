// The line times under every kind of record change, and "Save transcript" on
// the "Save" page: the three files side by side, the proposed name, a failed
// save that leaves no file of the set, and a cancelled dialog.

#include "app/main_console.h"
#include "app/station.h"
#include "caption/screen_part.h"
#include "logs/line_times.h"
#include "logs/transcripts.h"
#include "station_fixture.h"
#include "wire/display_record.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

using namespace quorel;
using quorel::test::FakeClock;
using quorel::test::StationFixture;

namespace {

// A record whose changes reach a LineTimes, with the test's clock.
struct Timed {
    FakeClock clock;
    DisplayRecord record;
    LineTimes times{record, clock};
    qint64 start = clock.now().toMSecsSinceEpoch();
    Timed() {
        record.setListener([this](const DisplayRecord::Change& c) { times.onChange(c); });
    }
    // The times as offsets from the start.
    std::vector<qint64> offsets() const {
        std::vector<qint64> out;
        for (qint64 t : times.times())
            out.push_back(t - start);
        return out;
    }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTranscripts : public QObject {
    Q_OBJECT
private slots:
    void tailChangesStampNewLinesAndKeepCorrectedOnes();
    void editsInTheMiddleAndWholeRecords();
    void timesStayInStepWithTheRecord();
    void saveTranscriptWritesThreeFiles();
    void failedOrCancelledSaveLeavesNoFile();
};

void TestTranscripts::tailChangesStampNewLinesAndKeepCorrectedOnes() {
    Timed t;
    QCOMPARE(t.times.size(), 20); // the fresh record, all at the start
    t.clock.advance(1000);
    t.record.addLine(QStringLiteral("a"));
    t.clock.advance(1000);
    t.record.setLastLine(QStringLiteral("a, corrected"));
    QCOMPARE(t.offsets().back(), 1000);
    // An empty line gets its time when its first text arrives, and keeps it.
    t.clock.advance(1000);
    t.record.addLine(QString());
    t.clock.advance(1000);
    t.record.setLastLine(QStringLiteral("\u25A0"));
    QCOMPARE(t.offsets().back(), 3000);
    t.clock.advance(1000);
    t.record.setLastLine(QStringLiteral("b"));
    QCOMPARE(t.offsets().back(), 5000);
    t.clock.advance(1000);
    t.record.setLastLine(QStringLiteral("b2"));
    QCOMPARE(t.offsets().back(), 5000);
    t.record.removeLastLine();
    QCOMPARE(t.times.size(), 21);
    QCOMPARE(t.offsets().back(), 1000);
    // A sentence of several lines arrives at once.
    t.clock.advance(1000);
    t.record.append(QStringLiteral("c\r\nd"), {});
    QCOMPARE(t.times.size(), t.record.lineCount());
    QCOMPARE(t.offsets()[std::size_t(t.record.lineCount() - 1)], 7000);
    QCOMPARE(t.offsets()[std::size_t(t.record.lineCount() - 2)], 7000);
}

void TestTranscripts::editsInTheMiddleAndWholeRecords() {
    Timed t;
    t.clock.advance(1000);
    t.record.reset({"a", "b", "c", "d"});
    QCOMPARE(t.offsets(), (std::vector<qint64>{1000, 1000, 1000, 1000}));
    t.clock.advance(1000);
    // A corrected line keeps its time; the line typed after it is new.
    t.record.replaceLines(1, 1, {"B", "b2"}, true);
    QCOMPARE(t.offsets(), (std::vector<qint64>{1000, 1000, 2000, 1000, 1000}));
    t.record.replaceLines(0, 2, {}, true);
    QCOMPARE(t.offsets(), (std::vector<qint64>{2000, 1000, 1000}));
    // The periodic clearing replaces the whole record: a fresh start.
    t.clock.advance(1000);
    t.record.reset({"継続保存", "", "c", "d"});
    QCOMPARE(t.offsets(), (std::vector<qint64>{3000, 3000, 3000, 3000}));
}

void TestTranscripts::timesStayInStepWithTheRecord() {
    // Every operation the station uses, in a random order: the times always
    // have one entry per line and never lie in the future.
    Timed t;
    QRandomGenerator rng(20261210);
    for (int i = 0; i < 2000; ++i) {
        t.clock.advance(rng.bounded(500));
        const int n = t.record.lineCount();
        switch (rng.bounded(9)) {
        case 0:
            t.record.append(QStringLiteral("s%1").arg(i),
                            {rng.bounded(2) == 0, rng.bounded(2) == 0});
            break;
        case 1:
            t.record.addLine(rng.bounded(3) == 0 ? QString() : QStringLiteral("l%1").arg(i));
            break;
        case 2:
            t.record.removeLastLine();
            break;
        case 3:
            t.record.setLastLine(QStringLiteral("x%1\r\ny").arg(i));
            break;
        case 4:
            if (n > 0)
                t.record.replaceLines(int(rng.bounded(n)), 1, {"e", ""}, rng.bounded(2) == 0);
            break;
        case 5:
            t.record.replaceTail(std::max(0, n - 3), "tail\r\nbytes");
            break;
        case 6:
            if (t.record.textLength() > 4)
                t.record.removeBytes(t.record.textLength() - 4, 4);
            break;
        case 7:
            if (rng.bounded(20) == 0)
                t.record.reset({"r", "", "q"});
            break;
        default:
            t.record.append(QString(), {});
        }
        QCOMPARE(t.times.size(), t.record.lineCount());
    }
    const qint64 now = t.clock.now().toMSecsSinceEpoch();
    for (qint64 v : t.times.times())
        QVERIFY(v >= t.start && v <= now);
}

void TestTranscripts::saveTranscriptWritesThreeFiles() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    QCOMPARE(m.ButtonTranscript->text(), QStringLiteral("Save transcript (txt, srt, vtt)"));
    f.clock.advance(2000);
    f.station->screen().appendSentence(QStringLiteral("Hello"), true);
    f.clock.advance(3000);
    f.station->screen().appendSentence(QStringLiteral("you & me"), false);
    QCOMPARE(f.station->lineTimes().size(), f.station->record().lineCount());

    // A name already taken by one file of a set is not proposed again.
    QFile taken(QDir(f.dir.path()).filePath("transcript_2026_12_10-9_00_05.vtt"));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    // Whichever of the three the user picks, the set goes next to it.
    const QString base = QDir(f.dir.path()).filePath("talk");
    f.choosers.nextFile = base + ".srt";
    m.ButtonTranscript->click();
    QCOMPARE(f.choosers.offered,
             (QStringList{f.station->state().programDirectory, "transcript_2026_12_10-9_00_05_2",
                          Transcripts::kFilter, "txt"}));
    QVERIFY(f.messages.shown.isEmpty());

    QCOMPARE(readAll(base + ".srt"), QByteArray("1\r\n00:00:00,000 --> 00:00:02,000\r\n") +
                                         QStringLiteral("テスト").toUtf8() +
                                         "\r\n\r\n"
                                         "2\r\n00:00:02,000 --> 00:00:05,000\r\nHello\r\n\r\n"
                                         "3\r\n00:00:05,000 --> 00:00:09,000\r\nyou & me\r\n\r\n");
    QCOMPARE(readAll(base + ".vtt"), QByteArray("WEBVTT\n\n00:00:00.000 --> 00:00:02.000\n") +
                                         QStringLiteral("テスト").toUtf8() +
                                         "\n\n"
                                         "00:00:02.000 --> 00:00:05.000\nHello\n\n"
                                         "00:00:05.000 --> 00:00:09.000\nyou &amp; me\n");
    const QByteArray txt = readAll(base + ".txt");
    QVERIFY(txt.startsWith("[00:00:00] " + QStringLiteral("テスト").toUtf8() + "\r\n\r\n"));
    QVERIFY(txt.endsWith("[00:00:02] Hello\r\n[00:00:05] you & me\r\n"));
}

void TestTranscripts::failedOrCancelledSaveLeavesNoFile() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    const QDir dir(f.dir.path());
    f.choosers.nextFile.reset();
    m.ButtonTranscript->click();
    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(dir.entryList(QDir::Files), QStringList());

    // The .srt of the set cannot be written: neither can the others.
    QVERIFY(dir.mkdir("bad.srt"));
    f.choosers.nextFile = dir.filePath("bad.txt");
    m.ButtonTranscript->click();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.shown[0].contains("bad.srt"));
    QVERIFY(f.messages.shown[0].contains("No file"));
    QCOMPARE(dir.entryList(QDir::Files), QStringList());

    f.choosers.nextFile = dir.filePath("missing/x.txt");
    m.ButtonTranscript->click();
    QCOMPARE(f.messages.shown.size(), 2);
    QVERIFY(f.messages.shown[1].contains("x.txt"));
}

QTEST_MAIN(TestTranscripts)
#include "tst_transcripts.moc"
