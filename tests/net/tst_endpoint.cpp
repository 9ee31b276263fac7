// The UDP endpoint on real sockets over loopback: size bounds, back-to-back
// datagrams, rebinding, a taken port, bad destinations, errors in handlers;
// and the addresses a PC without a network reports.

#include "net/nmudp.h"
#include "net/udp_network.h"

#include <QNetworkDatagram>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <cerrno>
#include <cstring>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace quorel;

namespace {

struct Arrival {
    int count;
    QByteArray text;
    QString from;
    int port;
};

// An endpoint that records what its handler saw, reading as a handler with a
// buffer of `bound` bytes does.
struct Listener {
    Listener(UdpNetwork& net, int port, int bound = 256) : ep(net, {}) {
        ep.setLocalPort(port);
        ep.OnDataReceived = [this, bound](TNMUDP* s, int n, const QString& from, int p) {
            auto t = s->receiveText(n, bound);
            arrivals.push_back({n, t.value_or(QByteArray("<ignored>")), from, p});
        };
    }
    TNMUDP ep;
    std::vector<Arrival> arrivals;
};

void sendRaw(const QByteArray& data, quint16 port) {
    QUdpSocket s;
    s.writeDatagram(data, QHostAddress::LocalHost, port);
}

bool setLoopbackUp() {
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return false;
    ifreq r{};
    std::strncpy(r.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(s, SIOCGIFFLAGS, &r) == 0;
    r.ifr_flags |= IFF_UP;
    ok = ok && ::ioctl(s, SIOCSIFFLAGS, &r) == 0;
    ::close(s);
    return ok;
}

} // namespace

class TestEndpoint : public QObject {
    Q_OBJECT
private slots:
    void sizeBoundOfAHandler();
    void backToBackDatagrams();
    void deliversToALocalProgram();
    void rebindingMovesThePort();
    void takenPortOnlySends();
    void badDestinations_data();
    void badDestinations();
    void oversizeDatagramIsAFailedReceive();
    void errorInAHandlerIsReportedAndReadingGoesOn();
    void floodIsHandledInSlices();
    void aPcWithoutANetworkReportsItsLoopback();

private:
    UdpNetwork net_;
};

void TestEndpoint::sizeBoundOfAHandler() {
    Listener l(net_, 6718);
    QVERIFY(l.ep.isBound());
    sendRaw(QByteArray(255, 'a'), 6718);
    sendRaw(QByteArray(256, 'b'), 6718);
    QTRY_COMPARE(l.arrivals.size(), std::size_t(2));
    QCOMPARE(l.arrivals[0].text, QByteArray(255, 'a'));
    QCOMPARE(l.arrivals[1].count, 256);
    QCOMPARE(l.arrivals[1].text, QByteArray("<ignored>"));
}

void TestEndpoint::backToBackDatagrams() {
    Listener l(net_, 6722);
    TNMUDP sender(net_, {});
    sender.setLocalPort(6722 + 1000);
    sender.RemoteHost = QStringLiteral("127.0.0.1");
    sender.RemotePort = 6722;
    sender.SendDatagram("first");
    sender.SendDatagram(QByteArray("sec\0ond", 7)); // the text ends at the NUL
    QTRY_COMPARE(l.arrivals.size(), std::size_t(2));
    QCOMPARE(l.arrivals[0].text, QByteArray("first"));
    QCOMPARE(l.arrivals[1].count, 7);
    QCOMPARE(l.arrivals[1].text, QByteArray("sec"));
    QCOMPARE(l.arrivals[1].from, QStringLiteral("127.0.0.1"));
    QCOMPARE(l.arrivals[1].port, 7722);
}

void TestEndpoint::deliversToALocalProgram() {
    QUdpSocket program;
    QVERIFY(program.bind(QHostAddress::LocalHost, 7911));
    TNMUDP ep(net_, {});
    ep.setLocalPort(6711);
    ep.RemoteHost = QStringLiteral("127.0.0.1");
    ep.RemotePort = 7911;
    ep.SendDatagram("copy");
    QTRY_VERIFY(program.hasPendingDatagrams());
    const QNetworkDatagram d = program.receiveDatagram();
    QCOMPARE(d.data(), QByteArray("copy"));
    QCOMPARE(d.senderPort(), 6711);
}

void TestEndpoint::rebindingMovesThePort() {
    Listener l(net_, 6711, 1024);
    QUdpSocket peer;
    QVERIFY(peer.bind(QHostAddress::LocalHost, 0));
    l.ep.setLocalPort(6811);
    sendRaw("old port", 6711);
    sendRaw("new port", 6811);
    QTRY_COMPARE(l.arrivals.size(), std::size_t(1));
    QTest::qWait(50);
    QCOMPARE(l.arrivals.size(), std::size_t(1));
    QCOMPARE(l.arrivals[0].text, QByteArray("new port"));

    l.ep.RemoteHost = QStringLiteral("127.0.0.1");
    l.ep.RemotePort = peer.localPort();
    l.ep.SendDatagram("from 6811");
    QTRY_VERIFY(peer.hasPendingDatagrams());
    QCOMPARE(peer.receiveDatagram().senderPort(), 6811);
}

void TestEndpoint::takenPortOnlySends() {
    Listener first(net_, 6724);
    Listener second(net_, 6724);
    QVERIFY(first.ep.isBound());
    QVERIFY(!second.ep.isBound()); // silently: no error raised
    sendRaw("to the first", 6724);
    QTRY_COMPARE(first.arrivals.size(), std::size_t(1));
    QCOMPARE(second.arrivals.size(), std::size_t(0));

    second.ep.RemoteHost = QStringLiteral("127.0.0.1");
    second.ep.RemotePort = 6724;
    second.ep.SendDatagram("its sends arrive");
    QTRY_COMPARE(first.arrivals.size(), std::size_t(2));
    QCOMPARE(first.arrivals[1].text, QByteArray("its sends arrive"));
}

void TestEndpoint::badDestinations_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty host") << QString() << QByteArray("x")
                                << QStringLiteral("Null Remote Address");
    QTest::newRow("0.0.0.0") << QStringLiteral("0.0.0.0") << QByteArray("x")
                             << QStringLiteral("Null Remote Address");
    QTest::newRow("empty buffer") << QStringLiteral("127.0.0.1") << QByteArray()
                                  << QStringLiteral("Invalid buffer");
}

