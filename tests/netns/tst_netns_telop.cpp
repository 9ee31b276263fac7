// A telop on a real network: two stations, each its own program in its own
// folder, in their own namespaces. Station 1's start-up settings give its
// telop red text on blue; station 2's let it receive telops, and station 2
// becomes the display station ("For Display"). The typist of station 1 opens
// the information window with "Display Telop" on the "Auxiliary" page, brings
// it forward again with Ctrl+O, types the telop and presses "Send". The
// display station shows it scrolling from right to left: its information
// window holds red text on blue, further left in a later screenshot.

#include "netns_rig.h"
#include "x_stations.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::XStations;

namespace {

constexpr int kArrivalMs = 15000;

// "999:＜番号付き表示設定ファイル２＞" in code page 932, then the lines given.
QByteArray startupFile(const QByteArray& lines) {
    return "999:\x81\x83\x94\xd4\x8d\x86\x95\x74\x82\xab\x95\x5c\x8e\xa6\x90\xdd\x92\xe8"
           "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\x51\x81\x84\r\n" +
           lines;
}

const QByteArray kStartupName = QStringLiteral("自動読込表示設定.dp9").toUtf8();

bool red(int r, int g, int b) {
    return r > 180 && g < 90 && b < 90;
}
bool blue(int r, int g, int b) {
    return r < 90 && g < 90 && b > 180;
}

// The leftmost column of a binary PPM that holds a red pixel; nothing
// without one.
std::optional<int> leftmostRed(const QByteArray& ppm) {
    static const QRegularExpression header(QStringLiteral("^P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s"));
    const auto m = header.match(QString::fromLatin1(ppm.left(64)));
    if (!m.hasMatch())
        return std::nullopt;
    const int width = m.captured(1).toInt();
    const int height = m.captured(2).toInt();
    const qsizetype start = m.capturedEnd(0);
    if (ppm.size() < start + qsizetype(width) * height * 3)
        return std::nullopt;
    std::optional<int> left;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < (left ? *left : width); ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(ppm.constData()) + start +
                            (qsizetype(y) * width + x) * 3;
            if (red(p[0], p[1], p[2]))
                left = x;
        }
    return left;
}

} // namespace

class TestNetnsTelop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void telopScrollsOnTheDisplayStation();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    QString folder(int i) const { return dir_->filePath(QStringLiteral("station%1").arg(i)); }
    QByteArray grabWindow(const QString& window);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
};

QByteArray TestNetnsTelop::grabWindow(const QString& window) {
    return rig_->runOnDisplay({"import", "-window", window, "-depth", "8", "ppm:-"}).out;
}

void TestNetnsTelop::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(2);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    if (!x_->canGrab())
        QSKIP("ImageMagick's import is not installed: no screenshots");
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // Station 1 sends red text (255) on blue (16711680), 40 points; station 2
    // takes telops (267 false).
    const QByteArray files[] = {startupFile("512:255:x\r\n513:40:x\r\n514:16711680:x\r\n"),
                                startupFile("267:false:x\r\n")};
    const QString program = rig_->stationBinary();
    QProcessEnvironment extra;
    extra.insert(QStringLiteral("QT_LOGGING_RULES"),
                 QStringLiteral("quorel.telop.debug=true;quorel.telop.tick.debug=true;"
                                "quorel.window.debug=true;quorel.net.debug=true"));
    for (int i : {1, 2}) {
        QVERIFY(QDir().mkpath(folder(i)));
        const QString copy = QDir(folder(i)).filePath(QStringLiteral("quorel"));
        QVERIFY(QFile::copy(program, copy));
        QFile f(QDir(folder(i)).filePath(QString::fromUtf8(kStartupName)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(files[i - 1]);
        f.close();
        rig_->setStationBinary(copy);
        QVERIFY(rig_->startStation(i, extra));
        if (i == 1)
            CHECK_WITHIN(kArrivalMs, log(1).contains("\"NMUDP8\" send "),
                         "station 1 never searched");
    }
    for (int i : {1, 2})
        CHECK(x_->waitForMainWindow(i, kArrivalMs),
              QStringLiteral("station %1 did not start:\n%2")
                  .arg(i)
                  .arg(QString::fromLatin1(log(i).right(3000))));

    // Station 2 becomes the display station.
    if (const QString error = x_->makeDisplayStation(2, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));
}

void TestNetnsTelop::telopScrollsOnTheDisplayStation() {
    // "Display Telop" on the "Auxiliary" page opens the information window.
    x_->focusInputPart(1);
    x_->keys(1, {"ctrl+Tab"});
    CHECK(x_->tabTo(1, "Button97", 30),
          "no way to \"Display Telop\":\n" + linesWith(log(1), "focus on").right(2000));
    x_->xdotool({"key", "space"});
    const QString telop1 = x_->otherWindow(1, kArrivalMs);
    CHECK(!telop1.isEmpty(), "station 1 opened no information window");

    // Back on the main window, Ctrl+O brings the information window forward
    // with the keyboard in its text box.
    const qsizetype focusMark = log(1).size();
    x_->keys(1, {"ctrl+o"});
    CHECK_WITHIN(kArrivalMs, log(1).mid(focusMark).contains("focus on \"Edit1\""),
                 "Ctrl+O did not bring the telop's text box:\n" +
                     linesWith(log(1).mid(focusMark), "focus on"));
    x_->xdotool({"key", "ctrl+a"});
    x_->xdotool({"type", "--delay", "15", "TELOP ON AIR"});
    CHECK(x_->tabTo(1, "Button5", 3), "no way to \"Send\"");
    const qsizetype mark2 = log(2).size();
    x_->xdotool({"key", "space"});

    CHECK_WITHIN(kArrivalMs, log(2).mid(mark2).contains("telop started: \"TELOP ON AIR\""),
                 "the display station started no telop:\n" +
                     linesWith(log(2).mid(mark2), "quorel.telop") + "station 1:\n" +
                     linesWith(log(1), "quorel.telop"));
    const QString telop2 = x_->otherWindow(2, kArrivalMs);
    CHECK(!telop2.isEmpty(), "the display station shows no information window");

    // Red letters on blue, and later further left.
    std::optional<int> first;
    QByteArray shot;
    const bool seen = QTest::qWaitFor(
        [&] {
            shot = grabWindow(telop2);
            first = leftmostRed(shot);
            return first.has_value();
        },
        kArrivalMs);
    CHECK(seen, "no red text on the display station's telop; " +
                    x_->keepScreenshot(2, QStringLiteral("telop")) + "\n" +
                    linesWith(log(2).mid(mark2), "telop started"));
    const int bluePixels = quorel::test::countPixels(shot, blue);
    CHECK(bluePixels > 1000,
          QStringLiteral("the telop's background is not blue (%1 pixels)").arg(bluePixels));
    QTest::qWait(1500);
    const std::optional<int> later = leftmostRed(grabWindow(telop2));
    CHECK(later && *later < *first - 10,
          QStringLiteral("the telop did not move left: %1, then %2")
              .arg(*first)
              .arg(later ? QString::number(*later) : QStringLiteral("none")));
    // The log says the same: drawn further left tick by tick.
    const QByteArray ticks = linesWith(log(2).mid(mark2), "telop drawn at");
    CHECK(ticks.count('\n') > 10, "too few ticks:\n" + ticks.right(1000));
}

void TestNetnsTelop::cleanupTestCase() {
    if (rig_)
        rig_->stopAll();
}

QTEST_MAIN(TestNetnsTelop)
#include "tst_netns_telop.moc"
