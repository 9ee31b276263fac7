// A station under a flood on a real network: a million datagrams of junk
// spread over every port of the plan, sent from another host as fast as the
// test can write them. Throughout, the station must keep answering member
// searches, and its memory must stay within bounds. Seeded, so a failure can be
// replayed (QUOREL_FLOOD_SEED; QUOREL_FLOOD_COUNT changes the number).

#include "netns_rig.h"
#include "process_memory.h"
#include "x_stations.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QUdpSocket>
#include <array>
#include <memory>

using quorel::test::NetnsRig;
using quorel::test::residentKiB;
using quorel::test::XStations;

namespace {

constexpr std::array<quint16, 19> kPorts{6711, 6712, 6713, 6716, 6717, 6718, 6719, 6720, 6721, 6722,
                                         6723, 6724, 6727, 6730, 6731, 6732, 6734, 6735, 6736};

// Junk of every sort the receivers meet: random bytes, comma fields with
// markers, Shift-JIS lead bytes, NULs.
void junk(QRandomGenerator& random, QByteArray& data) {
    // Mostly small, like real traffic; now and then past every receive bound.
    const int size = random.bounded(16) == 0 ? int(random.bounded(2100)) : int(random.bounded(80));
    data.resize(size);
    const int kind = int(random.bounded(4));
    static const char alphabet[] = "0123456789.,,,,ReqAnsFulPartner-$改行undodelcls\r\n abc";
    for (int k = 0; k < size; ++k) {
        switch (kind) {
        case 0:
            data[k] = char(random.bounded(256));
            break;
        case 1:
            data[k] = alphabet[random.bounded(int(sizeof alphabet - 1))];
            break;
        case 2:
            data[k] = char(0x81 + random.bounded(0x7C));
            break;
        default:
            data[k] = k % 7 == 0 ? '\0' : char(random.bounded(256));
            break;
        }
    }
}

} // namespace

class TestNetnsFlood : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void stationAnswersThroughAMillionDatagrams();
    void cleanupTestCase();

private:
    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsFlood::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(1);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    QProcessEnvironment quiet;
    quiet.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("quorel.*=false"));
    rig_->setEchoOutput(false);
    QVERIFY(rig_->startStation(1, quiet));
    CHECK(x_->waitForMainWindow(1, 15000), "the station did not finish its start");
}

void TestNetnsFlood::stationAnswersThroughAMillionDatagrams() {
    const quint32 seed = qEnvironmentVariableIsSet("QUOREL_FLOOD_SEED")
                             ? quint32(qEnvironmentVariableIntValue("QUOREL_FLOOD_SEED"))
                             : 20261210u;
    const int count = qEnvironmentVariableIsSet("QUOREL_FLOOD_COUNT")
                          ? qEnvironmentVariableIntValue("QUOREL_FLOOD_COUNT")
                          : 1000000;
    qInfo("flood seed %u, %d datagrams", seed, count);
    QRandomGenerator random(seed);

    std::unique_ptr<QUdpSocket> flood = rig_->probeSocket();
    std::unique_ptr<QUdpSocket> searcher = rig_->probeSocket();
    // Answers to a member search come back to the searcher's port 6718.
    std::unique_ptr<QUdpSocket> answers = rig_->probeSocket(6718);
    QVERIFY(flood && searcher && answers);
    const QHostAddress station = NetnsRig::hostAddress(1);
    const QByteArray request = NetnsRig::probeAddress().toString().toLatin1() + ",probe,Req,1";
    auto takeAnswers = [&] {
        int n = 0;
        while (answers->hasPendingDatagrams())
            n += answers->receiveDatagram().data().endsWith(",Ans") ? 1 : 0;
        return n;
    };

    // Before: it answers, and how much memory it holds.
    searcher->writeDatagram(request, station, 6722);
    CHECK(NetnsRig::waitForDatagram(*answers, 5000).has_value(),
          "no answer to a member search before the flood");
    const qint64 pid = rig_->stationPid(1);
    const long before = residentKiB(pid);

    // The flood, in windows of 50,000: a search in each, and an answer by
    // the end of the next.
    constexpr int kWindow = 50000;
    QElapsedTimer clock;
    clock.start();
    QByteArray data;
    int answered = 0, windowsWithoutAnswer = 0, sent = 0, refused = 0;
    for (int w = 0; sent < count; ++w) {
        int answeredHere = 0;
        for (int k = 0; k < kWindow && sent < count; ++k, ++sent) {
            junk(random, data);
            const quint16 port = kPorts[random.bounded(int(kPorts.size()))];
            while (flood->writeDatagram(data, station, port) < 0) {
                ++refused; // the send buffer is full: let it drain
                QTest::qWait(1);
            }
            if (k % 5000 == 0) {
                searcher->writeDatagram(request, station, 6722);
                QCoreApplication::processEvents();
                answeredHere += takeAnswers();
            }
        }
        QCoreApplication::processEvents();
        answeredHere += takeAnswers();
        answered += answeredHere;
        windowsWithoutAnswer = answeredHere > 0 ? 0 : windowsWithoutAnswer + 1;
        CHECK(windowsWithoutAnswer < 2,
              QStringLiteral("no answer to a member search for two windows of the flood (%1 "
                             "datagrams sent)")
                  .arg(sent));
        CHECK(rig_->isRunning(1),
              "the station died in the flood:\n" + rig_->stationOutput(1).right(3000));
    }
    const qint64 ms = clock.elapsed();

    // After: still answering, still one window, memory in bounds.
    QTest::qWait(500);
    takeAnswers();
    searcher->writeDatagram(request, station, 6722);
    const auto last = NetnsRig::waitForDatagram(*answers, 5000);
    CHECK(last.has_value() && last->data().endsWith(",Ans"),
          "no answer after the flood" + (last ? ": " + last->data() : QByteArray()) +
              "\nwindows: " + x_->visibleWindows(1, false).join(' ').toLatin1() + "\n" +
              rig_->stationOutput(1).right(800));
    const long after = residentKiB(pid);
    qInfo("flood: %d datagrams in %lld ms (%.0f a second), %d waits for the send buffer, %d "
          "answers during the flood; station resident memory %ld KiB before, %ld KiB after",
          sent, ms, sent * 1000.0 / std::max<qint64>(1, ms), refused, answered, before, after);
    CHECK(x_->visibleWindows(1, false) == QStringList{x_->window(1)},
          QStringLiteral("the station shows the windows %1")
              .arg(x_->visibleWindows(1, false).join(' ')));
    if (quorel::test::kUnderAddressSanitizer)
        qInfo("memory bound not checked: the sanitizer's quarantine holds freed memory");
    else
        CHECK(after - before < 64 * 1024,
              QStringLiteral("the station grew by %1 KiB in the flood").arg(after - before));
    QCOMPARE(rig_->stopStation(1), std::optional<int>(0));
}

void TestNetnsFlood::cleanupTestCase() {
    x_.reset();
    rig_.reset();
}

QTEST_GUILESS_MAIN(TestNetnsFlood)
#include "tst_netns_flood.moc"
