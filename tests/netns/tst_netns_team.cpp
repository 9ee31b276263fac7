// A team at work: two typists and a display station on one LAN, each its own
// station process, driven with real keystrokes (see x_stations.h).
//
// - The three find each other, and with three in the group nobody asks for a
//   partner at start.
// - Station 1 nominates station 2 with "Be Partner !" on the Partner page;
//   station 2 accepts, and both titles name the partner.
// - Station 3 becomes a display station ("For Display", then F1: frameless).
// - Every keystroke on station 1 shows on station 2's monitor part and reaches
//   station 3's 8-person monitor.
// - Enter puts the sentence on all three screens, F9 takes it back on all
//   three, and closing station 1 ends the partnership on station 2.
//
// The test functions are the steps of one session on one rig and run in order.

#include "netns_rig.h"
#include "x_stations.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <array>
#include <memory>
#include <optional>

using quorel::test::address;
using quorel::test::linesWith;
using quorel::test::NetnsRig;
using quorel::test::quoted;
using quorel::test::XStations;

namespace {

constexpr int kStations = 3;
constexpr int kArrivalMs = 10000;
// Long enough for a datagram on the bridge and its log line to come through;
// used only where something must NOT happen.
constexpr int kQuietMs = 1000;

QByteArray hostName() {
    return QHostInfo::localHostName().toLatin1();
}

// The texts of the log lines "<prefix>"text"", in order. The texts here are
// plain ASCII, which qDebug() quotes without escapes.
QList<QByteArray> quotedAfter(const QByteArray& log, const QByteArray& prefix) {
    QList<QByteArray> texts;
    for (const QByteArray& line : log.split('\n')) {
        const qsizetype at = line.indexOf(prefix);
        if (at < 0)
            continue;
        QByteArray text = line.mid(at + prefix.size()).trimmed();
        if (text.startsWith('"') && text.endsWith('"') && text.size() >= 2)
            text = text.mid(1, text.size() - 2);
        texts << text;
    }
    return texts;
}

QByteArray joined(const QList<QByteArray>& texts) {
    QByteArray out;
    for (const QByteArray& t : texts)
        out += quoted(t) + '\n';
    return out.isEmpty() ? QByteArray("(none)\n") : out;
}

struct RecordChange {
    int bytes = 0;
    int lines = 0;
};

// "quorel.caption: record change: first F removed R added A bytes B lines L"
QList<RecordChange> recordChanges(const QByteArray& log) {
    static const QRegularExpression re(QStringLiteral(
        R"(quorel\.caption: record change: first -?\d+ removed \d+ added \d+ bytes (-?\d+) lines (\d+))"));
    QList<RecordChange> changes;
    auto it = re.globalMatch(QString::fromLatin1(log));
    while (it.hasNext()) {
        const auto m = it.next();
        changes << RecordChange{m.captured(1).toInt(), m.captured(2).toInt()};
    }
    return changes;
}

// Text of a dark colour on the screen part's white.
int darkPixels(const QByteArray& ppm) {
    return quorel::test::countPixels(ppm, [](int r, int g, int b) { return r + g + b < 3 * 128; });
}

// A window's _MOTIF_WM_HINTS as xprop shows them: "flags, functions,
// decorations, input mode, status". Qt takes the frame off by the
// decorations field.
struct Motif {
    QString text;
    QList<qulonglong> fields;
    bool borderless() const { return fields.size() >= 3 && (fields[0] & 0x2) && fields[2] == 0; }
};

} // namespace

class TestNetnsTeam : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void threeStationsFormOneGroup();
    void typistsBecomePartnersByTheirButton();
    void thirdStationBecomesADisplayStation();
    void keystrokesShowOnThePartnersMonitor();
    void enterPutsTheSentenceOnEveryScreen();
    void f9TakesTheSentenceBackEverywhere();
    void closingEndsThePartnership();
    void cleanupTestCase();

