// The transcript formats against the rules of SubRip and WebVTT: numbering
// from 1, the time forms (hours past 9 and past 99), cues that last until the
// next line and never overlap, lines that arrive together sharing a cue, empty
// lines that end a cue without making one, escaping, ruby and markers.

#include "logs/transcript.h"

#include <QTest>

using namespace quorel;

namespace {

using Times = std::vector<qint64>;

} // namespace

Q_DECLARE_METATYPE(Times)

class TestTranscript : public QObject {
    Q_OBJECT
private slots:
    void cueTimes_data();
    void cueTimes();
    void subtitles_data();
    void subtitles();
    void plainTextStampsEveryLine();
    void cuesNeverOverlapAndLastAtLeastTheMinimum();
};

void TestTranscript::cueTimes_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("srt");
    QTest::addColumn<QString>("vtt");
    QTest::newRow("zero") << qint64(0) << "00:00:00,000"
                          << "00:00:00.000";
    QTest::newRow("milliseconds keep three digits") << qint64(7) << "00:00:00,007"
                                                    << "00:00:00.007";
    QTest::newRow("last millisecond of a minute") << qint64(59999) << "00:00:59,999"
                                                  << "00:00:59.999";
    QTest::newRow("last millisecond of an hour") << qint64(3599999) << "00:59:59,999"
                                                 << "00:59:59.999";
    QTest::newRow("ten hours") << qint64(36000000 + 123) << "10:00:00,123"
                               << "10:00:00.123";
    QTest::newRow("a hundred hours") << qint64(360000000) << "100:00:00,000"
                                     << "100:00:00.000";
    QTest::newRow("negative is zero") << qint64(-5) << "00:00:00,000"
                                      << "00:00:00.000";
}

void TestTranscript::cueTimes() {
    QFETCH(qint64, ms);
    QFETCH(QString, srt);
    QFETCH(QString, vtt);
    QCOMPARE(transcript::cueTime(ms, QLatin1Char(',')), srt);
    QCOMPARE(transcript::cueTime(ms, QLatin1Char('.')), vtt);
}

