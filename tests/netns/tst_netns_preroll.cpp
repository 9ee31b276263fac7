// A pre-roll goes out line by line on a real network: two stations in their
// own namespaces find each other at start; station 2 becomes the display
// station ("For Display"); on station 1 the operator opens the pre-roll
// template window from the "Auxiliary" page with the keyboard, puts the
// prepared lines (one a comment) at the top of the pane, and sends them with
// F1. The display station shows each line as a caption, the comment never.

#include "netns_rig.h"
#include "x_stations.h"

#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

} // namespace

class TestNetnsPreroll : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void prerollLinesAppearOnTheDisplayStation();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsPreroll::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error =
            x_->startInTurn(2, {"caption", "preroll", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));

    // Station 2 becomes the display station.
    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsPreroll::prerollLinesAppearOnTheDisplayStation() {
    const qsizetype mark2 = log(2).size();
    // Ctrl+Tab turns to "Auxiliary", where Tab goes on to "Pre-roll Template".
    x_->focusInputPart(1);
    x_->keys(1, {"ctrl+Tab"});
    CHECK(x_->tabTo(1, "ButtonPreroll", 30),
          "no way to \"Pre-roll Template\":\n" + linesWith(log(1), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QString preroll = x_->otherWindow(1, kArrivalMs);
    CHECK(!preroll.isEmpty(),
          "no pre-roll window came up; " + x_->keepScreenshot(1, QStringLiteral("auxiliary")));
    CHECK(x_->windowName(preroll).contains(QStringLiteral("(ctrl+n)"), Qt::CaseInsensitive),
          "the window that came up is \"" + x_->windowName(preroll) + '"');

    // The pane has the keyboard: the operator types the prepared lines at its
    // top, goes back to the first line and sends with F1.
    x_->xdotool({"key", "ctrl+Home"});
    for (const char* line :
         {"good morning everyone", "<- cue: the chair speaks", "the meeting begins now"}) {
        x_->xdotool({"type", "--delay", "15", line});
        x_->xdotool({"key", "Return"});
    }
    x_->xdotool({"key", "ctrl+Home"});
    for (int i = 0; i < 3; ++i) {
        x_->xdotool({"key", "F1"});
        QTest::qWait(200);
    }
    const QByteArray last = "\"the meeting begins now\"";
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains(last),
                 "the display station showed no pre-roll line:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption") + "station 1:\n" +
                     linesWith(log(1), "preroll") + "; " +
                     x_->keepScreenshot(1, QStringLiteral("preroll")));
    const QByteArray captions = linesWith(log(2).mid(mark2), "caption from");
    CHECK(captions.contains("caption from \"192.168.77.11\" \"good morning everyone\""),
          "captions on station 2:\n" + captions);
    CHECK(!captions.contains("cue"), "the comment line was sent:\n" + captions);
    CHECK(captions.indexOf("good morning") < captions.indexOf("meeting begins"),
          "out of order:\n" + captions);
}

void TestNetnsPreroll::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsPreroll)
#include "tst_netns_preroll.moc"
