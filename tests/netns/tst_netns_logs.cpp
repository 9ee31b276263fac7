// The exit log on a real station: a copy of the program in a folder of its
// own, whose start-up settings ask for automatic saving. A typist puts two
// sentences on the screen; the station is stopped from outside (SIGTERM, then
// once more with SIGINT), and each time it leaves its display record as a log
// next to its executable, ending with the exit line, and nothing in its
// working directory.

#include "netns_rig.h"
#include "x_stations.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

// "999:＜番号付き表示設定ファイル２＞" and "075:on" (save automatically), in
// code page 932 with CR LF, as a station writes them.
const QByteArray kStartupFile =
    "999:\x81\x83\x94\xd4\x8d\x86\x95\x74\x82\xab\x95\x5c\x8e\xa6\x90\xdd\x92\xe8"
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\x51\x81\x84\r\n"
    "075:on:x\r\n";
// "---Ｑｕｏｒｅｌ終了時自動保存---" in code page 932.
const QByteArray kExitLine = "---\x82\x70\x82\x95\x82\x8f\x82\x92\x82\x85\x82\x8c\x8f\x49"
                             "\x97\xb9\x8e\x9e\x8e\xa9\x93\xae\x95\xdb\x91\xb6---";
const QByteArray kFreshRecord = "\x83\x65\x83\x58\x83\x67\r\n" + QByteArray("\r\n").repeated(19);

} // namespace

class TestNetnsLogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void stoppedStationLeavesItsLogNextToItsExecutable_data();
    void stoppedStationLeavesItsLogNextToItsExecutable();
    void cleanupTestCase();

private:
    QByteArray log() const { return rig_->stationOutput(1); }
    QStringList logs() const {
        return QDir(folder()).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    }
    QString folder() const { return dir_->filePath(QStringLiteral("station")); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsLogs::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(1);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(folder()));
    const QString program = QDir(folder()).filePath(QStringLiteral("quorel"));
    QVERIFY(QFile::copy(rig_->stationBinary(), program));
    rig_->setStationBinary(program);
    QFile f(QDir(folder()).filePath(QStringLiteral("自動読込表示設定.dp9")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kStartupFile);
}

void TestNetnsLogs::stoppedStationLeavesItsLogNextToItsExecutable_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestNetnsLogs::stoppedStationLeavesItsLogNextToItsExecutable() {
    QFETCH(int, signal);
    const QStringList before = logs();
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("quorel.caption.debug=true"));
    QVERIFY(rig_->startStation(1, extra));
    CHECK(x_->waitForMainWindow(1, kArrivalMs),
          "the station did not finish its start:\n" + log().right(3000));
    // The start-up file has been applied once the window is the only one; the
    // sentences go onto the screen after that.
    const qsizetype mark = log().size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "log one");
    x_->typeSentence(1, "log two");
    CHECK_WITHIN(kArrivalMs, log().mid(mark).contains("own sentence \"log two\""),
                 "the sentences did not reach the screen:\n" +
                     linesWith(log().mid(mark), "quorel.caption"));

    QVERIFY(::kill(pid_t(rig_->stationPid(1)), signal) == 0);
    CHECK_WITHIN(5000, !rig_->isRunning(1), "the station did not end after the signal");
    const auto code = rig_->stopStation(1);
    CHECK(code == 0, "the station did not end cleanly:\n" + log().right(2000));

    QStringList added = logs();
    for (const QString& name : before)
        added.removeAll(name);
    CHECK(added.size() == 1, QStringLiteral("logs in the program folder: %1 (before: %2)")
                                 .arg(logs().join(' '), before.join(' ')));
    static const QRegularExpression name(
        QStringLiteral("^\\d{4}_\\d{2}_\\d{2}-\\d{1,2}_\\d{2}_\\d{2}(_\\d+)?\\.txt$"));
    CHECK(name.match(added.first()).hasMatch(), "an odd log name: " + added.first());
    QFile f(QDir(folder()).filePath(added.first()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    CHECK(bytes == kFreshRecord + "log one\r\nlog two\r\n" + kExitLine + "\r\n",
          "the log holds:\n" + bytes.toHex(' '));
    const QStringList strays =
        QDir(rig_->workingDirectory(1)).entryList({QStringLiteral("*.txt")}, QDir::Files);
    CHECK(strays.isEmpty(), "logs in the working directory: " + strays.join(' '));
}

void TestNetnsLogs::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsLogs)
#include "tst_netns_logs.moc"
