// The display record's logs: the exit save, the periodic check with and
// without its save, never overwriting a log, failed writes that keep the
// record, the check timer's interval, the threshold boxes, the two save
// dialogs, and the settings keys of the clearing. Time comes from the
// fixture's clock and the check is run directly: nothing waits.

#include "app/main_console.h"
#include "app/station.h"
#include "caption/screen_part.h"
#include "logs/display_log.h"
#include "settings/settings_commands.h"
#include "settings/settings_registry.h"
#include "station_fixture.h"
#include "text/cp932.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace quorel;
using quorel::test::StationFixture;

namespace {

// The name every automatic log of the fixture's clock (2026-12-10 9:00:00)
// gets first.
const QString kStem = QStringLiteral("2026_12_10-9_00_00");

// Code page 932 bytes written out by hand, so that the test does not lean on
// the encoder it checks.
const QByteArray kExitLineBytes = "---\x82\x70\x82\x95\x82\x8f\x82\x92\x82\x85\x82\x8c\x8f\x49"
                                  "\x97\xb9\x8e\x9e\x8e\xa9\x93\xae\x95\xdb\x91\xb6---";
const QByteArray kContinuedBytes = "\x8c\x70\x91\xb1\x95\xdb\x91\xb6"; // 継続保存
const QByteArray kTestBytes = "\x83\x65\x83\x58\x83\x67";              // テスト

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList textFiles(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

// A record of `count` lines of `width` ASCII characters each ("L0001xxx...").
QStringList linesOf(int count, int width) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0')).leftJustified(width, 'x');
    return lines;
}

QByteArray bytesOf(const QStringList& asciiLines) {
    QByteArray out;
    for (const QString& l : asciiLines)
        out += l.toLatin1() + "\r\n";
    return out;
}

// The fresh record ("テスト" and 19 empty lines) as a log holds it.
QByteArray freshRecordBytes() {
    return kTestBytes + "\r\n" + QByteArray("\r\n").repeated(19);
}

struct Logs {
    StationFixture f;
    Station& s = *f.station;
    TMainConsole& m = *s.main();
    QString dir() const { return f.dir.path(); }
    QString path(const QString& name) const { return QDir(dir()).filePath(name); }
};

} // namespace

class TestLogs : public QObject {
    Q_OBJECT
private slots:
    void exitSaveEndsWithTheExitLine();
    void exitSaveNeedsTheTickAndMoreThan21Lines_data();
    void exitSaveNeedsTheTickAndMoreThan21Lines();
    void exitSavesTheChatRecordWhenItAsks();
    void periodicCheck_data();
    void periodicCheck();
    void periodicSaveHoldsTheWholeRecordBeforeTheClearing();
    void aRecordShorterThanTheKeptLinesIsKeptWhole();
    void anExitInTheSameSecondAsAPeriodicSaveKeepsBothLogs();
    void aFailedSaveKeepsTheRecordAndSaysSo();
    void checkIntervalFollowsTheMinuteBox_data();
    void checkIntervalFollowsTheMinuteBox();
    void thresholdBoxesFallBackToTheirDefaults();
    void aThresholdThatIsNoNumberStopsTheCheck();
    void everyChangeOfTheSizeBoxWarnsWhileMessagesAreOn();
    void saveWithDialog();
    void saveExplanationPage();
    void clearingSettingsSurviveARestartAndChecksOffWarns();
};

void TestLogs::exitSaveEndsWithTheExitLine() {
    Logs t;
    t.m.CheckBox39->setChecked(true);
    t.s.screen().appendSentence(QStringLiteral("first"), true);
    t.s.screen().appendSentence(QStringLiteral("継続"), false);
    // The closing path of the window itself, as the user or SIGTERM closes it.
    t.m.close();
    QCOMPARE(textFiles(t.dir()), QStringList{kStem + ".txt"});
    QCOMPARE(readAll(t.path(kStem + ".txt")),
             freshRecordBytes() + "first\r\n\x8c\x70\x91\xb1\r\n" + kExitLineBytes + "\r\n");
    QVERIFY(t.f.messages.shown.isEmpty());
}

void TestLogs::exitSaveNeedsTheTickAndMoreThan21Lines_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("sentences"); // added to the fresh record's 20 lines
    QTest::addColumn<bool>("saved");
    QTest::newRow("21 lines") << true << 1 << false;
    QTest::newRow("22 lines") << true << 2 << true;
    QTest::newRow("not ticked") << false << 50 << false;
}

