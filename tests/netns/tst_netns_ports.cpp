// A station on channel 1 binds exactly the UDP ports of its port plan, each on
// the IPv4 wildcard address, and nothing else.

#include "netns_rig.h"

#include <QElapsedTimer>
#include <QTest>

using quorel::test::NetnsRig;
using quorel::test::UdpBinding;

namespace {

QStringList bindingStrings(const QList<UdpBinding>& bindings) {
    QStringList out;
    for (const UdpBinding& b : bindings)
        out << b.toString();
    return out;
}

} // namespace

class TestNetnsPorts : public QObject {
    Q_OBJECT

private slots:
    void channelOneBindsItsPortPlan();
};

void TestNetnsPorts::channelOneBindsItsPortPlan() {
    NetnsRig rig(1);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    const QList<quint16> plan{6711, 6712, 6713, 6716, 6717, 6718, 6719, 6720, 6721, 6722,
                              6723, 6724, 6727, 6730, 6731, 6732, 6734, 6735, 6736};
    QStringList expected;
    for (quint16 port : plan)
        expected << UdpBinding{QStringLiteral("0.0.0.0"), QString(), port}.toString();

    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(rig.startStation(1));
    QStringList bound;
    QTRY_VERIFY_WITH_TIMEOUT(
        !rig.isRunning(1) || (bound = bindingStrings(rig.boundUdpPorts(1))) == expected, 15000);
    QVERIFY2(rig.isRunning(1), rig.stationOutput(1).constData());
    QCOMPARE(bound, expected);

    // Still exactly these once the five-second start has finished.
    QTest::qWait(int(std::max<qint64>(6500 - sinceStart.elapsed(), 500)));
    QVERIFY2(rig.isRunning(1), rig.stationOutput(1).constData());
    QCOMPARE(bindingStrings(rig.boundUdpPorts(1)), expected);
}

QTEST_GUILESS_MAIN(TestNetnsPorts)
#include "tst_netns_ports.moc"