private:
    QByteArray log(int i) const { return rig_->stationOutput(i); }
    QByteArray logSince(int i, qsizetype mark) const { return log(i).mid(mark); }
    std::array<qsizetype, kStations + 1> marks() const;
    std::optional<Motif> motifHints(const QString& window);
    QByteArray tails(const QByteArray& category) const;

    std::unique_ptr<NetnsRig> rig_;
    std::unique_ptr<XStations> x_;
    std::array<int, kStations + 1> linesBefore_{}; // record lines before the sentence, or -1
    const QByteArray sentence_ = "team one";
};

std::array<qsizetype, kStations + 1> TestNetnsTeam::marks() const {
    std::array<qsizetype, kStations + 1> m{};
    for (int i = 1; i <= kStations; ++i)
        m[std::size_t(i)] = log(i).size();
    return m;
}

QByteArray TestNetnsTeam::tails(const QByteArray& category) const {
    QByteArray out;
    for (int i = 1; i <= kStations; ++i)
        out += "--- station " + QByteArray::number(i) + " (" +
               (rig_->isRunning(i) ? "running" : "not running") + "), " + category + ":\n" +
               linesWith(log(i), category + ": ").right(1500);
    return out;
}

// Empty without xprop.
std::optional<Motif> TestNetnsTeam::motifHints(const QString& window) {
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty())
        return std::nullopt;
    const auto r = rig_->runOnDisplay({"xprop", "-id", window, "_MOTIF_WM_HINTS"});
    Motif m;
    m.text = QString::fromLatin1(r.out).trimmed(); // "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, ..."
    for (const QString& field : m.text.section('=', 1).split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qulonglong value = field.trimmed().toULongLong(&ok, 0);
        if (ok)
            m.fields << value;
    }
    return m;
}

void TestNetnsTeam::initTestCase() {
    rig_ = std::make_unique<NetnsRig>(kStations);
    x_ = std::make_unique<XStations>(*rig_);
    if (const QString reason = x_->skipReason(); !reason.isEmpty())
        QSKIP(qPrintable(reason));

    QProcessEnvironment extra;
    extra.insert(QStringLiteral("QT_LOGGING_RULES"),
                 QStringLiteral("quorel.caption.debug=true;quorel.members.debug=true;"
                                "quorel.net.debug=true;quorel.partner.debug=true;"
                                "quorel.monitor.debug=true;quorel.undo.debug=true"));

    // One after the other, so the member lists come out the same every run:
    // a station lists the others in the order it first hears of them. Station
    // 1 is alone when it searches, hears station 3's request first (slot 1)
    // and station 2's next (slot 2). Station 3 hears station 1's answer first.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rig_->startStation(1, extra));
    CHECK_WITHIN(kArrivalMs, log(1).contains("quorel.net: \"NMUDP8\" send "),
                 "station 1 never searched for members:\n" + log(1).right(3000));
    QVERIFY(rig_->startStation(3, extra));
    const QByteArray heard3 = "quorel.members: request QList(" + quoted(address(3));
    CHECK_WITHIN(kArrivalMs,
                 log(1).contains(heard3) &&
                     log(3).contains("quorel.members: answer QList(" + quoted(address(1))),
                 "stations 1 and 3 did not find each other\n" + tails("quorel.members"));
    QVERIFY(rig_->startStation(2, extra));
    const QByteArray heard2 = "quorel.members: request QList(" + quoted(address(2));
    CHECK_WITHIN(kArrivalMs, log(1).contains(heard2) && log(3).contains(heard2),
                 "station 2's search did not reach stations 1 and 3\n" + tails("quorel.members"));
    // Station 1's start-up ends five seconds after its launch, and by then it
    // must know both others; a machine too slow for that makes the start-up
    // partner rule pick station 3.
    const qint64 joined = clock.elapsed();
    CHECK(joined < 4500, QStringLiteral("station 2 joined only %1 ms after station 1's launch: too "
                                        "late for the start-up of station 1")
                             .arg(joined));

    // Each start finishes five seconds after its launch; then its main window
    // is its one window on screen.
    for (int i : {1, 3, 2}) {
        CHECK(x_->waitForMainWindow(i, kArrivalMs),
              QStringLiteral("station %1 (%2) shows the windows \"%3\"")
                  .arg(i)
                  .arg(rig_->isRunning(i) ? "running" : "not running")
                  .arg(x_->visibleWindows(i, false).join(' ')));
    }
    qInfo("the three stations are up after %lld ms", clock.elapsed());
}