void TestLogs::exitSaveNeedsTheTickAndMoreThan21Lines() {
    QFETCH(bool, ticked);
    QFETCH(int, sentences);
    QFETCH(bool, saved);
    Logs t;
    t.m.CheckBox39->setChecked(ticked);
    for (int i = 0; i < sentences; ++i)
        t.s.screen().appendSentence(QStringLiteral("s%1").arg(i), true);
    t.m.close();
    QCOMPARE(textFiles(t.dir()).size(), saved ? 1 : 0);
}

void TestLogs::exitSavesTheChatRecordWhenItAsks() {
    Logs t;
    // Nothing to say: no chat file, and no display log without the tick.
    t.s.logs().hooks().chatRecordAtExit = [] { return QStringList(); };
    t.s.logs().SaveLogsAtExit();
    QVERIFY(textFiles(t.dir()).isEmpty());

    Logs u;
    u.s.logs().hooks().chatRecordAtExit = [] {
        return QStringList{QStringLiteral("12:00 desk1: 休憩"), QString()};
    };
    u.m.close();
    QCOMPARE(textFiles(u.dir()), QStringList{kStem + "連絡文.txt"});
    QCOMPARE(readAll(u.path(kStem + "連絡文.txt")),
             QByteArray("12:00 desk1: \x8b\x78\x8c\x65\r\n\r\n"));
}

void TestLogs::periodicCheck_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("width"); // characters per line; + CR LF in bytes
    QTest::addColumn<bool>("cleared");
    // The defaults: 1000 lines or 30 KByte (30000 bytes).
    QTest::newRow("999 lines of 31968 bytes: size") << 999 << 30 << true;
    QTest::newRow("1000 short lines: lines") << 1000 << 1 << true;
    QTest::newRow("999 lines of 29970 bytes") << 999 << 28 << false;
    QTest::newRow("exactly 30000 bytes") << 1000 - 500 << 58 << true;
}

void TestLogs::periodicCheck() {
    QFETCH(int, lines);
    QFETCH(int, width);
    QFETCH(bool, cleared);
    Logs t;
    const QStringList before = linesOf(lines, width);
    t.s.record().reset(before);
    t.s.logs().PeriodicLogCheck();
    // Without the tick nothing is ever written.
    QVERIFY(textFiles(t.dir()).isEmpty());
    if (!cleared) {
        QCOMPARE(t.s.record().lineCount(), lines);
        return;
    }
    const DisplayRecord& r = t.s.record();
    QCOMPARE(r.lineCount(), 1 + 20 + 10);
    QCOMPARE(r.line(0), DisplayLog::kContinued);
    for (int i = 1; i <= 20; ++i)
        QVERIFY(r.line(i).isEmpty());
    for (int i = 0; i < 10; ++i)
        QCOMPARE(r.line(21 + i), before.at(lines - 10 + i));
    // The screen starts again at the new last line, without scrolling to it.
    QCOMPARE(t.s.screen().state().shownIndex, 31);
    QCOMPARE(t.s.screen().state().targetCount, 31);
}

void TestLogs::periodicSaveHoldsTheWholeRecordBeforeTheClearing() {
    Logs t;
    t.m.CheckBox39->setChecked(true);
    const QStringList before = linesOf(1000, 5);
    t.s.record().reset(before);
    t.s.logs().PeriodicLogCheck();
    QCOMPARE(textFiles(t.dir()), QStringList{kStem + ".txt"});
    QCOMPARE(readAll(t.path(kStem + ".txt")), bytesOf(before));
    QCOMPARE(t.s.record().lineCount(), 31);
    // The next check finds a small record and leaves it and the log alone.
    t.f.clock.advance(600000);
    t.s.logs().PeriodicLogCheck();
    QCOMPARE(textFiles(t.dir()).size(), 1);
    QCOMPARE(t.s.record().lineCount(), 31);
}

void TestLogs::aRecordShorterThanTheKeptLinesIsKeptWhole() {
    Logs t;
    t.m.Edit91->setText(QStringLiteral("5"));
    const QStringList before = linesOf(7, 3);
    t.s.record().reset(before);
    t.s.logs().PeriodicLogCheck();
    QCOMPARE(t.s.record().lineCount(), 1 + 20 + 7);
    QCOMPARE(t.s.record().line(21), before.first());
}

void TestLogs::anExitInTheSameSecondAsAPeriodicSaveKeepsBothLogs() {
    Logs t;
    t.m.CheckBox39->setChecked(true);
    const QStringList day = linesOf(1200, 4);
    t.s.record().reset(day);
    t.s.logs().PeriodicLogCheck();
    t.m.close(); // the clock has not moved
    QCOMPARE(textFiles(t.dir()), (QStringList{kStem + ".txt", kStem + "_2.txt"}));
    QCOMPARE(readAll(t.path(kStem + ".txt")), bytesOf(day));
    const QByteArray exitLog = readAll(t.path(kStem + "_2.txt"));
    QVERIFY(exitLog.startsWith(kContinuedBytes + "\r\n" + QByteArray("\r\n").repeated(20)));
    QVERIFY(exitLog.endsWith(bytesOf(day.mid(1190)) + kExitLineBytes + "\r\n"));
}

