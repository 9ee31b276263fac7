// The rig itself: the network it builds, its sockets, its ss reading, and that
// it leaves nothing behind (also after a crashed test process).

#include "netns_rig.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <csignal>

using quorel::test::CommandResult;
using quorel::test::NetnsRig;
using quorel::test::UdpBinding;

namespace {

QStringList bindingStrings(const QList<UdpBinding>& bindings) {
    QStringList out;
    for (const UdpBinding& b : bindings)
        out << b.toString();
    return out;
}

// Runs iproute2 in the test's own (root) namespace.
CommandResult rootIp(const QStringList& args) {
    CommandResult r;
    QProcess p;
    p.start(QStringLiteral("ip"), args);
    r.finished = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QStringList namespaceList() {
    QStringList names;
    for (const QByteArray& line : rootIp({"netns", "list"}).out.split('\n'))
        if (!line.trimmed().isEmpty())
            names << QString::fromLocal8Bit(line).section(' ', 0, 0);
    return names;
}

// A pid that belonged to a process which has ended.
qint64 deadPid() {
    QProcess p;
    p.start(QStringLiteral("true"), {});
    p.waitForStarted();
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

// Gone or a zombie: either way no longer running.
bool processGone(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) == "Z";
}

} // namespace

class TestNetnsRig : public QObject {
    Q_OBJECT

private slots:
    void parsesSsOutput();
    void buildsTheNetworkOutsideTheRootNamespace();
    void removesEverythingWhenDestroyed();
    void removesStaleNamespacesOfDeadProcesses();
    void probeSocketsTalkToEachOther();
    void probeReachesHostsOverTheBridge();
    void readsBoundPortsOfAHost();
    void runsXClientsOnTheStationDisplay();
};

void TestNetnsRig::parsesSsOutput() {
    // Header, Netid column, process column, wildcards of both families, scopes in
    // both spellings, IPv4-mapped, and junk.
    const QByteArray text = "State  Recv-Q Send-Q Local Address:Port Peer Address:Port Process\n"
                            "UNCONN 0      0            0.0.0.0:6712      0.0.0.0:*\n"
                            "UNCONN 0      0            0.0.0.0:6711      0.0.0.0:*    "
                            "users:((\"quorel\",pid=42,fd=9))\n"
                            "udp   UNCONN 0 0 192.168.77.11:6720 0.0.0.0:*\n"
                            "ESTAB 0 0 127.0.0.1:40000 127.0.0.1:6711\n"
                            "UNCONN 213 0 *:5353 *:*\n"
                            "UNCONN 0 0 [::]:6711 [::]:*\n"
                            "UNCONN 0 0 0.0.0.0%eth0:68 0.0.0.0:*\n"
                            "UNCONN 0 0 [fe80::1]%eth0:546 [::]:*\n"
                            "UNCONN 0 0 [fe80::2%eth0]:547 [::]:*\n"
                            "UNCONN 0 0 [::ffff:127.0.0.1]:9 *:*\n"
                            "\n"
                            "garbage line\n"
                            "UNCONN 0 0 0.0.0.0:99999 0.0.0.0:*\n";
    const QStringList expected{"[::ffff:127.0.0.1]:9",
                               "0.0.0.0%eth0:68",
                               "[fe80::1]%eth0:546",
                               "[fe80::2]%eth0:547",
                               "*:5353",
                               "0.0.0.0:6711",
                               "[::]:6711",
                               "0.0.0.0:6712",
                               "192.168.77.11:6720",
                               "127.0.0.1:40000"};
    QCOMPARE(bindingStrings(NetnsRig::parseSsUdp(text)), expected);

    const QList<UdpBinding> parsed = NetnsRig::parseSsUdp("UNCONN 0 0 [fe80::1]%eth0:546 [::]:*");
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed[0].address, QStringLiteral("fe80::1"));
    QCOMPARE(parsed[0].scope, QStringLiteral("eth0"));
    QCOMPARE(parsed[0].port, quint16(546));
    QVERIFY(NetnsRig::parseSsUdp("").isEmpty());
}

