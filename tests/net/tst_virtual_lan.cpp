// The in-process LAN the multi-station tests stand on must behave like a real
// one where the station can tell the difference.

#include "net/nmudp.h"
#include "net/virtual_lan.h"

#include <QTest>

using namespace quorel;

namespace {

struct Node {
    Node(VirtualLan& lan, const QString& address, int port) : ep(lan.addHost(address), {}) {
        ep.setLocalPort(port);
        ep.RemotePort = port;
        ep.OnDataReceived = [this](TNMUDP* s, int n, const QString& from, int) {
            got << QString::fromLatin1(s->receiveText(n, 1024).value_or("?")) + QLatin1Char('@') +
                       from;
        };
    }
    TNMUDP ep;
    QStringList got;
};

} // namespace

class TestVirtualLan : public QObject {
    Q_OBJECT
private slots:
    void unicastBroadcastAndLoopback();
    void deliveryIsQueuedNeverReentrant();
    void portsAreExclusivePerHost();
    void nameLookup();
    void faults();
};

void TestVirtualLan::unicastBroadcastAndLoopback() {
    VirtualLan lan;
    lan.addBroadcastAddress(QStringLiteral("192.168.1.255"));
    Node a(lan, QStringLiteral("192.168.1.10"), 6722);
    Node b(lan, QStringLiteral("192.168.1.20"), 6722);
    Node c(lan, QStringLiteral("192.168.1.30"), 6799);

    a.ep.RemoteHost = QStringLiteral("192.168.1.20");
    a.ep.SendDatagram("uni");
    a.ep.RemoteHost = QStringLiteral("192.168.1.255");
    a.ep.SendDatagram("all");
    a.ep.RemoteHost = QStringLiteral("127.0.0.1");
    a.ep.SendDatagram("self");
    QTRY_COMPARE(b.got.size(), 2);
    QCOMPARE(b.got, (QStringList{"uni@192.168.1.10", "all@192.168.1.10"}));
    QTRY_COMPARE(a.got.size(), 2);
    QCOMPARE(a.got, (QStringList{"all@192.168.1.10", "self@127.0.0.1"})); // a broadcast comes back
    QVERIFY(c.got.isEmpty()); // another port hears nothing
    QCOMPARE(lan.traffic().size(), std::size_t(3));
}

void TestVirtualLan::deliveryIsQueuedNeverReentrant() {
    VirtualLan lan;
    Node a(lan, QStringLiteral("10.0.0.1"), 6711);
    a.ep.RemoteHost = QStringLiteral("10.0.0.1");
    a.ep.SendDatagram("later");
    QVERIFY(a.got.isEmpty()); // not inside the send
    QTRY_COMPARE(a.got, QStringList{"later@10.0.0.1"});
}

void TestVirtualLan::portsAreExclusivePerHost() {
    VirtualLan lan;
    DatagramNetwork& host = lan.addHost(QStringLiteral("10.0.0.1"));
    DatagramNetwork& other = lan.addHost(QStringLiteral("10.0.0.2"));
    TNMUDP first(host, {}), second(host, {}), elsewhere(other, {});
    first.setLocalPort(6711);
    second.setLocalPort(6711);
    elsewhere.setLocalPort(6711);
    QVERIFY(first.isBound());
    QVERIFY(!second.isBound());
    QVERIFY(elsewhere.isBound());
    first.setLocalPort(6811); // frees 6711
    second.setLocalPort(6711);
    QVERIFY(second.isBound());
}

void TestVirtualLan::nameLookup() {
    VirtualLan lan;
    Node a(lan, QStringLiteral("10.0.0.1"), 6711);
    lan.addHost(QStringLiteral("10.0.0.2"), QStringLiteral("room-pc"));
    Node b(lan, QStringLiteral("10.0.0.3"), 6711);
    a.ep.RemoteHost = QStringLiteral("host-3");
    a.ep.SendDatagram("by name");
    QTRY_COMPARE(b.got, QStringList{"by name@10.0.0.1"});
    a.ep.RemoteHost = QStringLiteral("no-such-pc");
    try {
        a.ep.SendDatagram("x");
        QFAIL("no error raised");
    } catch (const UDPSockError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Host Lookup Canceled"));
    }
}

void TestVirtualLan::faults() {
    VirtualLan lan;
    Node a(lan, QStringLiteral("10.0.0.1"), 6711);
    Node b(lan, QStringLiteral("10.0.0.2"), 6711);
    a.ep.RemoteHost = QStringLiteral("10.0.0.2");

    lan.setFaults({1.0, 0.0, 0.0});
    a.ep.SendDatagram("lost");
    lan.setFaults({0.0, 1.0, 0.0});
    a.ep.SendDatagram("twice");
    QTRY_COMPARE(b.got.size(), 2);
    QCOMPARE(b.got, (QStringList{"twice@10.0.0.1", "twice@10.0.0.1"}));

    b.got.clear();
    lan.setFaults({0.0, 0.0, 1.0}); // held back ...
    a.ep.SendDatagram("first");
    lan.setFaults({});
    a.ep.SendDatagram("second"); // ... and overtaken
    QTRY_COMPARE(b.got.size(), 2);
    QCOMPARE(b.got, (QStringList{"second@10.0.0.1", "first@10.0.0.1"}));
}

QTEST_MAIN(TestVirtualLan)
#include "tst_virtual_lan.moc"
