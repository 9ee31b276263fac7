// The smooth screen and the display record as a typist sees them: timing of a
// line gliding in, the scroll parameter rules, acceleration, the line-feed and
// marker options, and the switch to the word-processor screen.

#include "app/main_console.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "station_fixture.h"
#include "typing.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace quorel;
using quorel::test::StationFixture;
using quorel::test::tail;

namespace {

void typeAndEnter(TMainConsole& m, const QString& text) {
    quorel::test::type(m.RichEdit1, text);
    QTest::keyClick(m.RichEdit1, Qt::Key_Return);
}

int yOfLine(const SmoothRenderer& r, int line) {
    for (const auto& d : r.lastFrame())
        if (d.line == line)
            return d.y;
    return INT_MIN;
}

} // namespace

class TestScreen : public QObject {
    Q_OBJECT
private slots:
    void lineGlidesInAndTimerStopsOnTheNextTick();
    void distanceBoxRules();
    void accelerationBetweenLinesChangesTheDistance();
    void accelerationDuringALineKeepsTheDistance();
    void lineFeedAndMarkerCombinations_data();
    void lineFeedAndMarkerCombinations();
    void lineFeedOnlyByNullLineFillsAShortRecord();
    void screenButtonsCycleAndReturn();
    void wordProcessorEditsChangeTheRecord();
    void lineSpacingFromNumberOfLines();
    void automaticLineAdjustmentFollowsTheFont();
    void recordSizeInTheTab();
    void displayFontHasJapaneseGlyphs();
    void badNumberInABoxIsAnError();
};

void TestScreen::lineGlidesInAndTimerStopsOnTheNextTick() {
    StationFixture f;
    ScreenPart& screen = f.station->screen();
    TMainConsole& m = *f.station->main();
    m.Timer1->stop();
    const int before = f.station->record().lineCount();
    screen.appendSentence(QStringLiteral("新しい行"), true);
    QVERIFY(m.Timer1->isActive());
    m.Timer1->stop(); // the test drives the ticks itself
    m.Timer1->start(1000000);

    const SmoothRenderer& r = m.Image1->renderer();
    for (int tick = 1; tick <= 30; ++tick)
        screen.Timer1Timer();
    QCOMPARE(screen.state().step, 30);
    QCOMPARE(yOfLine(r, before), 6 * 60 - 29 * 2); // drawn at step 29

    screen.Timer1Timer(); // 31st: moved by the whole 60 pixels
    QCOMPARE(yOfLine(r, before), 5 * 60);
    QCOMPARE(screen.state().shownIndex, before + 1);
    QCOMPARE(screen.state().step, 0);
    QVERIFY(m.Timer1->isActive());

    screen.Timer1Timer(); // 32nd: same picture, then idle
    QCOMPARE(yOfLine(r, before), 5 * 60);
    QVERIFY(!m.Timer1->isActive());
    QCOMPARE(screen.state().step, 0);
}

void TestScreen::distanceBoxRules() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    const auto& s = f.station->screen().state();

    m.Edit9->setText(QStringLiteral("60"));
    QCOMPARE(s.distance, 60);
    QCOMPARE(s.stepsPerLine, 1);
    QCOMPARE(m.Edit10->text(), QStringLiteral("1"));

    m.Edit9->setText(QStringLiteral("100"));
    QCOMPARE(m.Edit9->text(), QStringLiteral("60"));
    QCOMPARE(s.distance, 60);

    m.Edit9->setText(QStringLiteral("0"));
    QCOMPARE(m.Edit9->text(), QStringLiteral("1"));
    QCOMPARE(s.distance, 1);
    QCOMPARE(s.stepsPerLine, 60);

    m.Edit9->setText(QStringLiteral("3"));
    QCOMPARE(s.stepsPerLine, 20);
    QCOMPARE(s.baseDistance, 3);

    m.Edit9->clear(); // an empty box changes nothing
    QCOMPARE(s.distance, 3);
}

