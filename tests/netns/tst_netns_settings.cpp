// Start-up settings on a real network: two stations, each its own program in
// its own folder (the folder of settings files), in their own namespaces.
//
// - Both folders hold a start-up settings file that names the station and
//   puts it on channel 2, Group C. The name is in the first member search
//   (read while the main window is built); five seconds later the whole file
//   moves the station to channel 2's ports, where the two find each other.
// - A sentence typed on station 1 reaches station 2 on channel 2's caption port.
// - On station 2 the typist moves to the "Save" page and presses
//   "起動時設定にする": the file is written with the channel and the group.
// - Station 2, started again, is back on channel 2 in Group C by itself.
// - A stray "group full" notice from another host does not take the keyboard.

#include "netns_rig.h"
#include "x_stations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using quorel::test::address;
using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::quoted;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

// The start-up file as a station writes it: code page 932, CR LF. Only the
// lines this test needs; a file names only what it changes.
QByteArray startupFile(const QByteArray& name) {
    QByteArray out;
    // "999:＜番号付き表示設定ファイル２＞" in code page 932.
    out += "999:\x81\x83\x94\xd4\x8d\x86\x95\x74\x82\xab\x95\x5c\x8e\xa6\x90\xdd\x92\xe8"
           "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\x51\x81\x84\r\n";
    out += "035:on:x\r\n";
    out += "801:1:x\r\n";
    out += "802:3:x\r\n";
    out += "166:" + name + ":x\r\n";
    return out;
}

const QByteArray kStartupName = QStringLiteral("自動読込表示設定.dp9").toUtf8();

} // namespace

class TestNetnsSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startupFilesPutBothOnChannel2();
    void captionsTravelOnChannel2();
    void typistMakesTheStartupSettings();
    void restartedStationComesBackOnChannel2();
    void strayFullNoticeLeavesTheKeyboardToTheTypist();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    QString folder(int i) const { return dir_->filePath(QStringLiteral("station%1").arg(i)); }
    bool start(int i);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
    QProcessEnvironment extra_;
};

bool TestNetnsSettings::start(int i) {
    // Each station is a copy of the program in a folder of its own, as two
    // PCs would have it.
    rig_->setStationBinary(QDir(folder(i)).filePath(QStringLiteral("quorel")));
    return rig_->startStation(i, extra_);
}

