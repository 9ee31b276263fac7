// The audience view on a real network: two stations in their own namespaces
// find each other at start; the display station's typist ticks "Audience
// view" on "Auxiliary" from the keyboard; the other station's typist sends a
// sentence; a reader's device on the first host fetches the page and the
// transcript from the display station over TCP, and Ctrl+Q puts the page's
// QR code on the display station's screen.

#include "netns_rig.h"
#include "x_stations.h"

#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;
constexpr int kPort = 8080;

} // namespace

class TestNetnsAudience : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void readerOnTheNetworkGetsTheCaptions();
    void qrKeyShowsTheAddressOnTheScreen();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    // A plain HTTP/1.0 GET from host `from`, as any browser on the LAN would.
    QByteArray get(int from, const QString& path);

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

QByteArray TestNetnsAudience::get(int from, const QString& path) {
    const QString script =
        QStringLiteral("exec 3<>/dev/tcp/%1/%2 && "
                       "printf 'GET %3 HTTP/1.0\\r\\nHost: x\\r\\n\\r\\n' >&3 && "
                       "cat <&3")
            .arg(NetnsRig::hostAddress(2).toString())
            .arg(kPort)
            .arg(path);
    return rig_->execInHost(from, {QStringLiteral("bash"), QStringLiteral("-c"), script}).out;
}

void TestNetnsAudience::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (const QString error = x_->startInTurn(2, {"caption", "window", "members"}, kArrivalMs);
        !error.isEmpty())
        QFAIL(qPrintable(error));

    // Station 2 serves its captions: "Auxiliary", Tab to the box, Space.
    const qsizetype mark = log(2).size();
    x_->focusInputPart(2);
    x_->keys(2, {"ctrl+Tab"});
    CHECK(x_->tabTo(2, "CheckBoxAudience", 120),
          "no way to \"Audience view\":\n" + linesWith(log(2), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QByteArray served = "audience view: http://" +
                              NetnsRig::hostAddress(2).toString().toLatin1() + ":" +
                              QByteArray::number(kPort) + "/";
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark).contains(served),
                 "the view is not served at its address:\n" +
                     linesWith(log(2).mid(mark), "audience"));
    x_->keys(2, {"ctrl+shift+Tab"});

    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsAudience::readerOnTheNetworkGetsTheCaptions() {
    const qsizetype mark2 = log(2).size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "hello audience");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains("\"hello audience\""),
                 "the sentence did not reach the display station:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption"));

    const QByteArray page = get(1, QStringLiteral("/"));
    CHECK(page.startsWith("HTTP/1.1 200") && page.contains("<html"),
          "the page did not come: " + page.left(400));
    const QByteArray transcript = get(1, QStringLiteral("/transcript.txt"));
    CHECK(transcript.startsWith("HTTP/1.1 200") && transcript.contains("hello audience"),
          "the transcript lacks the sentence: " + transcript.right(400));
    // Read-only: a change over HTTP is refused, and the station goes on.
    const QString post = QStringLiteral("exec 3<>/dev/tcp/%1/%2 && printf 'POST / HTTP/1.0\\r\\n"
                                        "Content-Length: 0\\r\\n\\r\\n' >&3 && cat <&3")
                             .arg(NetnsRig::hostAddress(2).toString())
                             .arg(kPort);
    const QByteArray refused =
        rig_->execInHost(1, {QStringLiteral("bash"), QStringLiteral("-c"), post}).out;
    CHECK(refused.startsWith("HTTP/1.1 405"), "a POST was not refused: " + refused.left(200));
    QVERIFY(rig_->isRunning(2));
}

void TestNetnsAudience::qrKeyShowsTheAddressOnTheScreen() {
    const qsizetype mark = log(2).size();
    x_->focusInputPart(2);
    x_->keys(2, {"ctrl+q"});
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark).contains("audience QR shown: http://"),
                 "no QR code on the screen:\n" + linesWith(log(2).mid(mark), "audience"));
}

void TestNetnsAudience::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsAudience)
#include "tst_netns_audience.moc"