void TestScreen::accelerationBetweenLinesChangesTheDistance() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    ScreenPart& screen = f.station->screen();
    m.CheckBox5->setChecked(true);
    for (int i = 0; i < 7; ++i)
        screen.appendSentence(QStringLiteral("文%1").arg(i), true);
    QCOMPARE(m.Edit9->text(), QStringLiteral("4"));
    QCOMPARE(screen.state().distance, 4);
    QCOMPARE(screen.state().stepsPerLine, 15);
    QVERIFY(screen.state().accelerating);

    // Once everything is shown, the next change brings the distance back.
    while (m.Timer1->isActive())
        screen.Timer1Timer();
    screen.appendSentence(QStringLiteral("次"), true);
    QCOMPARE(m.Edit9->text(), QStringLiteral("2"));
    QCOMPARE(screen.state().distance, 2);
    QVERIFY(!screen.state().accelerating);
}

void TestScreen::accelerationDuringALineKeepsTheDistance() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    ScreenPart& screen = f.station->screen();
    m.CheckBox5->setChecked(true);
    screen.appendSentence(QStringLiteral("動いている行"), true);
    screen.Timer1Timer();
    screen.Timer1Timer();
    QVERIFY(screen.state().step > 0);
    for (int i = 0; i < 6; ++i)
        screen.appendSentence(QStringLiteral("文%1").arg(i), true);
    QCOMPARE(m.Edit9->text(), QStringLiteral("4"));
    QCOMPARE(screen.state().distance, 2);
    QCOMPARE(screen.state().stepsPerLine, 30);
}

void TestScreen::lineFeedAndMarkerCombinations_data() {
    QTest::addColumn<bool>("nullLineOnly");
    QTest::addColumn<bool>("markers");
    QTest::addColumn<QStringList>("expectedTail");
    QTest::newRow("plain") << false << false << QStringList{"", "A", "B", ""};
    QTest::newRow("null line only") << true << false << QStringList{"", "AB", ""};
    QTest::newRow("markers") << false << true << QStringList{"A", "B", "", "■"};
    QTest::newRow("markers, null line only") << true << true << QStringList{"", "AB", "■"};
}

void TestScreen::lineFeedAndMarkerCombinations() {
    QFETCH(bool, nullLineOnly);
    QFETCH(bool, markers);
    QFETCH(QStringList, expectedTail);
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.CheckBox8->setChecked(nullLineOnly);
    m.CheckBox50->setChecked(markers);
    m.RichEdit1->clear();
    // An empty sentence first, so that with markers the record ends with "■".
    for (const QString& s : {QString(), QStringLiteral("A"), QStringLiteral("B"), QString()})
        typeAndEnter(m, s);
    QCOMPARE(tail(f.station->record(), int(expectedTail.size())), expectedTail);
}

void TestScreen::lineFeedOnlyByNullLineFillsAShortRecord() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    f.station->record().reset({QStringLiteral("一行だけ")});
    m.CheckBox8->setChecked(true);
    const DisplayRecord& r = f.station->record();
    QCOMPARE(r.lineCount(), 22);
    QCOMPARE(r.line(1), QStringLiteral("＜空行のみ改行のための行追加しました＞"));
    QCOMPARE(f.station->screen().state().shownIndex, 22);
    QVERIFY(!m.Timer1->isActive());
}

void TestScreen::screenButtonsCycleAndReturn() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    auto click = [](QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); };
    click(m.Button12);
    QCOMPARE(m.Button12->text(), QStringLiteral("止"));
    QVERIFY(f.station->screen().wordProcessorMode());
    QVERIFY(m.RichEdit2->isVisible());
    QVERIFY(!m.Button14->isHidden());
    QCOMPARE(m.RichEdit27->x(), 75);

    click(m.Button12);
    QCOMPARE(m.Button12->text(), QStringLiteral("動"));
    QVERIFY(m.CheckBox85->isChecked());
    QCOMPARE(m.RichEdit1->palette().color(QPalette::Base), QColor(255, 0, 0));

    click(m.Button12);
    QCOMPARE(m.Button12->text(), QStringLiteral("止"));
    QVERIFY(!m.CheckBox85->isChecked());
    QCOMPARE(m.RichEdit1->palette().color(QPalette::Base), m.inputBackground);

    click(m.Button12); // correction mode again, then Enter ends it
    QVERIFY(m.CheckBox85->isChecked());
    m.RichEdit1->clear();
    typeAndEnter(m, QStringLiteral("修正中の送信"));
    QVERIFY(!m.CheckBox85->isChecked());
    QCOMPARE(m.Button12->text(), QStringLiteral("止"));

    click(m.Button12);
    click(m.Button13); // "RE" from correction mode
    QCOMPARE(m.Button12->text(), QStringLiteral("ワ"));
    QVERIFY(!m.CheckBox85->isChecked());
    QVERIFY(!f.station->screen().wordProcessorMode());
    QVERIFY(m.Button14->isHidden());
    QVERIFY(!m.RichEdit2->isVisible());
    QCOMPARE(m.RichEdit27->x(), 50);
    QCOMPARE(f.station->screen().state().shownIndex, f.station->record().lineCount());
    QVERIFY(!m.Timer1->isActive());
}