void TestEndpoint::badDestinations() {
    QFETCH(QString, host);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    TNMUDP ep(net_, {});
    ep.RemoteHost = host;
    ep.RemotePort = 6799;
    try {
        ep.SendDatagram(bytes);
        QFAIL("no error raised");
    } catch (const UDPSockError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), error);
    }
}

void TestEndpoint::oversizeDatagramIsAFailedReceive() {
    Listener l(net_, 6731, 1024);
    sendRaw(QByteArray(2049, 'x'), 6731);
    sendRaw(QByteArray(65507, 'y'), 6731);
    sendRaw(QByteArray(2048, 'z'), 6731);
    sendRaw(QByteArray(), 6731);
    QTRY_COMPARE(l.arrivals.size(), std::size_t(4));
    QCOMPARE(l.arrivals[0].count, -1);
    QCOMPARE(l.arrivals[1].count, -1);
    QCOMPARE(l.arrivals[2].count, 2048); // fits the endpoint, not the handler
    QCOMPARE(l.arrivals[0].text, QByteArray("<ignored>"));
    QCOMPARE(l.arrivals[3].count, 0);
    QCOMPARE(l.arrivals[3].text, QByteArray());
}

void TestEndpoint::errorInAHandlerIsReportedAndReadingGoesOn() {
    QStringList reported;
    TNMUDP ep(net_, [&](const QString& t) { reported << t; });
    ep.setLocalPort(6713);
    int handled = 0;
    ep.OnDataReceived = [&](TNMUDP* s, int, const QString&, int) {
        ++handled;
        s->RemoteHost = QString();
        s->SendDatagram("x"); // raises "Null Remote Address"
    };
    sendRaw("a", 6713);
    sendRaw("b", 6713);
    QTRY_COMPARE(handled, 2);
    QCOMPARE(reported, (QStringList{"Null Remote Address", "Null Remote Address"}));
}

void TestEndpoint::floodIsHandledInSlices() {
    Listener l(net_, 6721, 1024);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    for (int i = 0; i < 200; ++i) // within what the kernel buffers for one socket
        sendRaw(QByteArray::number(i), 6721);
    QTRY_COMPARE(l.arrivals.size(), std::size_t(200));
    QVERIFY(timerRan);
    QCOMPARE(l.arrivals.back().text, QByteArray("199"));
}

void TestEndpoint::aPcWithoutANetworkReportsItsLoopback() {
    // A network namespace of its own is a PC without a network card; only this
    // thread moves into it, so the other tests keep the real one.
    QString skip;
    QStringList loopbackDown, loopbackUp;
    std::thread pc([&] {
        if (::unshare(CLONE_NEWNET) != 0) {
            skip = QStringLiteral("no network namespace here: %1").arg(strerror(errno));
            return;
        }
        loopbackDown = net_.localAddresses();
        if (!setLoopbackUp()) {
            skip = QStringLiteral("cannot bring the loopback up: %1").arg(strerror(errno));
            return;
        }
        loopbackUp = net_.localAddresses();
    });
    pc.join();
    if (!skip.isEmpty())
        QSKIP(qPrintable(skip));
    QCOMPARE(loopbackUp, QStringList{"127.0.0.1"});
    QVERIFY(loopbackDown.isEmpty()); // not even the loopback: nothing to report
}

QTEST_MAIN(TestEndpoint)
#include "tst_endpoint.moc"
