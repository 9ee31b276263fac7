// The input part as a typist uses it: Enter, Ctrl+Enter, Esc and Ctrl+Z, the
// length limit, sending only the text before the caret, the speaker name, and
// what a sent sentence turns into on the screen and towards the members.

#include "app/main_console.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "station_fixture.h"
#include "typing.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using namespace quorel;
using quorel::test::StationFixture;

namespace {

// A station whose input part is empty, with the sentences handed on recorded.
struct Typist : StationFixture {
    Typist() {
        m().RichEdit1->clear();
        station->input().hooks().sendCaption = [this](const QString& s) { captions << s; };
        station->input().hooks().sendToPalette = [this](const QString& s) { palette << s; };
    }
    TMainConsole& m() { return *station->main(); }
    InputEdit* edit() { return m().RichEdit1; }
    const QString& lastLine() { return station->record().line(station->record().lineCount() - 1); }
    void enter() { QTest::keyClick(edit(), Qt::Key_Return); }
    QStringList captions, palette;
};

} // namespace

class TestInput : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheHint();
    void lengthLimit_data();
    void lengthLimit();
    void emptyEnterIsALineFeed();
    void ctrlEnterBreaksTheSentence();
    void sendsOnlyTheTextBeforeTheCaret();
    void escapeThenCtrlZRestores();
    void speakerNameStartsTheNextSentence();
    void sentenceFromElsewhereKeepsTheTypistsText();
    void sentSentencesAreSanitised_data();
    void sentSentencesAreSanitised();
    void lanSwitchAndPalette();
    void copyToClipboard();
};

void TestInput::startsWithTheHint() {
    StationFixture f;
    QCOMPARE(f.station->main()->RichEdit1->toPlainText(), InputPart::kHint);
}

void TestInput::lengthLimit_data() {
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<bool>("taken");
    QTest::newRow("256 full-width = 512 bytes") << QString(256, QChar(u'あ')) << true;
    QTest::newRow("513 bytes") << QString(256, QChar(u'あ')) + QLatin1Char('a') << false;
    QTest::newRow("512 half-width") << QString(512, QLatin1Char('x')) << true;
    QTest::newRow("511 + one full-width") << QString(511, QLatin1Char('x')) + QChar(u'あ') << false;
}

void TestInput::lengthLimit() {
    QFETCH(QString, sentence);
    QFETCH(bool, taken);
    Typist t;
    t.edit()->setPlainText(sentence);
    const int lines = t.station->record().lineCount();
    t.enter();
    if (taken) {
        QCOMPARE(t.lastLine(), sentence);
        QCOMPARE(t.captions, QStringList{sentence});
        QVERIFY(t.edit()->toPlainText().isEmpty());
        QVERIFY(t.messages.shown.isEmpty());
    } else {
        QCOMPARE(t.station->record().lineCount(), lines);
        QVERIFY(t.captions.isEmpty());
        QCOMPARE(t.edit()->toPlainText(), sentence);
        QCOMPARE(t.messages.shown, QStringList{InputPart::kTooLong});
    }
}

void TestInput::emptyEnterIsALineFeed() {
    Typist t;
    const int lines = t.station->record().lineCount();
    t.enter();
    QCOMPARE(t.station->record().lineCount(), lines + 1);
    QCOMPARE(t.lastLine(), QString());
    QCOMPARE(t.captions, QStringList{QStringLiteral("$改行$")});
}

void TestInput::ctrlEnterBreaksTheSentence() {
    Typist t;
    quorel::test::type(t.edit(), QStringLiteral("上の行"));
    QTest::keyClick(t.edit(), Qt::Key_Return, Qt::ControlModifier);
    quorel::test::type(t.edit(), QStringLiteral("下の行"));
    QVERIFY(t.captions.isEmpty()); // nothing sent yet
    const int lines = t.station->record().lineCount();
    t.enter();
    QCOMPARE(t.captions, QStringList{QStringLiteral("上の行\r\n下の行")});
    QCOMPARE(t.station->record().lineCount(), lines + 2);
    QCOMPARE(t.lastLine(), QStringLiteral("下の行"));
}