void TestNetnsTeam::threeStationsFormOneGroup() {
    // Each station lists each other one: it took the other's request, or the
    // other's answer to its own request ("from,to,name,Ans").
    for (int i = 1; i <= kStations; ++i) {
        for (int j = 1; j <= kStations; ++j) {
            if (i == j)
                continue;
            const QByteArray request = "quorel.members: request QList(" + quoted(address(j));
            const QByteArray answer =
                "quorel.members: answer QList(" + quoted(address(j)) + ", " + quoted(address(i));
            CHECK(log(i).contains(request) || log(i).contains(answer),
                  QStringLiteral("station %1 never heard of station %2; its log:\n%3")
                      .arg(i)
                      .arg(j)
                      .arg(QString::fromLatin1(linesWith(log(i), "quorel.members"))));
        }
    }

    // With two members each, nobody asked for a partner at start: only a
    // station that found exactly one member does.
    QTest::qWait(kQuietMs);
    for (int i = 1; i <= kStations; ++i) {
        CHECK(!log(i).contains("\"NMUDP4\" send") && !log(i).contains("quorel.partner: "),
              QStringLiteral("a partner request at start with three stations; station %1:\n%2")
                  .arg(i)
                  .arg(QString::fromLatin1(linesWith(log(i), "NMUDP4") +
                                           linesWith(log(i), "quorel.partner"))));
        QCOMPARE(x_->windowName(x_->window(i)), QStringLiteral("Quorel"));
    }
}

void TestNetnsTeam::typistsBecomePartnersByTheirButton() {
    // On station 1, the keyboard to "Be Partner !" of member slot 2 (station
    // 2, Button29). From the input part, Ctrl+Tab twice turns to the third
    // page, "Partner", and Tab goes on to its first control, the LAN switch
    // (CheckBox22). Then the member list row by row: the companion tick, the
    // name, the address, and the row's shown button ("Partner" is hidden).
    // Eight Tabs after the LAN switch is slot 2's "Be Partner !"; space
    // presses it. A failure leaves the page as it is, so its screenshot shows
    // where the focus went.
    const auto mark = marks();
    x_->focusInputPart(1);
    const auto backToScreen = qScopeGuard([this] {
        x_->keys(1, {"ctrl+shift+Tab", "ctrl+shift+Tab"});
    });
    x_->keys(1, {"ctrl+Tab", "ctrl+Tab", "Tab"});
    x_->keys(1, QStringList(8, QStringLiteral("Tab")));
    x_->keys(1, {"space"});

    // The request goes to station 2 alone, on 6719.
    const QByteArray host = hostName();
    const QByteArray request = "quorel.partner: partner message QList(" + quoted(address(1)) +
                               ", " + quoted(address(2)) + ", " + quoted(host) +
                               ", \"Req-Partner\", \"Req\")";
    CHECK_WITHIN(kArrivalMs, logSince(2, mark[2]).contains(request),
                 "station 2 got no partner request from station 1; " +
                     x_->keepScreenshot(1, QStringLiteral("be-partner")) + '\n' +
                     tails("quorel.partner") + linesWith(logSince(1, mark[1]), "NMUDP4"));
    const QByteArray body = address(1) + ',' + address(2) + ',' + host + ",Req-Partner,Req";
    QVERIFY(logSince(1, mark[1])
                .contains("quorel.net: \"NMUDP4\" send " + QByteArray::number(body.size()) +
                          " bytes to " + quoted(address(2)) + " 6719"));

    // Station 2 accepts, and station 1 takes the acceptance.
    const QByteArray acceptance = "quorel.partner: partner message QList(" + quoted(address(2)) +
                                  ", " + quoted(address(1)) + ", " + quoted(host) +
                                  ", \"Req-Partner\", \"Ans\")";
    CHECK_WITHIN(kArrivalMs, logSince(1, mark[1]).contains(acceptance),
                 "station 1 got no acceptance from station 2\n" + tails("quorel.partner"));

    // Both titles name the partner; station 3's does not change.
    const QString title = QStringLiteral("Quorel  <%1>").arg(QString::fromLatin1(host));
    for (int i : {1, 2})
        CHECK_WITHIN(kArrivalMs, x_->windowName(x_->window(i)) == title,
                     QStringLiteral("station %1's title is \"%2\", not \"%3\"")
                         .arg(i)
                         .arg(x_->windowName(x_->window(i)), title));
    QTest::qWait(kQuietMs);
    CHECK(!logSince(3, mark[3]).contains("quorel.partner: ") &&
              !logSince(3, mark[3]).contains("\"NMUDP4\" received"),
          "station 3 took part in the nomination:\n" + linesWith(logSince(3, mark[3]), "partner"));
    QCOMPARE(x_->windowName(x_->window(3)), QStringLiteral("Quorel"));
    // One request and one acceptance, and no cancel.
    QCOMPARE(logSince(1, mark[1]).count("\"NMUDP4\" send"), 1);
    QCOMPARE(logSince(2, mark[2]).count("\"NMUDP4\" send"), 1);
}