void TestNetnsSettings::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    const QString program = rig_->stationBinary();
    for (int i : {1, 2}) {
        QVERIFY(QDir().mkpath(folder(i)));
        QVERIFY(QFile::copy(program, QDir(folder(i)).filePath(QStringLiteral("quorel"))));
        QFile f(QDir(folder(i)).filePath(QString::fromUtf8(kStartupName)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(startupFile("desk" + QByteArray::number(i)));
    }
    extra_.insert(QStringLiteral("QT_LOGGING_RULES"),
                  QStringLiteral("quorel.caption.debug=true;quorel.members.debug=true;"
                                 "quorel.net.debug=true"));
    QVERIFY(start(1));
    QVERIFY(start(2));
    for (int i : {1, 2})
        CHECK(x_->waitForMainWindow(i, kArrivalMs),
              QStringLiteral("station %1 did not finish its start:\n%2")
                  .arg(i)
                  .arg(QString::fromLatin1(log(i).right(3000))));
}

void TestNetnsSettings::startupFilesPutBothOnChannel2() {
    for (int i : {1, 2}) {
        const int other = 3 - i;
        // The name was known before the first search on channel 1 went out.
        const QByteArray first = linesWith(log(i), "\"NMUDP8\" send").split('\n').value(0);
        CHECK(first.endsWith(" 6722"), "the first search was not on channel 1: " + first);
        // Then the whole file: channel 2's ports, and each finds the other
        // there, in Group C, under the file's name.
        CHECK_WITHIN(kArrivalMs, log(i).contains("\"NMUDP1\" bound 6811"),
                     QStringLiteral("station %1 never moved to channel 2:\n%2")
                         .arg(i)
                         .arg(QString::fromLatin1(linesWith(log(i), "bound"))));
        const QByteArray named = "quorel.members: request QList(" + quoted(address(other)) +
                                 ", \"desk" + QByteArray::number(other) + "\", \"Req\", \"3\")";
        const QByteArray answered = "quorel.members: answer QList(" + quoted(address(other)) +
                                    ", " + quoted(address(i)) + ", \"desk" +
                                    QByteArray::number(other) + "\"";
        CHECK_WITHIN(kArrivalMs, log(i).contains(named) || log(i).contains(answered),
                     QStringLiteral("station %1 did not find desk%2 in Group C:\n%3")
                         .arg(i)
                         .arg(other)
                         .arg(QString::fromLatin1(linesWith(log(i), "quorel.members"))));
    }
}

void TestNetnsSettings::captionsTravelOnChannel2() {
    x_->focusInputPart(1);
    x_->typeSentence(1, "settings travel");
    CHECK_WITHIN(
        kArrivalMs, log(2).contains("\"NMUDP1\" received 15 bytes from \"192.168.77.11\" 6811"),
        "the sentence did not reach station 2 on channel 2:\n" + linesWith(log(2), "NMUDP1"));
    CHECK_WITHIN(kArrivalMs, log(2).contains("received sentence \"settings travel\""),
                 "station 2 did not show the sentence:\n" + linesWith(log(2), "quorel.caption"));
}

void TestNetnsSettings::typistMakesTheStartupSettings() {
    const QString file = QDir(folder(2)).filePath(QString::fromUtf8(kStartupName));
    QVERIFY(QFile::remove(file));
    // From the input part, Ctrl+Tab seven times turns to the eighth page,
    // "Save"; its first controls are "保存", "読込" and "起動時設定にする".
    x_->focusInputPart(2);
    x_->keys(2, QStringList(7, QStringLiteral("ctrl+Tab")));
    x_->keys(2, {"Tab", "Tab", "Tab", "space"});
    const bool written = QTest::qWaitFor([&] { return QFile::exists(file); }, kArrivalMs);
    if (!written)
        QFAIL(
            qPrintable("no start-up file after the button; " + x_->keepScreenshot(2, "save-page")));
    x_->keys(2, QStringList(7, QStringLiteral("ctrl+shift+Tab")));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    CHECK(bytes.contains("\r\n801:1:") && bytes.contains("\r\n802:3:") &&
              lines.value(lines.size() - 2).startsWith("166:desk2:"),
          "the start-up file lacks channel, group or name:\n" + bytes.right(400));
    // Header, 298 catalogue keys, 801, 802, the audience view's 950 and 951, 166.
    CHECK(bytes.count("\r\n") == 304, QStringLiteral("%1 lines").arg(bytes.count("\r\n")));
}

void TestNetnsSettings::restartedStationComesBackOnChannel2() {
    QVERIFY(rig_->stopStation(2).has_value());
    const qsizetype before = log(2).size();
    QVERIFY(start(2));
    const auto since = [&] { return log(2).mid(log(2).size() < before ? 0 : before); };
    CHECK(x_->waitForMainWindow(2, kArrivalMs), "station 2 did not start again");
    // Its first search already carries the name from the file it wrote.
    CHECK_WITHIN(kArrivalMs,
                 since().contains("request QList(\"192.168.77.12\", \"desk2\", \"Req\", \"1\")"),
                 linesWith(since(), "quorel.members"));
    CHECK_WITHIN(kArrivalMs, since().contains("\"NMUDP1\" bound 6811"),
                 "station 2 did not come back on channel 2:\n" + linesWith(since(), "bound"));
    x_->focusInputPart(1);
    const qsizetype mark = log(2).size();
    x_->typeSentence(1, "back again");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark).contains("received sentence \"back again\""),
                 "station 2 did not show the sentence after its restart:\n" +
                     linesWith(log(2).mid(mark), "NMUDP1"));
}

void TestNetnsSettings::strayFullNoticeLeavesTheKeyboardToTheTypist() {
    // Any host may claim the group is full. The notice shows, and the typist
    // types on: nothing waits for a click on OK.
    QVERIFY(rig_->sendFromProbe("192.168.77.200,192.168.77.11,intruder,Ful",
                                NetnsRig::hostAddress(1), 6818));
    CHECK_WITHIN(
        kArrivalMs, x_->visibleWindows(1, false).size() == 2,
        QStringLiteral("no notice on station 1: %1").arg(x_->visibleWindows(1, false).join(' ')));
    const qsizetype mark = log(2).size();
    x_->focusInputPart(1);
    x_->typeSentence(1, "typing on");
    CHECK_WITHIN(kArrivalMs, log(2).mid(mark).contains("received sentence \"typing on\""),
                 "station 1's typist lost the keyboard to the notice; " +
                     x_->keepScreenshot(1, QStringLiteral("notice")));
}

void TestNetnsSettings::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsSettings)
#include "tst_netns_settings.moc"