void TestTranscript::subtitles_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<Times>("times");
    QTest::addColumn<QByteArray>("srt");
    QTest::addColumn<QByteArray>("vtt");

    QTest::newRow("no lines") << QStringList{} << Times{} << QByteArray() << QByteArray("WEBVTT\n");
    QTest::newRow("only empty lines") << QStringList{"", " ", ""} << Times{0, 5000, 9000}
                                      << QByteArray() << QByteArray("WEBVTT\n");
    QTest::newRow("a single line lasts the default") << QStringList{"Hello"} << Times{1765357200000}
                                                     << QByteArray("1\r\n"
                                                                   "00:00:00,000 --> "
                                                                   "00:00:04,000\r\n"
                                                                   "Hello\r\n\r\n")
                                                     << QByteArray("WEBVTT\n\n"
                                                                   "00:00:00.000 --> 00:00:04.000\n"
                                                                   "Hello\n");
    QTest::newRow("numbered from 1, each until the next, relative to the first")
        << QStringList{"a", "b", "c"} << Times{10000, 12500, 17000}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:02,500\r\na\r\n\r\n"
                      "2\r\n00:00:02,500 --> 00:00:07,000\r\nb\r\n\r\n"
                      "3\r\n00:00:07,000 --> 00:00:11,000\r\nc\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 00:00:02.500\na\n\n"
                      "00:00:02.500 --> 00:00:07.000\nb\n\n"
                      "00:00:07.000 --> 00:00:11.000\nc\n");
    QTest::newRow("an empty line ends a cue and makes none")
        << QStringList{"a", "", "b"} << Times{0, 3000, 5000}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:03,000\r\na\r\n\r\n"
                      "2\r\n00:00:05,000 --> 00:00:09,000\r\nb\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 00:00:03.000\na\n\n"
                      "00:00:05.000 --> 00:00:09.000\nb\n");
    QTest::newRow("lines that arrive together share a cue")
        << QStringList{"a", "", "b", "c"} << Times{0, 0, 400, 2000}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:02,000\r\na\r\nb\r\n\r\n"
                      "2\r\n00:00:02,000 --> 00:00:06,000\r\nc\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 00:00:02.000\na\nb\n\n"
                      "00:00:02.000 --> 00:00:06.000\nc\n");
    QTest::newRow("an empty line right after keeps the minimum")
        << QStringList{"a", "", "b"} << Times{0, 200, 1500}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:01,500\r\na\r\n\r\n"
                      "2\r\n00:00:01,500 --> 00:00:05,500\r\nb\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 00:00:01.500\na\n\n"
                      "00:00:01.500 --> 00:00:05.500\nb\n");
    QTest::newRow("a line stamped earlier comes with the line before")
        << QStringList{"a", "b", "c"} << Times{0, 5000, 3000}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:05,000\r\na\r\n\r\n"
                      "2\r\n00:00:05,000 --> 00:00:09,000\r\nb\r\nc\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 00:00:05.000\na\n\n"
                      "00:00:05.000 --> 00:00:09.000\nb\nc\n");
    QTest::newRow("hours past nine")
        << QStringList{"a", "b"} << Times{0, 36000123}
        << QByteArray("1\r\n00:00:00,000 --> 10:00:00,123\r\na\r\n\r\n"
                      "2\r\n10:00:00,123 --> 10:00:04,123\r\nb\r\n\r\n")
        << QByteArray("WEBVTT\n\n"
                      "00:00:00.000 --> 10:00:00.123\na\n\n"
                      "10:00:00.123 --> 10:00:04.123\nb\n");
    QTest::newRow("markup and arrows are text")
        << QStringList{"a & b <i>x</i> --> y ---->"} << Times{0}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:04,000\r\n"
                      "a & b <i>x</i> -> y ->\r\n\r\n")
        << QByteArray("WEBVTT\n\n00:00:00.000 --> 00:00:04.000\n"
                      "a &amp; b &lt;i&gt;x&lt;/i&gt; --&gt; y ----&gt;\n");
    QTest::newRow("ruby readings and markers left out, UTF-8 kept")
        << QStringList{QStringLiteral("`rカンジ`s漢字と`rかな`s仮名◆"), QStringLiteral("■"),
                       QStringLiteral("`rよみ だけ")}
        << Times{0, 0, 0}
        << QByteArray("1\r\n00:00:00,000 --> 00:00:04,000\r\n") +
               QStringLiteral("漢字と仮名\r\n`rよみ だけ\r\n\r\n").toUtf8()
        << QByteArray("WEBVTT\n\n00:00:00.000 --> 00:00:04.000\n") +
               QStringLiteral("漢字と仮名\n`rよみ だけ\n").toUtf8();
}

void TestTranscript::subtitles() {
    QFETCH(QStringList, lines);
    QFETCH(Times, times);
    QFETCH(QByteArray, srt);
    QFETCH(QByteArray, vtt);
    QCOMPARE(transcript::subRip(lines, times), srt);
    QCOMPARE(transcript::webVtt(lines, times), vtt);
}

void TestTranscript::plainTextStampsEveryLine() {
    // Seconds are cut, not rounded: a line never shows a time before it came.
    QCOMPARE(transcript::plainText({"a", "", QStringLiteral("`rび`s美 &<b>"), "c"},
                                   {1000, 2000, 60999, 36001000}),
             QStringLiteral("[00:00:00] a\r\n\r\n[00:00:59] 美 &<b>\r\n[10:00:00] c\r\n").toUtf8());
    QCOMPARE(transcript::plainText({}, {}), QByteArray());
}

void TestTranscript::cuesNeverOverlapAndLastAtLeastTheMinimum() {
    // Irregular arrivals, empty lines among them, times going back now and
    // then.
    QStringList lines;
    Times times;
    qint64 t = 0;
    for (int i = 0; i < 500; ++i) {
        lines << (i % 7 == 3 ? QString() : QStringLiteral("line %1").arg(i));
        t += (i * 7919) % 2300 - 150;
        times.push_back(t);
    }
    const auto cues = transcript::cues(lines, times);
    QVERIFY(cues.size() > 100);
    for (std::size_t i = 0; i < cues.size(); ++i) {
        QVERIFY(cues[i].endMs - cues[i].startMs >= transcript::kMinCueMs);
        QVERIFY(!cues[i].text.isEmpty());
        if (i > 0)
            QVERIFY(cues[i].startMs >= cues[i - 1].endMs);
    }
}

QTEST_GUILESS_MAIN(TestTranscript)
#include "tst_transcript.moc"