void TestNetnsRig::buildsTheNetworkOutsideTheRootNamespace() {
    NetnsRig rig(2);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    const QStringList mine = rig.namespaces();
    QCOMPARE(mine.size(), 4); // switch, two hosts, probe
    for (const QString& ns : mine) {
        QVERIFY2(ns.startsWith("qrl") && ns.size() <= 15, qPrintable(ns));
        QVERIFY2(namespaceList().contains(ns), qPrintable(ns));
    }

    for (int i = 1; i <= 2; ++i) {
        const CommandResult addr = rig.execInHost(i, {"ip", "-o", "-4", "addr", "show"});
        QVERIFY2(addr.ok(), addr.err.constData());
        QVERIFY2(addr.out.contains(QStringLiteral("inet 192.168.77.%1/24").arg(10 + i).toLatin1()),
                 addr.out.constData());
        QVERIFY2(addr.out.contains("inet 127.0.0.1/8"), addr.out.constData()); // loopback up
    }

    // Nothing of the rig's in the root namespace: no address, no bridge.
    const CommandResult rootAddr = rootIp({"-o", "addr", "show"});
    QVERIFY(rootAddr.ok());
    QVERIFY2(!rootAddr.out.contains("192.168.77."), rootAddr.out.constData());
    const CommandResult rootBridges = rootIp({"-o", "link", "show", "type", "bridge"});
    QVERIFY(rootBridges.ok());
    QVERIFY2(!rootBridges.out.contains("br0"), rootBridges.out.constData());
}

void TestNetnsRig::removesEverythingWhenDestroyed() {
    QStringList names;
    qint64 leftover = 0;
    {
        NetnsRig rig(1);
        if (!rig.skipReason().isEmpty())
            QSKIP(qPrintable(rig.skipReason()));
        names = rig.namespaces();
        // A process the rig did not start itself, still running in a host.
        QVERIFY(QProcess::startDetached(QStringLiteral("ip"),
                                        {"netns", "exec", rig.hostNamespace(1), "sleep", "60"}, {},
                                        &leftover));
        QTRY_VERIFY(rootIp({"netns", "pids", rig.hostNamespace(1)})
                        .out.contains(QByteArray::number(leftover)));
    }
    const QStringList after = namespaceList();
    for (const QString& ns : names)
        QVERIFY2(!after.contains(ns), qPrintable(ns));
    QTRY_VERIFY(processGone(leftover));
}

void TestNetnsRig::removesStaleNamespacesOfDeadProcesses() {
    if (::geteuid() != 0)
        QSKIP("network namespace tests need root");
    // What a crashed test leaves: a namespace named after a dead pid, with a
    // process still inside.
    const QString stale = QStringLiteral("qrl%1zh1").arg(deadPid());
    if (!rootIp({"netns", "add", stale}).ok())
        QSKIP("cannot create network namespaces here");
    qint64 inside = 0;
    QVERIFY(QProcess::startDetached(QStringLiteral("ip"), {"netns", "exec", stale, "sleep", "60"},
                                    {}, &inside));
    QTRY_VERIFY(rootIp({"netns", "pids", stale}).out.contains(QByteArray::number(inside)));

    // A namespace of a live process (this one) must survive the sweep.
    const QString live = QStringLiteral("qrl%1zs").arg(::getpid());
    QVERIFY(rootIp({"netns", "add", live}).ok());

    {
        NetnsRig rig(1);
        QVERIFY2(rig.skipReason().isEmpty(), qPrintable(rig.skipReason()));
        const QStringList now = namespaceList();
        QVERIFY2(!now.contains(stale), qPrintable(now.join(' ')));
        QVERIFY2(now.contains(live), qPrintable(now.join(' ')));
    }
    QTRY_VERIFY(processGone(inside));
    QVERIFY(rootIp({"netns", "del", live}).ok());
}

void TestNetnsRig::probeSocketsTalkToEachOther() {
    NetnsRig rig(1);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    const quint16 port = 47001;
    auto receiver = rig.probeSocket(port);
    QVERIFY(receiver);
    QCOMPARE(receiver->localPort(), port);

    // The thread is back home and the probe's port is not taken here: the socket
    // lives in the probe namespace.
    QUdpSocket rootSocket;
    QVERIFY2(rootSocket.bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress),
             qPrintable(rootSocket.errorString()));
    rootSocket.close();

    QVERIFY(rig.sendFromProbe("ping 1", NetnsRig::probeAddress(), port));
    const auto datagram = NetnsRig::waitForDatagram(*receiver, 3000);
    QVERIFY(datagram);
    QCOMPARE(datagram->data(), QByteArray("ping 1"));
    QCOMPARE(datagram->senderAddress().toIPv4Address(), NetnsRig::probeAddress().toIPv4Address());

    // Nothing else arrives, and outside addresses are refused.
    QVERIFY(!NetnsRig::waitForDatagram(*receiver, 200));
    QTest::ignoreMessage(QtWarningMsg, "netns rig: refusing to send to 10.0.0.1");
    QVERIFY(!rig.sendFromProbe("x", QHostAddress(QStringLiteral("10.0.0.1")), port));
}