void TestLogs::aFailedSaveKeepsTheRecordAndSaysSo() {
    Logs t;
    t.m.CheckBox39->setChecked(true);
    const QStringList day = linesOf(1000, 4);
    t.s.record().reset(day);
    // The folder is gone (a removed stick, a full or read-only disk alike).
    QVERIFY(t.f.dir.remove());
    const QString expected =
        QStringLiteral("ファイル %1 を作成できません")
            .arg(QDir::toNativeSeparators(QDir(t.dir()).filePath(kStem + ".txt")));
    t.s.logs().PeriodicLogCheck();
    QCOMPARE(t.f.messages.shown, QStringList{expected});
    QCOMPARE(t.s.record().lineCount(), 1000);
    QCOMPARE(t.s.record().line(999), day.last());

    // The dialog's save: the label names no file that does not hold the record.
    t.f.choosers.nextFile = t.path(QStringLiteral("mine.txt"));
    t.m.Button7->click();
    QCOMPARE(t.f.messages.shown.size(), 2);
    QCOMPARE(t.m.Label5->text(), DisplayLog::kNothingSaved);
}

void TestLogs::checkIntervalFollowsTheMinuteBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");    // what the box holds afterwards
    QTest::addColumn<int>("intervalMs"); // 0: the checks stopped
    QTest::newRow("5 minutes") << "5"
                               << "5" << 300000;
    QTest::newRow("0 stops") << "0"
                             << "0" << 0;
    QTest::newRow("negative stops") << "-3"
                                    << "-3" << 0;
    QTest::newRow("empty is 10") << ""
                                 << "10" << 600000;
    QTest::newRow("a month is a day") << "43200"
                                      << "43200" << 86400000;
    QTest::newRow("the largest number") << "2147483647"
                                        << "2147483647" << 86400000;
}

void TestLogs::checkIntervalFollowsTheMinuteBox() {
    QFETCH(QString, typed);
    QFETCH(QString, box);
    QFETCH(int, intervalMs);
    Logs t;
    QVERIFY(t.m.Timer5->isActive());
    QCOMPARE(t.m.Timer5->interval(), 600000);
    t.m.Edit92->setText(QStringLiteral("7"));
    t.m.Edit92->setText(typed);
    QCOMPARE(t.m.Edit92->text(), box);
    QCOMPARE(t.m.Timer5->isActive(), intervalMs > 0);
    if (intervalMs > 0)
        QCOMPARE(t.m.Timer5->interval(), intervalMs);
    QCOMPARE(t.s.logs().checksOff(), intervalMs == 0);
    QVERIFY(t.f.messages.shown.isEmpty());
}

void TestLogs::thresholdBoxesFallBackToTheirDefaults() {
    Logs t;
    t.m.CheckBox19->setChecked(false); // the size box's warning is another test's
    struct Case {
        QLineEdit* box;
        QString fallback;
    };
    for (const Case& c :
         {Case{t.m.Edit91, QStringLiteral("1000")}, Case{t.m.Edit4, QStringLiteral("30")}}) {
        for (const QString& typed : {QString(), QStringLiteral("0"), QStringLiteral("-5")}) {
            c.box->setText(QStringLiteral("12"));
            c.box->setText(typed);
            QCOMPARE(c.box->text(), c.fallback);
        }
        c.box->setText(QStringLiteral("abc"));
        QCOMPARE(c.box->text(), QStringLiteral("abc"));
        c.box->setText(c.fallback);
    }
    // A minute box that holds no number says so at once and leaves the timer.
    t.m.CheckBox19->setChecked(true);
    t.m.Edit92->setText(QStringLiteral("5"));
    t.m.Edit92->setText(QStringLiteral("5x"));
    QCOMPARE(t.f.messages.shown, QStringList{QStringLiteral("'5x' は整数ではありません")});
    QCOMPARE(t.m.Timer5->interval(), 300000);
}

void TestLogs::aThresholdThatIsNoNumberStopsTheCheck() {
    Logs t;
    int checks = 0;
    t.s.logs().hooks().afterCheck = [&] { ++checks; };
    t.s.record().reset(linesOf(2000, 4));
    t.m.Edit91->setText(QStringLiteral("many"));
    // Through the timer's own signal, as the event loop delivers it.
    QVERIFY(QMetaObject::invokeMethod(t.m.Timer5, "timeout"));
    QCOMPARE(t.f.messages.shown, QStringList{QStringLiteral("'many' は整数ではありません")});
    QCOMPARE(t.s.record().lineCount(), 2000);
    QCOMPARE(checks, 0);
    t.m.Edit91->setText(QStringLiteral("1000"));
    QVERIFY(QMetaObject::invokeMethod(t.m.Timer5, "timeout"));
    QCOMPARE(t.s.record().lineCount(), 31);
    QCOMPARE(checks, 1);
}

