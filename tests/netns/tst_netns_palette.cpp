// A sentence goes through a corrector's palette on a real network: three
// stations in their own namespaces find each other at start; station 3
// becomes the display station. On station 1 the input person ticks "Send the
// input to Palette" with the keyboard, on station 2 the corrector opens the
// palette. The input person's sentence waits in the corrector's first pane and
// reaches the display station only when the corrector presses Enter there.

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

class TestNetnsPalette : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sentenceReachesTheDisplayOnlyOnceConfirmed();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsPalette::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(3);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error =
            x_->startInTurn(3, {"caption", "palette", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));
    if (const QString error = x_->makeDisplayStation(3, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsPalette::sentenceReachesTheDisplayOnlyOnceConfirmed() {
    // The input person: "Auxiliary", Tab to the box, Space ticks it, and back
    // to the screen page.
    x_->focusInputPart(1);
    x_->keys(1, {"ctrl+Tab"});
    CHECK(x_->tabTo(1, "CheckBox21", 60),
          "no way to \"Send the input to Palette\":\n" + linesWith(log(1), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    x_->keys(1, {"ctrl+shift+Tab"});

    // The corrector opens the palette, whose first pane takes the keyboard.
    x_->focusInputPart(2);
    x_->keys(2, {"ctrl+Tab"});
    CHECK(x_->tabTo(2, "Button23", 60), "no way to \"Display Confirm & Cprrect Palette\":\n" +
                                            linesWith(log(2), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QString palette = x_->otherWindow(2, kArrivalMs);
    CHECK(!palette.isEmpty(),
          "no palette came up; " + x_->keepScreenshot(2, QStringLiteral("auxiliary")));
    CHECK(x_->windowName(palette).contains(QStringLiteral("Pallete(ctrl+s)")),
          "the window that came up is \"" + x_->windowName(palette) + '"');

    const qsizetype mark2 = log(2).size();
    const qsizetype mark3 = log(3).size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "please confirm me");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains("palette input from"),
                 "the corrector's palette got nothing:\n" + linesWith(log(2).mid(mark2), "quorel") +
                     "station 1:\n" + linesWith(log(1), "palette") + "; " +
                     x_->keepScreenshot(1, QStringLiteral("input person")));
    QTest::qWait(1500);
    CHECK(!log(3).mid(mark3).contains("please confirm me"),
          "the sentence reached the display before it was confirmed:\n" +
              linesWith(log(3).mid(mark3), "caption from"));

    x_->focusWindow(palette);
    x_->xdotool({"key", "Return"});
    CHECK_WITHIN(kArrivalMs, log(3).mid(mark3).contains("\"please confirm me\""),
                 "the display station showed nothing:\n" +
                     linesWith(log(3).mid(mark3), "quorel.caption") + "station 2:\n" +
                     linesWith(log(2).mid(mark2), "palette") + "; " +
                     x_->keepScreenshot(2, QStringLiteral("palette")));
    const QByteArray captions = linesWith(log(3).mid(mark3), "caption from");
    CHECK(captions.contains("caption from \"192.168.77.12\" \"please confirm me\""),
          "captions on station 3:\n" + captions);
    CHECK(!captions.contains("192.168.77.11"), "the input person sent a caption:\n" + captions);
}

void TestNetnsPalette::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsPalette)
#include "tst_netns_palette.moc"