void TestNetnsRig::probeReachesHostsOverTheBridge() {
    NetnsRig rig(2);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    const quint16 port = 47002;
    auto host1 = rig.hostSocket(1, port);
    auto host2 = rig.hostSocket(2, port); // same port, other namespace
    auto probe = rig.probeSocket(47003);
    QVERIFY(host1 && host2 && probe);

    QVERIFY(rig.sendFromProbe("to host 1", NetnsRig::hostAddress(1), port));
    auto datagram = NetnsRig::waitForDatagram(*host1, 3000);
    QVERIFY(datagram);
    QCOMPARE(datagram->data(), QByteArray("to host 1"));
    QCOMPARE(datagram->senderAddress().toIPv4Address(), NetnsRig::probeAddress().toIPv4Address());
    QVERIFY(!NetnsRig::waitForDatagram(*host2, 200)); // unicast: host 2 sees nothing

    // Host to host, and back to the probe.
    QCOMPARE(host2->writeDatagram("2 to 1", NetnsRig::hostAddress(1), port), qint64(6));
    datagram = NetnsRig::waitForDatagram(*host1, 3000);
    QVERIFY(datagram);
    QCOMPARE(datagram->data(), QByteArray("2 to 1"));
    QCOMPARE(datagram->senderAddress().toIPv4Address(), NetnsRig::hostAddress(2).toIPv4Address());

    QCOMPARE(host1->writeDatagram("reply", NetnsRig::probeAddress(), 47003), qint64(5));
    datagram = NetnsRig::waitForDatagram(*probe, 3000);
    QVERIFY(datagram);
    QCOMPARE(datagram->data(), QByteArray("reply"));
    QCOMPARE(datagram->senderAddress().toIPv4Address(), NetnsRig::hostAddress(1).toIPv4Address());
}

void TestNetnsRig::readsBoundPortsOfAHost() {
    NetnsRig rig(2);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    QVERIFY(rig.boundUdpPorts(1).isEmpty());
    auto a = rig.hostSocket(1, 47010);
    auto b = rig.hostSocket(1, 47011);
    auto other = rig.hostSocket(2, 47012);
    auto probe = rig.probeSocket(47013);
    QVERIFY(a && b && other && probe);

    QCOMPARE(bindingStrings(rig.boundUdpPorts(1)), QStringList({"0.0.0.0:47010", "0.0.0.0:47011"}));
    QCOMPARE(bindingStrings(rig.boundUdpPorts(2)), QStringList({"0.0.0.0:47012"}));

    b.reset();
    QCOMPARE(bindingStrings(rig.boundUdpPorts(1)), QStringList({"0.0.0.0:47010"}));
}

void TestNetnsRig::runsXClientsOnTheStationDisplay() {
    NetnsRig rig(1);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");

    // Before any station: the display comes up for the client.
    const CommandResult r = rig.runOnDisplay({"xdotool", "getdisplaygeometry"});
    if (rig.display().isEmpty())
        QSKIP(qPrintable("no Xvfb display: " + QString::fromLocal8Bit(r.err)));
    QVERIFY2(r.ok(), r.err.constData());
    QCOMPARE(r.out.trimmed(), QByteArray("1920 1080"));

    // A station started afterwards is a client of that same display.
    QVERIFY(rig.startStation(1));
    QStringList windows;
    QTRY_VERIFY_WITH_TIMEOUT(
        !(windows = QString::fromLatin1(rig.runOnDisplay({"xdotool", "search", "--pid",
                                                          QString::number(rig.stationPid(1))})
                                            .out)
                        .split('\n', Qt::SkipEmptyParts))
             .isEmpty(),
        30000); // a sanitizer build on a loaded machine starts slowly
    rig.stopStation(1);
}

QTEST_GUILESS_MAIN(TestNetnsRig)
#include "tst_netns_rig.moc"
