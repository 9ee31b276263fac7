// A typist corrects a line that is already on the display station's screen, on
// a real network: two stations in their own namespaces find each other at
// start; station 2 becomes the display station ("For Display"); the typist of
// station 1 sends a sentence with a typing error, opens the word-processor
// screen with the mouse ("ワ", then "止"), fixes the line with the keyboard
// and presses "Snd". The display station shows the corrected block at the
// bottom of its screen.

#include "netns_rig.h"
#include "x_stations.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

} // namespace

class TestNetnsCorrections : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typistCorrectsALineOnTheDisplayStation();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    // Clicks screen button `index` (0 "RE", 1 "ワ", 2 "Snd") of station i, at
    // the place its last layout logged.
    QString clickScreenButton(int i, int index);

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

QString TestNetnsCorrections::clickScreenButton(int i, int index) {
    static const QRegularExpression at(
        QStringLiteral("screen buttons at (\\d+) (\\d+) each (\\d+) (\\d+)"));
    QRegularExpressionMatch last;
    for (auto it = at.globalMatch(QString::fromUtf8(log(i))); it.hasNext();)
        last = it.next();
    if (!last.hasMatch())
        return QStringLiteral("station %1 never logged its screen buttons").arg(i);
    const int width = last.captured(3).toInt();
    const int x = last.captured(1).toInt() + index * width + width / 2;
    const int y = last.captured(2).toInt() + last.captured(4).toInt() / 2;
    // Without a window manager the pointer hits whichever window is on top.
    x_->xdotool({"windowraise", x_->window(i)});
    x_->xdotool({"mousemove", QString::number(x), QString::number(y), "click", "1"});
    return {};
}

void TestNetnsCorrections::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error = x_->startInTurn(2, {"caption", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));

    // Station 2 becomes the display station.
    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsCorrections::typistCorrectsALineOnTheDisplayStation() {
    const qsizetype mark2 = log(2).size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "teh cat sat");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains("\"teh cat sat\""),
                 "the sentence did not reach the display station:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption") + linesWith(log(1), "NMUDP1"));

    // "ワ" opens the word-processor screen, "止" stops it for the correction
    // and gives it the keyboard.
    if (const QString error = clickScreenButton(1, 1); !error.isEmpty())
        QFAIL(qPrintable(error));
    QTest::qWait(300);
    if (const QString error = clickScreenButton(1, 1); !error.isEmpty())
        QFAIL(qPrintable(error));
    QTest::qWait(300);
    // The record ends with a line break: the last line of text is one up from
    // the end. Select it and type it again.
    x_->keys(1, {"ctrl+End", "Up", "Home", "shift+End"});
    x_->type(1, "the cat sat");
    QTest::qWait(300);
    const qsizetype mark1 = log(1).size();
    if (const QString error = clickScreenButton(1, 2); !error.isEmpty())
        QFAIL(qPrintable(error));

    // Six lines (the display lines) and the end line; the display station
    // appends them and shows the corrected one last.
    const QByteArray shown = "corrected block shown: QList(";
    const bool arrived =
        QTest::qWaitFor([&] { return log(2).mid(mark2).contains(shown); }, kArrivalMs);
    const QString shot = arrived ? QString() : x_->keepScreenshot(1, QStringLiteral("snd"));
    CHECK(arrived, "the display station showed no corrected block; " + shot + "\nstation 1:\n" +
                       linesWith(log(1).mid(mark1), "NMUDP3") + linesWith(log(1), "screen") +
                       "station 2:\n" + linesWith(log(2).mid(mark2), "NMUDP3"));
    const QByteArray block = linesWith(log(2).mid(mark2), shown);
    CHECK(block.trimmed().endsWith("\"the cat sat\")"), "the block shown: " + block);
    CHECK(block.count("\", \"") == 5, "not six lines: " + block);
    CHECK(log(1).mid(mark1).count("\"NMUDP3\" send ") == 7,
          "station 1 sent:\n" + linesWith(log(1).mid(mark1), "NMUDP3"));
}

void TestNetnsCorrections::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsCorrections)
#include "tst_netns_corrections.moc"