void TestLogs::everyChangeOfTheSizeBoxWarnsWhileMessagesAreOn() {
    Logs t;
    t.m.Edit4->selectAll();
    QTest::keyClicks(t.m.Edit4, QStringLiteral("64"));
    QCOMPARE(t.m.Edit4->text(), QStringLiteral("64"));
    QCOMPARE(t.f.messages.shown, QStringList(2, DisplayLog::kSizeWarning));
    // A box emptied becomes "30": one change, one warning.
    t.m.Edit4->clear();
    QCOMPARE(t.m.Edit4->text(), QStringLiteral("30"));
    QCOMPARE(t.f.messages.shown.size(), 3);
    t.m.CheckBox19->setChecked(false);
    QTest::keyClicks(t.m.Edit4, QStringLiteral("5"));
    QCOMPARE(t.f.messages.shown.size(), 3);
}

void TestLogs::saveWithDialog() {
    Logs t;
    // A log of this second exists: the dialog proposes the next free name.
    QFile taken(t.path(kStem + ".txt"));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    t.f.choosers.nextFile.reset();
    t.m.Button7->click();
    QCOMPARE(t.f.choosers.offered,
             (QStringList{t.s.state().programDirectory, kStem + "_2.txt",
                          QStringLiteral("テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*"),
                          QStringLiteral("txt")}));
    QCOMPARE(t.m.Label5->text(), QStringLiteral("保存なし"));
    QCOMPARE(textFiles(t.dir()).size(), 1);

    QVERIFY(QDir(t.dir()).mkdir(QStringLiteral("event")));
    t.f.choosers.nextFile = t.path(QStringLiteral("event/mine.txt"));
    t.s.screen().appendSentence(QStringLiteral("kept"), true);
    t.m.Button7->click();
    QCOMPARE(t.m.Label5->text(), QStringLiteral("mine.txt"));
    QCOMPARE(readAll(t.path(QStringLiteral("event/mine.txt"))), freshRecordBytes() + "kept\r\n");
    // Saving by hand leaves the record as it was.
    QCOMPARE(t.s.record().lineCount(), 21);
}

void TestLogs::saveExplanationPage() {
    Logs t;
    t.m.RichEdit3->setPlainText(QStringLiteral("one\n二\n"));
    t.f.choosers.nextFile.reset();
    t.m.Button11->click();
    QCOMPARE(t.f.choosers.offered.value(1), QStringLiteral("説明ページ保存.txt"));
    QVERIFY(textFiles(t.dir()).isEmpty());
    t.f.choosers.nextFile = t.path(QStringLiteral("説明ページ保存.txt"));
    t.m.Button11->click();
    QCOMPARE(readAll(t.path(QStringLiteral("説明ページ保存.txt"))),
             QByteArray("one\r\n\x93\xf1\r\n"));
}

void TestLogs::clearingSettingsSurviveARestartAndChecksOffWarns() {
    StationFixture f;
    {
        TMainConsole& m = *f.station->main();
        m.Edit91->setText(QStringLiteral("500"));
        m.Edit92->setText(QStringLiteral("0"));
        m.CheckBox39->setChecked(true);
        m.CheckBox19->setChecked(false);
        f.station->settingsCommands().SaveStartupSettings();
        QVERIFY(f.messages.shown.isEmpty());
    }
    f.restart();
    Station& s = *f.station;
    TMainConsole& m = *s.main();
    QVERIFY(m.Timer5->isActive()); // until the start-up file is applied
    s.Timer2Timer();
    QCOMPARE(m.Edit91->text(), QStringLiteral("500"));
    QCOMPARE(m.Edit92->text(), QStringLiteral("0"));
    QVERIFY(m.CheckBox39->isChecked());
    QVERIFY(!m.Timer5->isActive());
    // Shown although messages are off.
    QCOMPARE(f.messages.shown, QStringList{DisplayLog::kChecksOffWarning});

    // Remote settings or a load change the interval like the user does.
    s.settings().ApplySettings({settings::kHeader, QStringLiteral("074:3")});
    QVERIFY(m.Timer5->isActive());
    QCOMPARE(m.Timer5->interval(), 180000);
}

QTEST_MAIN(TestLogs)
#include "tst_logs.moc"
