// A typist matches the partner's screen on a real network: two stations, each
// its own program in its own folder, in their own namespaces.
//
// - Station 2 starts with a display of its own (nine lines, 24-point captions)
//   from its start-up settings file.
// - Started one after the other, the two find each other and become partners
//   (at the end of the start, or by "Be Partner !" on station 1).
// - On station 1 the typist turns to "Display 1" and presses "Match": station 1
//   asks, station 2 answers with its width, line count and font size, and
//   station 1 applies them and computes its line spacing again.

#include "netns_rig.h"
#include "x_stations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

// "999:＜番号付き表示設定ファイル２＞" in code page 932, CR LF.
const QByteArray kHeader = "999:\x81\x83\x94\xd4\x8d\x86\x95\x74\x82\xab\x95\x5c\x8e\xa6\x90\xdd"
                           "\x92\xe8\x83\x74\x83\x40\x83\x43\x83\x8b\x82\x51\x81\x84\r\n";

} // namespace

class TestNetnsRemote : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typistMatchesThePartnersScreen();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    QString folder(int i) const { return dir_->filePath(QStringLiteral("station%1").arg(i)); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

void TestNetnsRemote::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    dir_ = std::make_unique<QTemporaryDir>();
    const QString program = rig_->stationBinary();
    for (int i : {1, 2}) {
        QVERIFY(QDir().mkpath(folder(i)));
        QVERIFY(QFile::copy(program, QDir(folder(i)).filePath(QStringLiteral("quorel"))));
    }
    {
        QFile f(QDir(folder(2)).filePath(QStringLiteral("自動読込表示設定.dp9")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(kHeader + "277:false:x\r\n004:9:x\r\n009:24:x\r\n166:desk2:x\r\n");
    }
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("QT_LOGGING_RULES"),
                 QStringLiteral("quorel.settings.debug=true;quorel.partner.debug=true;"
                                "quorel.members.debug=true;quorel.net.debug=true"));
    rig_->setStationBinary(QDir(folder(1)).filePath(QStringLiteral("quorel")));
    QVERIFY(rig_->startStation(1, extra));
    CHECK_WITHIN(kArrivalMs, log(1).contains("\"NMUDP8\" send "), "station 1 never searched");
    rig_->setStationBinary(QDir(folder(2)).filePath(QStringLiteral("quorel")));
    QVERIFY(rig_->startStation(2, extra));
    for (int i : {1, 2})
        CHECK(x_->waitForMainWindow(i, kArrivalMs),
              QStringLiteral("station %1 did not start").arg(i));
    // Both asked their one member at the end of their start; when the two
    // requests crossed, nobody is partnered, and the typist of station 1
    // nominates station 2 on the "Partner" page: the LAN switch, then slot 1's
    // companion tick, name, address and "Be Partner !".
    QTest::qWait(1500);
    if (!x_->windowName(x_->window(1)).contains(QStringLiteral("<desk2>"))) {
        x_->focusInputPart(1);
        x_->keys(1, {"ctrl+Tab", "ctrl+Tab", "Tab"});
        x_->keys(1, {"Tab", "Tab", "Tab", "Tab", "space"});
        x_->keys(1, {"ctrl+shift+Tab", "ctrl+shift+Tab"});
    }
    CHECK_WITHIN(kArrivalMs,
                 x_->windowName(x_->window(1)).contains(QStringLiteral("<desk2>")) &&
                     x_->windowName(x_->window(2)).contains(QStringLiteral("<")),
                 "the two did not become partners:\n" + linesWith(log(1), "quorel.partner") +
                     linesWith(log(1), "quorel.members"));
}

void TestNetnsRemote::typistMatchesThePartnersScreen() {
    const qsizetype mark1 = log(1).size();
    const qsizetype mark2 = log(2).size();
    // From the input part, Ctrl+Tab three times turns to "Display 1". Its
    // controls in order: the automatic adjustment, the line count, the line
    // spacing, "Calculate Line Spacing...", the two line-feed options, the
    // screen font and colour buttons, the three persons buttons, then "Match".
    x_->focusInputPart(1);
    x_->keys(1, QStringList(3, QStringLiteral("ctrl+Tab")));
    x_->keys(1, QStringList(12, QStringLiteral("Tab")) << QStringLiteral("space"));
    const QByteArray applied = "quorel.settings: remote settings QList(";
    const bool matched =
        QTest::qWaitFor([&] { return log(1).mid(mark1).contains(applied); }, kArrivalMs);
    const QString shot = matched ? QString() : x_->keepScreenshot(1, QStringLiteral("match"));
    x_->keys(1, QStringList(3, QStringLiteral("ctrl+shift+Tab")));
    CHECK(matched, "station 1 applied no answer; " + shot + "\nstation 1:\n" +
                       linesWith(log(1).mid(mark1), "NMUDP2") + "station 2:\n" +
                       linesWith(log(2).mid(mark2), "NMUDP2"));
    // Station 2 took the request from its partner and answered it.
    CHECK(linesWith(log(2).mid(mark2), applied).contains("\"607:true:"),
          "station 2 did not take the request:\n" +
              linesWith(log(2).mid(mark2), "quorel.settings"));
    const QByteArray line = linesWith(log(1).mid(mark1), applied);
    CHECK(line.contains("\"004:9:") && line.contains("\"009:24:") && line.contains("\"608:true:") &&
              line.contains("\"001:"),
          "the answer lacks station 2's sizes: " + line);
    CHECK(!log(1).mid(mark1).contains("not from the partner"), log(1).mid(mark1).right(2000));
}

void TestNetnsRemote::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsRemote)
#include "tst_netns_remote.moc"
