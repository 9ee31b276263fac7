// A display station's smooth screen on a real X server, driven by a typist on
// another station: two display stations receive the same sentences, one
// drawing only what changes, the other every frame whole
// (QUOREL_WHOLE_FRAMES=1) as the screen did before. Once the glide is over,
// both windows must show the same pixels.

#include "netns_rig.h"
#include "x_stations.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

} // namespace

class TestNetnsDisplay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void bothDisplaysShowTheSamePicture();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    // Station i's window once two shots half a second apart agree: the glide
    // is over.
    QImage settled(int i);

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

QImage TestNetnsDisplay::settled(int i) {
    QImage last;
    QImage now;
    const bool rested = QTest::qWaitFor(
        [&] {
            last = now;
            QTest::qWait(500);
            now = QImage::fromData(x_->grab(i), "PPM");
            return !now.isNull() && now == last;
        },
        kArrivalMs);
    return rested ? now : QImage();
}

void TestNetnsDisplay::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(3);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (!x_->canGrab())
        QSKIP("ImageMagick's import is needed to look at the screens");
    QProcessEnvironment whole;
    whole.insert(QStringLiteral("QUOREL_WHOLE_FRAMES"), QStringLiteral("1"));
    if (const QString error =
            x_->startInTurn(3, {"caption", "window", "members"}, kArrivalMs, {{3, whole}});
        !error.isEmpty())
        QFAIL(qPrintable(error));
    CHECK(log(3).contains("smooth screen: every frame drawn whole"),
          "station 3 draws its frames the new way too");
    CHECK(!log(2).contains("every frame drawn whole"), "station 2 draws every frame whole");
    for (int i : {2, 3})
        if (const QString error = x_->makeDisplayStation(i, kArrivalMs); !error.isEmpty())
            QFAIL(qPrintable(error));
}

void TestNetnsDisplay::bothDisplaysShowTheSamePicture() {
    const qsizetype mark2 = log(2).size();
    const qsizetype mark3 = log(3).size();
    x_->focusInputPart(1);
    const QList<QByteArray> sentences = {"Good morning, everyone.", "The talk begins at ten.",
                                         "Captions are on the screen.", "Thank you."};
    for (const QByteArray& s : sentences)
        x_->typeSentence(1, s);
    const QByteArray last = '"' + sentences.constLast() + '"';
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains(last) && log(3).mid(mark3).contains(last),
                 "the sentences did not reach both display stations:\n" +
                     linesWith(log(2).mid(mark2), "quorel.caption"));

    const QImage changed = settled(2);
    const QImage whole = settled(3);
    QVERIFY2(!changed.isNull() && !whole.isNull(), "a display never came to rest");
    QCOMPARE(changed.size(), whole.size());
    if (changed != whole) {
        const QString a =
            QDir::current().absoluteFilePath(QStringLiteral("display-changed-rows.png"));
        const QString b = QDir::current().absoluteFilePath(QStringLiteral("display-whole.png"));
        changed.save(a);
        whole.save(b);
        QFAIL(qPrintable(QStringLiteral("the displays differ: %1 and %2").arg(a, b)));
    }
    // The shots show the sentences, not two blank screens alike.
    const QImage top = changed.copy(0, 0, changed.width(), changed.height() / 2);
    CHECK(top.convertToFormat(QImage::Format_Mono) != QImage(top.size(), QImage::Format_Mono),
          "the screens are blank");
}

void TestNetnsDisplay::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsDisplay)
#include "tst_netns_display.moc"
