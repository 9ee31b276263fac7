// A reading reaches a line already on a display station, on a real network:
// two stations in their own namespaces find each other at start; the display
// station takes ruby messages ("表示・送受信する。" on "Auxiliary", ticked from
// the keyboard) and becomes the display station; the typist of station 1 sends
// a sentence; a ruby message for one of its words arrives from another host.
// The display station puts the reading before that word.

#include "netns_rig.h"
#include "x_stations.h"

#include <QStringEncoder>
#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;
constexpr quint16 kRubyPort = 6736;

} // namespace

class TestNetnsRuby : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rubyMessageAddsAReadingOnTheDisplayStation();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsRuby::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error = x_->startInTurn(2, {"caption", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));

    // Station 2 takes ruby messages: "Auxiliary", Tab to the box, Space ticks
    // it, and the note on the sub input window's options is closed.
    x_->focusInputPart(2);
    x_->keys(2, {"ctrl+Tab"});
    CHECK(x_->tabTo(2, "CheckBox46", 80),
          "no way to \"表示・送受信する。\":\n" + linesWith(log(2), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    if (const QString error = x_->closeMessageBox(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
    x_->keys(2, {"ctrl+shift+Tab"});

    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsRuby::rubyMessageAddsAReadingOnTheDisplayStation() {
    const qsizetype mark2 = log(2).size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "the cat sat");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains("\"the cat sat\""),
                 "the sentence did not reach the display station:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption"));

    QStringEncoder sjis("Shift_JIS");
    const QByteArray message = sjis.encode(QStringLiteral("cat,ねこ"));
    const QByteArray applied = "ruby applied:";
    const bool arrived = QTest::qWaitFor(
        [&] {
            if (log(2).mid(mark2).contains(applied))
                return true;
            rig_->sendFromProbe(message, NetnsRig::hostAddress(2), kRubyPort);
            QTest::qWait(500);
            return log(2).mid(mark2).contains(applied);
        },
        kArrivalMs);
    CHECK(arrived, "the display station applied no ruby:\n" +
                       linesWith(log(2).mid(mark2), "quorel").right(3000));
    const QByteArray line = linesWith(log(2).mid(mark2), applied);
    CHECK(line.contains("\"the `rねこ`scat sat\""), "the lines after the ruby: " + line);
    // The message came more than once while waiting: the reading is
    // replaced, never doubled.
    CHECK(!line.contains("`rねこ`s`r"), "the reading was doubled: " + line);
}

void TestNetnsRuby::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsRuby)
#include "tst_netns_ruby.moc"
