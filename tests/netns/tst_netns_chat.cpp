// Two typists pass a note on a real network: the stations find each other at
// start; on station 1 the typist opens the chat window from the "Auxiliary"
// page with the keyboard, types a note and presses Enter; the note lands in
// station 2's chat log.

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

class TestNetnsChat : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void noteTypedOnOneStationReachesTheOther();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsChat::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error = x_->startInTurn(2, {"chat", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));
    // Each takes the other into its member list at the end of its start.
    QTest::qWait(1500);
}

void TestNetnsChat::noteTypedOnOneStationReachesTheOther() {
    const qsizetype mark2 = log(2).size();
    // Ctrl+Tab turns to "Auxiliary", where Tab goes on to "Display Chat Window".
    x_->focusInputPart(1);
    x_->keys(1, {"ctrl+Tab"});
    CHECK(x_->tabTo(1, "Button86", 30),
          "no way to \"Display Chat Window\":\n" + linesWith(log(1), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QString chat = x_->otherWindow(1, kArrivalMs);
    CHECK(!chat.isEmpty(),
          "no chat window came up; " + x_->keepScreenshot(1, QStringLiteral("auxiliary")));
    CHECK(x_->windowName(chat).contains(QStringLiteral("(ctrl+r)")),
          "the window that came up is \"" + x_->windowName(chat) + '"');

    // The window took the keyboard into its input box: the typist just types.
    x_->xdotool({"type", "--delay", "15", "please take over"});
    x_->xdotool({"key", "Return"});
    CHECK_WITHIN(kArrivalMs,
                 log(2).mid(mark2).contains("note from \"192.168.77.11\" \"please take over\""),
                 "station 2 logged no note:\n" + linesWith(log(2).mid(mark2), "quorel.chat") +
                     "station 1:\n" + linesWith(log(1), "quorel.chat") + "; " +
                     x_->keepScreenshot(1, QStringLiteral("chat")));
    CHECK(linesWith(log(1), "note sent").contains("\"please take over\""),
          "station 1 sent:\n" + linesWith(log(1), "quorel.chat"));
    // Back on the screen page for whatever comes next.
    x_->keys(1, {"ctrl+shift+Tab"});
}

void TestNetnsChat::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsChat)
#include "tst_netns_chat.moc"