void TestInput::sendsOnlyTheTextBeforeTheCaret() {
    Typist t;
    t.m().CheckBox53->setChecked(true);
    t.edit()->setPlainText(QStringLiteral("送る部分残る部分"));
    QTextCursor c = t.edit()->textCursor();
    c.setPosition(4);
    t.edit()->setTextCursor(c);
    t.enter();
    QCOMPARE(t.captions, QStringList{QStringLiteral("送る部分")});
    QCOMPARE(t.edit()->toPlainText(), QStringLiteral("残る部分"));
    QCOMPARE(t.edit()->textCursor().position(), 0);
}

void TestInput::escapeThenCtrlZRestores() {
    Typist t;
    quorel::test::type(t.edit(), QStringLiteral("消してしまった文"));
    QTest::keyClick(t.edit(), Qt::Key_Escape);
    QVERIFY(t.edit()->toPlainText().isEmpty());
    QCOMPARE(t.clipboard.text(), QStringLiteral("消してしまった文"));
    QTest::keyClick(t.edit(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t.edit()->toPlainText(), QStringLiteral("消してしまった文"));
    QVERIFY(t.captions.isEmpty());
}

void TestInput::speakerNameStartsTheNextSentence() {
    Typist t;
    t.m().Edit31->setText(QStringLiteral("司会："));
    quorel::test::type(t.edit(), QStringLiteral("最初"));
    t.enter();
    QCOMPARE(t.edit()->toPlainText(), QStringLiteral("司会："));
    QCOMPARE(t.edit()->textCursor().position(), 3);
    quorel::test::type(t.edit(), QStringLiteral("次の発言"));
    t.enter();
    QCOMPARE(t.captions, (QStringList{QStringLiteral("最初"), QStringLiteral("司会：次の発言")}));
}

void TestInput::sentenceFromElsewhereKeepsTheTypistsText() {
    Typist t;
    quorel::test::type(t.edit(), QStringLiteral("書きかけ"));
    QCOMPARE(
        t.station->input().sendSentence(QStringLiteral("準備した文"), InputPart::Source::Elsewhere),
        0);
    QCOMPARE(t.lastLine(), QStringLiteral("準備した文"));
    QCOMPARE(t.captions, QStringList{QStringLiteral("準備した文")});
    QCOMPARE(t.edit()->toPlainText(), QStringLiteral("書きかけ"));
}

void TestInput::sentSentencesAreSanitised_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a b");
    QTest::newRow("bell") << QStringLiteral("a\x07z") << QStringLiteral("a@z");
    QTest::newRow("escape") << QStringLiteral("\x1b[1m") << QStringLiteral("@[1m");
    QTest::newRow("outside the code page") << QStringLiteral("猫😀") << QStringLiteral("猫〓");
    QTest::newRow("Linux wave dash") << QStringLiteral("１〜２") << QStringLiteral("１～２");
}

void TestInput::sentSentencesAreSanitised() {
    QFETCH(QString, typed);
    QFETCH(QString, sent);
    Typist t;
    QCOMPARE(t.station->input().sendSentence(typed), 0);
    QCOMPARE(t.captions, QStringList{sent});
    QCOMPARE(t.lastLine(), sent); // the typist sees what the members get
}

void TestInput::lanSwitchAndPalette() {
    Typist t;
    t.m().CheckBox22->setChecked(false);
    t.station->input().sendSentence(QStringLiteral("手元だけ"));
    QCOMPARE(t.lastLine(), QStringLiteral("手元だけ"));
    QVERIFY(t.captions.isEmpty());

    t.m().CheckBox22->setChecked(true);
    t.m().CheckBox21->setChecked(true);
    const int lines = t.station->record().lineCount();
    t.station->input().sendSentence(QStringLiteral("確認して"));
    QCOMPARE(t.station->record().lineCount(), lines); // not shown locally
    QCOMPARE(t.station->record().recent()[0], QStringLiteral("確認して"));
    QCOMPARE(t.palette, QStringList{QStringLiteral("確認して")});
    QVERIFY(t.captions.isEmpty());
}

void TestInput::copyToClipboard() {
    Typist t;
    t.m().CheckBox41->setChecked(true);
    t.station->input().sendSentence(QStringLiteral("写し"));
    QCOMPARE(t.clipboard.text(), QStringLiteral("写し\r\n"));
    t.station->input().sendSentence(QString()); // a line feed is not copied
    QCOMPARE(t.clipboard.writes, 1);
}

QTEST_MAIN(TestInput)
#include "tst_input.moc"
