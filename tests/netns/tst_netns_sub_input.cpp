// A sentence typed in the sub input window reaches a display station on a
// real network: two stations in their own namespaces find each other; station
// 2 becomes the display station; on station 1 the typist opens the sub input
// window from the "Auxiliary" page with the keyboard, clears pane 1 with Esc,
// types a sentence and presses Enter. The display station shows it.

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

class TestNetnsSubInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void paneSentenceAppearsOnTheDisplayStation();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsSubInput::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error = x_->startInTurn(2, {"caption", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));
    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsSubInput::paneSentenceAppearsOnTheDisplayStation() {
    const qsizetype mark2 = log(2).size();
    // Ctrl+Tab turns to "Auxiliary", where Tab goes on to "Sub Input W".
    x_->focusInputPart(1);
    x_->keys(1, {"ctrl+Tab"});
    CHECK(x_->tabTo(1, "Button10", 40),
          "no way to \"Sub Input W\":\n" + linesWith(log(1), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QString sub = x_->otherWindow(1, kArrivalMs);
    CHECK(!sub.isEmpty(),
          "no sub input window came up; " + x_->keepScreenshot(1, QStringLiteral("auxiliary")));
    CHECK(x_->windowName(sub).contains(QStringLiteral("(ctrl+i)"), Qt::CaseInsensitive),
          "the window that came up is \"" + x_->windowName(sub) + '"');

    // Pane 1 has the keyboard and its hint: Esc clears it for the sentence.
    x_->xdotool({"key", "Escape"});
    x_->xdotool({"type", "--delay", "15", "typed in the sub input window"});
    x_->xdotool({"key", "Return"});
    CHECK_WITHIN(kArrivalMs,
                 linesWith(log(2).mid(mark2), "caption from")
                     .contains("caption from \"192.168.77.11\" \"typed in the sub input window\""),
                 "the display station showed no pane sentence:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption") + "station 1:\n" +
                     linesWith(log(1), "quorel.caption").right(2000) + "; " +
                     x_->keepScreenshot(1, QStringLiteral("sub-input")));
}

void TestNetnsSubInput::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsSubInput)
#include "tst_netns_sub_input.moc"
