// Real station processes in their own network namespaces: the instance guard
// is per namespace, so two stations run side by side, and SIGTERM ends a
// station in order with exit code 0.

#include "netns_rig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using quorel::test::CommandResult;
using quorel::test::NetnsRig;

namespace {

QString namespaceOf(qint64 pid) {
    QProcess p;
    p.start(QStringLiteral("ip"), {"netns", "identify", QString::number(pid)});
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The instance guard is an abstract Unix socket; it shows in the namespace of
// the station that holds it.
bool holdsInstanceGuard(const NetnsRig& rig, int host) {
    const CommandResult r = rig.execInHost(host, {"ss", "-H", "-x", "-a", "-n"});
    return r.ok() && r.out.contains("@quorel-instance:");
}

QMap<QString, QString> environmentOf(qint64 pid) {
    QMap<QString, QString> env;
    QFile file(QStringLiteral("/proc/%1/environ").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return env;
    for (const QByteArray& entry : file.readAll().split('\0')) {
        const qsizetype eq = entry.indexOf('=');
        if (eq > 0)
            env.insert(QString::fromLocal8Bit(entry.left(eq)),
                       QString::fromLocal8Bit(entry.mid(eq + 1)));
    }
    return env;
}

} // namespace

class TestNetnsStations : public QObject {
    Q_OBJECT

private slots:
    void stationGetsItsOwnDirectoriesAndDisplay();
    void twoStationsRunInTwoNamespaces();
    void sigtermEndsAStartedStationWithCodeZero();
};

void TestNetnsStations::stationGetsItsOwnDirectoriesAndDisplay() {
    auto owned = std::make_unique<NetnsRig>(1);
    NetnsRig& rig = *owned;
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    // Logging rules reach the station, and what it logs is captured.
    QProcessEnvironment extra;
    const QString rules = QStringLiteral("qt.core.plugin.factoryloader.debug=true");
    extra.insert(QStringLiteral("QT_LOGGING_RULES"), rules);
    QVERIFY(rig.startStation(1, extra));
    const qint64 pid = rig.stationPid(1);
    QTRY_VERIFY_WITH_TIMEOUT(rig.stationOutput(1).contains("qt.core.plugin.factoryloader:"), 10000);

    const QMap<QString, QString> env = environmentOf(pid);
    QCOMPARE(env.value("QT_LOGGING_RULES"), rules);
    if (rig.display().isEmpty()) {
        QCOMPARE(env.value("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        QCOMPARE(env.value("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QCOMPARE(env.value("DISPLAY"), rig.display());
        QVERIFY(QFileInfo::exists("/tmp/.X11-unix/X" + rig.display().mid(1)));
    }
    const QString runtime = env.value("XDG_RUNTIME_DIR");
    const QString home = env.value("HOME");
    QVERIFY(!runtime.isEmpty() && !home.isEmpty() && runtime != home);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(runtime).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0700));
    QVERIFY(QFileInfo(home).isDir());
    QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).canonicalFilePath(),
             QDir(rig.workingDirectory(1)).canonicalPath());

    // The rig's own directories go with the rig. (The station may still be
    // building its windows, before its SIGTERM handler is in place, so its exit
    // code is not the point here.)
    rig.stopStation(1);
    QVERIFY(!rig.isRunning(1));
    const QString work = rig.workingDirectory(1);
    QVERIFY(QFileInfo(work).isDir());
    owned.reset();
    QVERIFY(!QFileInfo::exists(work));
    QVERIFY(!QFileInfo::exists(runtime));
}

void TestNetnsStations::twoStationsRunInTwoNamespaces() {
    NetnsRig rig(2);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    QVERIFY(rig.startStation(1));
    QVERIFY(rig.startStation(2));
    for (int i = 1; i <= 2; ++i)
        QTRY_COMPARE_WITH_TIMEOUT(namespaceOf(rig.stationPid(i)), rig.hostNamespace(i), 5000);

    // Each one took the guard of its own namespace; neither is sitting in the
    // "already running" question.
    for (int i = 1; i <= 2; ++i)
        QTRY_VERIFY2_WITH_TIMEOUT(holdsInstanceGuard(rig, i) || !rig.isRunning(i),
                                  rig.stationOutput(i).constData(), 10000);
    for (int i = 1; i <= 2; ++i)
        QVERIFY2(holdsInstanceGuard(rig, i), rig.stationOutput(i).constData());

    QTest::qWait(3000);
    for (int i = 1; i <= 2; ++i)
        QVERIFY2(rig.isRunning(i), rig.stationOutput(i).constData());

    // SIGTERM during the start (the splash is still up) closes in order too.
    QCOMPARE(rig.stopStation(2), std::optional<int>(0));
    QVERIFY(rig.isRunning(1));
    QCOMPARE(rig.stopStation(1), std::optional<int>(0));
}

void TestNetnsStations::sigtermEndsAStartedStationWithCodeZero() {
    NetnsRig rig(1);
    if (!rig.skipReason().isEmpty())
        QSKIP(qPrintable(rig.skipReason()));

    QVERIFY(rig.startStation(1));
    QTRY_VERIFY2_WITH_TIMEOUT(holdsInstanceGuard(rig, 1) || !rig.isRunning(1),
                              rig.stationOutput(1).constData(), 10000);
    // Past the five-second start, so the station is fully up.
    QTest::qWait(6500);
    QVERIFY2(rig.isRunning(1), rig.stationOutput(1).constData());

    QCOMPARE(rig.stopStation(1), std::optional<int>(0));
    QVERIFY(!rig.isRunning(1));
    QVERIFY(!holdsInstanceGuard(rig, 1)); // the guard went with the process
}

QTEST_GUILESS_MAIN(TestNetnsStations)
#include "tst_netns_stations.moc"