void TestScreen::wordProcessorEditsChangeTheRecord() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    DisplayRecord& r = f.station->record();
    auto editorText = [&] {
        return m.RichEdit2->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    };
    QTest::mouseClick(m.Button12, Qt::LeftButton);
    QCOMPARE(editorText(), r.textForm());

    QTextCursor c(m.RichEdit2->document());
    c.insertText(QStringLiteral("訂正"));
    QCOMPARE(r.line(0), QStringLiteral("訂正テスト"));

    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("末尾\n次"));
    QCOMPARE(editorText(), r.textForm());
    QVERIFY(!r.lastLineTerminated());

    c.setPosition(0);
    c.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor, 3);
    c.removeSelectedText();
    QCOMPARE(editorText(), r.textForm());

    // A sentence arriving while the editor is shown goes to both.
    f.station->screen().appendSentence(QStringLiteral("受信"), false);
    QCOMPARE(editorText(), r.textForm());
    QCOMPARE(r.line(r.lineCount() - 1), QStringLiteral("受信"));
    QCOMPARE(f.station->screen().state().shownIndex, r.lineCount());
}

void TestScreen::lineSpacingFromNumberOfLines() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.Edit8->setText(QStringLiteral("4"));
    QTest::mouseClick(m.Button9, Qt::LeftButton);
    const int h = m.Panel6->height();
    QVERIFY(!m.CheckBox67->isChecked());
    QCOMPARE(m.Edit12->text(), QString::number(h / 4));
    QCOMPARE(f.station->screen().state().lineSpacing, h / 4);
    QCOMPARE(m.Edit10->text(), QString::number(h / 4 / 2));

    m.Edit8->setText(QStringLiteral("0")); // no division by zero
    QTest::mouseClick(m.Button9, Qt::LeftButton);
    QCOMPARE(m.Edit12->text(), QString::number(h));
}

void TestScreen::automaticLineAdjustmentFollowsTheFont() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.CheckBox67->setChecked(false);
    f.station->Timer2Timer(); // settings are ready
    m.CheckBox67->setChecked(true);
    const int h = 36 * 96 / 72;
    QCOMPARE(m.Edit12->text(), QString::number(h));
    QCOMPARE(m.Edit8->text(), QString::number(m.Panel6->height() / h));
    QCOMPARE(f.station->screen().state().stepsPerLine, h / 2);
}

void TestScreen::recordSizeInTheTab() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    const int tab = m.PageControl1->indexOf(m.TabSheet1);
    m.CheckBox37->setChecked(true);
    f.station->screen().appendSentence(QStringLiteral("あい"), false);
    QCOMPARE(m.PageControl1->tabText(tab),
             QString::number(f.station->record().textLength()) + QStringLiteral("Byte"));
    m.CheckBox37->setChecked(false);
    QCOMPARE(m.PageControl1->tabText(tab), QStringLiteral("Screen && Input "));
}

void TestScreen::displayFontHasJapaneseGlyphs() {
    StationFixture f;
    const QFontMetrics fm(f.station->main()->Image1->renderer().font());
    for (char32_t c : {U'あ', U'漢', U'■', U'◆', U'ア'})
        QVERIFY2(fm.inFontUcs4(c), "no installed face draws Japanese: captions would be boxes");
}

void TestScreen::badNumberInABoxIsAnError() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.Edit12->setText(QStringLiteral("abc"));
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("'abc' は整数ではありません")});
    QCOMPARE(f.station->screen().state().lineSpacing, 60);
    m.Edit12->setText(QStringLiteral("50")); // and the box still works
    QCOMPARE(f.station->screen().state().lineSpacing, 50);
}

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