void TestNetnsTeam::thirdStationBecomesADisplayStation() {
    // Station 3, with the keyboard, presses "For Display" and the note about
    // the display-only mode comes up; the station is back on its screen page.
    if (const QString error = x_->makeDisplayStation(3, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable(error));

    const QString window = x_->window(3);
    const std::optional<Motif> framed = motifHints(window);
    if (framed)
        CHECK(!framed->borderless(), "station 3 is borderless before F1: " + framed->text);

    // In the display-only mode F1 takes the tabs away and the frame off,
    // after a note about it while the tabs are still shown.
    x_->keys(3, {"F1"});
    if (const QString error = x_->closeMessageBox(3, kArrivalMs); !error.isEmpty())
        QFAIL(qPrintable("F1: " + error + "; " + x_->keepScreenshot(3, QStringLiteral("f1"))));
    if (framed)
        CHECK_WITHIN(kArrivalMs, motifHints(window) && motifHints(window)->borderless(),
                     "station 3 is not borderless after F1: " +
                         motifHints(window).value_or(Motif{}).text);

    // What is left is the screen part alone with an empty record: no tab bar,
    // no input part, not a single dark pixel.
    if (x_->canGrab())
        CHECK_WITHIN(kArrivalMs, darkPixels(x_->grab(3)) == 0,
                     QStringLiteral("station 3 shows more than a blank screen (%1 dark pixels); %2")
                         .arg(darkPixels(x_->grab(3)))
                         .arg(x_->keepScreenshot(3, QStringLiteral("blank"))));
}

void TestNetnsTeam::keystrokesShowOnThePartnersMonitor() {
    const auto mark = marks();
    x_->focus(1);
    x_->xdotool({"key", "Escape"}); // the input part still holds the key hint
    x_->type(1, sentence_);

    // Every key release sends the whole input to the partner on 6712, and
    // station 2's monitor part shows it: the input growing key by key.
    QList<QByteArray> expected{"$clear$"}; // Esc emptied the input
    for (qsizetype n = 1; n <= sentence_.size(); ++n)
        expected << sentence_.left(n);
    const QByteArray shown = "quorel.monitor: partner input ";
    CHECK_WITHIN(kArrivalMs, quotedAfter(logSince(2, mark[2]), shown) == expected,
                 "station 2's monitor part showed:\n" +
                     joined(quotedAfter(logSince(2, mark[2]), shown)) + "expected:\n" +
                     joined(expected) + x_->keepScreenshot(2, QStringLiteral("monitor")));
    QVERIFY(logSince(2, mark[2])
                .contains("quorel.net: \"NMUDP2\" received " +
                          QByteArray::number(sentence_.size()) + " bytes from " +
                          quoted(address(1)) + " 6712"));
    const QByteArray linkSends = linesWith(logSince(1, mark[1]), "\"NMUDP2\" send");
    QCOMPARE(linkSends.count('\n'), expected.size());
    QCOMPARE(linkSends.count(quoted(address(2)) + " 6712\n"), expected.size());

    // Every member gets the input on 6721, "own address,input": station 3
    // shows it in pane 1 of its 8-person monitor (station 1 is its first
    // member).
    const QByteArray monitorBody = address(1) + ',' + sentence_;
    CHECK_WITHIN(
        kArrivalMs,
        logSince(3, mark[3]).contains("quorel.monitor: member 1 input " + quoted(sentence_)),
        "station 3's 8-person monitor did not get the input:\n" +
            linesWith(logSince(3, mark[3]), "quorel.monitor") +
            linesWith(logSince(3, mark[3]), "NMUDP7"));
    QVERIFY(logSince(3, mark[3])
                .contains("quorel.net: \"NMUDP7\" received " +
                          QByteArray::number(monitorBody.size()) + " bytes from " +
                          quoted(address(1)) + " 6721"));

    // Station 3 is not the partner, and nothing is on a screen yet.
    QTest::qWait(kQuietMs);
    CHECK(!logSince(3, mark[3]).contains("\"NMUDP2\" received") &&
              !logSince(3, mark[3]).contains("partner input"),
          "station 3 got partner link traffic:\n" + linesWith(logSince(3, mark[3]), "NMUDP2"));
    for (int i = 1; i <= kStations; ++i)
        CHECK(!logSince(i, mark[std::size_t(i)]).contains("sentence "),
              QStringLiteral("station %1 showed a sentence before Enter:\n").arg(i) +
                  linesWith(logSince(i, mark[std::size_t(i)]), "quorel.caption"));
}

void TestNetnsTeam::enterPutsTheSentenceOnEveryScreen() {
    for (int i = 1; i <= kStations; ++i) {
        const QList<RecordChange> changes = recordChanges(log(i));
        linesBefore_[std::size_t(i)] = changes.isEmpty() ? -1 : changes.constLast().lines;
    }
    const auto mark = marks();
    x_->keys(1, {"Return"});

    CHECK_WITHIN(kArrivalMs,
                 logSince(1, mark[1]).contains("quorel.caption: own sentence " + quoted(sentence_)),
                 "station 1 did not take the sentence\n" + tails("quorel.caption"));
    for (int j : {2, 3})
        CHECK_WITHIN(kArrivalMs,
                     logSince(j, mark[std::size_t(j)])
                         .contains("quorel.caption: received sentence " + quoted(sentence_)),
                     QStringLiteral("station %1 did not show the sentence\n").arg(j) +
                         tails("quorel.caption"));

    // The input part is empty again, and the partner's monitor part is blanked:
    // a single space as the sentence goes, then the empty input.
    CHECK_WITHIN(kArrivalMs,
                 quotedAfter(logSince(2, mark[2]), "quorel.monitor: partner input ") ==
                     (QList<QByteArray>{" ", "$null$"}),
                 "station 2's monitor part showed after Enter:\n" +
                     linesWith(logSince(2, mark[2]), "quorel.monitor"));

    // The display station's screen shows it.
    if (x_->canGrab())
        CHECK_WITHIN(kArrivalMs, darkPixels(x_->grab(3)) > 100,
                     QStringLiteral("no text on station 3's screen (%1 dark pixels); %2")
                         .arg(darkPixels(x_->grab(3)))
                         .arg(x_->keepScreenshot(3, QStringLiteral("sentence"))));

    QTest::qWait(kQuietMs);
    for (int i = 1; i <= kStations; ++i) {
        const QByteArray since = logSince(i, mark[std::size_t(i)]);
        QCOMPARE(since.count("sentence " + quoted(sentence_)), 1);
        int grown = 0;
        for (const RecordChange& c : recordChanges(since))
            grown += c.bytes;
        // The sentence and its line break.
        CHECK(grown == sentence_.size() + 2,
              QStringLiteral("station %1's record grew by %2 bytes:\n").arg(i).arg(grown) +
                  linesWith(since, "record change"));
    }
}

void TestNetnsTeam::f9TakesTheSentenceBackEverywhere() {
    const auto mark = marks();
    x_->keys(1, {"F9"});

    // Station 1 takes the sentence off its record, back into its input part,
    // and tells every member on 6723, unscrambled.
    for (int j : {2, 3})
        CHECK_WITHIN(
            kArrivalMs,
            logSince(1, mark[1])
                .contains("quorel.net: \"NMUDP9\" send 4 bytes to " + quoted(address(j)) + " 6723"),
            QStringLiteral("station 1 sent no undo to station %1:\n").arg(j) +
                linesWith(logSince(1, mark[1]), "NMUDP9"));

    // On each station the record loses the line: it shrinks by what the
    // sentence added, back to the line count it had before.
    for (int i = 1; i <= kStations; ++i) {
        const qsizetype m = mark[std::size_t(i)];
        if (i != 1)
            CHECK_WITHIN(
                kArrivalMs, logSince(i, m).contains("quorel.undo: command \"undo\" applied"),
                QStringLiteral("station %1 did not apply the undo:\n").arg(i) +
                    linesWith(logSince(i, m), "quorel.undo") + linesWith(logSince(i, m), "NMUDP9"));
        auto shrunk = [&] {
            int bytes = 0;
            for (const RecordChange& c : recordChanges(logSince(i, m)))
                bytes += c.bytes;
            return bytes;
        };
        auto lines = [&] {
            const QList<RecordChange> changes = recordChanges(logSince(i, m));
            return changes.isEmpty() ? -1 : changes.constLast().lines;
        };
        CHECK_WITHIN(
            kArrivalMs, shrunk() == -(sentence_.size() + 2),
            QStringLiteral("station %1's record changed by %2 bytes:\n").arg(i).arg(shrunk()) +
                linesWith(logSince(i, m), "quorel.caption"));
        if (linesBefore_[std::size_t(i)] >= 0)
            CHECK(lines() == linesBefore_[std::size_t(i)],
                  QStringLiteral("station %1's record has %2 lines after the undo, %3 before the "
                                 "sentence:\n")
                          .arg(i)
                          .arg(lines())
                          .arg(linesBefore_[std::size_t(i)]) +
                      linesWith(log(i), "record change"));
    }

    // The display station's screen is blank again.
    if (x_->canGrab())
        CHECK_WITHIN(kArrivalMs, darkPixels(x_->grab(3)) == 0,
                     QStringLiteral("station 3's screen still shows text (%1 dark pixels); %2")
                         .arg(darkPixels(x_->grab(3)))
                         .arg(x_->keepScreenshot(3, QStringLiteral("undo"))));

    // The sentence is back in station 1's input part, and so on station 2's
    // monitor part.
    CHECK_WITHIN(
        kArrivalMs,
        quotedAfter(logSince(2, mark[2]), "quorel.monitor: partner input ").contains(sentence_),
        "station 2's monitor part showed after F9:\n" +
            linesWith(logSince(2, mark[2]), "quorel.monitor"));
}

void TestNetnsTeam::closingEndsThePartnership() {
    // Closing station 1 cancels the partnership: station 2 takes the cancel
    // and its title loses the partner's name.
    const auto mark = marks();
    QCOMPARE(rig_->stopStation(1), std::optional<int>(0));
    const QByteArray cancel = "quorel.partner: partner message QList(" + quoted(address(1)) + ", " +
                              quoted(address(2)) + ", " + quoted(hostName()) +
                              ", \"Can-Partner\", \"Ans\")";
    CHECK_WITHIN(kArrivalMs, logSince(2, mark[2]).contains(cancel),
                 "station 2 got no cancel from station 1\n" + tails("quorel.partner"));
    CHECK_WITHIN(kArrivalMs, x_->windowName(x_->window(2)) == QStringLiteral("Quorel"),
                 "station 2's title stays " + x_->windowName(x_->window(2)));
    for (int i : {2, 3})
        QCOMPARE(rig_->stopStation(i), std::optional<int>(0));
}

void TestNetnsTeam::cleanupTestCase() {
    x_.reset();
    rig_.reset();
}

QTEST_GUILESS_MAIN(TestNetnsTeam)
#include "tst_netns_team.moc"
