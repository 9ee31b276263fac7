// Readings for Japanese readers: F1 puts the reading of the word just
// converted next to it (in brackets or as ruby) in the input part and the sub
// input panes; ruby messages put readings onto words already on the screen.
// Conversions arrive as the input method sends them: the kana as preedit, the
// converted word as preedit, then its commit.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_part.h"
#include "caption/reading_insertion.h"
#include "caption/screen_part.h"
#include "caption/sub_input.h"
#include "lan_fixture.h"
#include "net/link_encryption.h"
#include "settings/catalogue.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "typing.h"
#include "windows/prepared/sub_input_window.h"
#include "wire/scramble.h"

#include <QCheckBox>
#include <QHostAddress>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using namespace quorel;
using quorel::test::Lan;

namespace {

constexpr int kRubyPort = 6736;

void preedit(QWidget* w, const QString& text) {
    QInputMethodEvent ev(text, {});
    QApplication::sendEvent(w, &ev);
}

// Typing `kana`, converting it to `word` and confirming it.
void convert(QWidget* w, const QString& kana, const QString& word) {
    QString typed;
    for (QChar c : kana) {
        typed += c;
        preedit(w, typed);
    }
    preedit(w, word);
    QInputMethodEvent commit;
    commit.setCommitString(word);
    QApplication::sendEvent(w, &commit);
}

struct One {
    One() : a(net.add()), peer(net.peer(QStringLiteral("192.168.1.50"))) {
        a.Timer2Timer();
        net.messages(0).shown.clear();
        main().RichEdit1->clear();
        main().RichEdit1->setFocus();
    }
    TMainConsole& main() { return *a.main(); }
    QStringList& shown() { return net.messages(0).shown; }
    void apply(const QStringList& lines) {
        QStringList all{settings::kHeader};
        all << lines;
        QVERIFY(a.settings().ApplySettings(all));
    }
    // A sentence on the screen, as a member sent it.
    void received(const QString& sentence) {
        const int before = a.record().lineCount();
        peer.send(QStringLiteral("192.168.1.10"), 6711, sentence);
        QTRY_VERIFY(a.record().lineCount() > before);
    }
    void ruby(const QString& message) {
        peer.send(QStringLiteral("192.168.1.10"), kRubyPort, message);
        net.settle();
    }
    QStringList tail(int n) { return quorel::test::tail(a.record(), n); }

    Lan net;
    Station& a;
    quorel::test::Peer& peer;
};

} // namespace

class TestReading : public QObject {
    Q_OBJECT

private slots:
    void f1InsertsTheReading_data();
    void f1InsertsTheReading();
    void twoConversionsGiveTheSecondReading();
    void nothingToInsertAfterASend();
    void subPaneTakesReadingsToo();
    void optionsExcludeEachOtherAndChangeTheMemo();
    void settingsKeys();
    void rubyReceivingSwitchesTheDisplayOptions();
    void rubyMessagesOnTheRecord();
    void rubyMessagesThatChangeNothing();
    void rubyOnTheWordProcessorScreen();
    void rubyMessageScrambledAndCopied();
};

void TestReading::f1InsertsTheReading_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caretAfter"); // characters from the end
    QTest::newRow("ruby, hiragana") << QStringList{"867:true"} << "あ`rかんじ`s漢字です" << 2;
    QTest::newRow("ruby, katakana")
        << QStringList{"867:true", "868:2"} << "あ`rカンジ`s漢字です" << 2;
    QTest::newRow("ruby, half-width")
        << QStringList{"867:true", "868:1"} << "あ`rｶﾝｼﾞ`s漢字です" << 2;
    QTest::newRow("brackets") << QStringList{"864:true"} << "あ漢字（かんじ）です" << 2;
    QTest::newRow("own brackets") << QStringList{"864:true", "865:[", "866:]", "868:2"}
                                  << "あ漢字[カンジ]です" << 2;
}

void TestReading::f1InsertsTheReading() {
    QFETCH(QStringList, settings);
    QFETCH(QString, expected);
    QFETCH(int, caretAfter);
    One t;
    t.apply(settings);
    QTextEdit* in = t.main().RichEdit1;
    quorel::test::type(in, QStringLiteral("あ"));
    convert(in, QStringLiteral("かんじ"), QStringLiteral("漢字"));
    quorel::test::type(in, QStringLiteral("です"));
    // The caret goes back behind the word before F1, as a typist would.
    QTextCursor c = in->textCursor();
    c.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, 2);
    in->setTextCursor(c);
    QTest::keyClick(in, Qt::Key_F1);
    QCOMPARE(in->toPlainText(), expected);
    QCOMPARE(in->textCursor().position(), int(expected.size()) - caretAfter);
    // The reading is used up.
    QVERIFY(t.a.readingInsertion().reading().isEmpty());
    QTest::keyClick(in, Qt::Key_F1);
    QCOMPARE(in->toPlainText(), expected);
}

void TestReading::twoConversionsGiveTheSecondReading() {
    One t;
    t.apply({"867:true"});
    QTextEdit* in = t.main().RichEdit1;
    convert(in, QStringLiteral("かんじ"), QStringLiteral("漢字"));
    convert(in, QStringLiteral("かく"), QStringLiteral("書く"));
    QTest::keyClick(in, Qt::Key_F1);
    QCOMPARE(in->toPlainText(), QStringLiteral("漢字`rかく`s書く"));
    // The same word again is a new word, not the old one.
    convert(in, QStringLiteral("かく"), QStringLiteral("書く"));
    QTest::keyClick(in, Qt::Key_F1);
    QCOMPARE(in->toPlainText(), QStringLiteral("漢字`rかく`s書く`rかく`s書く"));
}

void TestReading::nothingToInsertAfterASend() {
    One t;
    t.apply({"867:true"});
    QTextEdit* in = t.main().RichEdit1;
    convert(in, QStringLiteral("かんじ"), QStringLiteral("漢字"));
    QTest::keyClick(in, Qt::Key_Return);
    QCOMPARE(t.tail(1), QStringList{QStringLiteral("漢字")});
    QTest::keyClick(in, Qt::Key_F1);
    QCOMPARE(in->toPlainText(), QString());
    // Esc forgets it too.
    convert(in, QStringLiteral("かんじ"), QStringLiteral("漢字"));
    QTest::keyClick(in, Qt::Key_Escape);
    QTest::keyClick(in, Qt::Key_F1);
    QVERIFY(!in->toPlainText().contains(QLatin1Char('`')));
}

void TestReading::subPaneTakesReadingsToo() {
    One t;
    t.apply({"867:true"});
    QTest::mouseClick(t.main().Button10, Qt::LeftButton);
    SubPane& pane = *t.a.subInput()->panes[1];
    pane.setFocus();
    quorel::test::type(&pane, QStringLiteral("ab"));
    convert(&pane, QStringLiteral("かんじ"), QStringLiteral("漢字"));
    QTest::keyClick(&pane, Qt::Key_F1);
    QCOMPARE(pane.toPlainText(), QStringLiteral("ab`rかんじ`s漢字"));
    QCOMPARE(pane.textCursor().position(), int(pane.toPlainText().size()));
    QCOMPARE(t.main().RichEdit1->toPlainText(), QString());
}

void TestReading::optionsExcludeEachOtherAndChangeTheMemo() {
    One t;
    TMainConsole& m = t.main();
    TForm5& memo = *t.a.fKeyMemo();
    QVERIFY(!memo.Label5->isVisibleTo(&memo));
    m.CheckBox58->setChecked(true);
    QCOMPARE(t.shown(), QStringList{ReadingInsertion::kBracketHelp});
    QVERIFY(memo.Label5->isVisibleTo(&memo));
    m.CheckBox59->setChecked(true);
    QVERIFY(!m.CheckBox58->isChecked());
    QCOMPARE(t.shown().last(), ReadingInsertion::kRubyHelp);
    m.CheckBox59->setChecked(false);
    QVERIFY(!memo.Label5->isVisibleTo(&memo));
    // Off, F1 is the memo's again.
    memo.Edit45->setText(QStringLiteral("司会："));
    QTest::keyClick(m.RichEdit1, Qt::Key_F1);
    QVERIFY(m.RichEdit1->toPlainText().contains(QStringLiteral("司会：")));
}

void TestReading::settingsKeys() {
    One t;
    TMainConsole& m = t.main();
    t.apply({"864:true", "865:<", "866:>", "868:2", "809:true"});
    QVERIFY(m.CheckBox58->isChecked());
    QCOMPARE(m.Edit22->text(), QStringLiteral("<"));
    QVERIFY(m.RadioButton2->isChecked());
    QVERIFY(m.CheckBox46->isChecked());
    t.apply({"867:true", "868:x"});
    QVERIFY(m.CheckBox59->isChecked() && !m.CheckBox58->isChecked());
    QVERIFY(m.RadioButton1->isChecked()); // anything else: half-width
}

void TestReading::rubyReceivingSwitchesTheDisplayOptions() {
    One t;
    TMainConsole& m = t.main();
    TForm14& sub = *t.a.subInput();
    m.CheckBox50->setChecked(true);
    m.CheckBox46->setChecked(true);
    QVERIFY(!m.CheckBox50->isChecked());
    QVERIFY(sub.CheckBox37->isChecked() && sub.CheckBox45->isChecked());
    QCOMPARE(t.shown(),
             (QStringList{ReadingInsertion::kMarkersOff, ReadingInsertion::kSubOptionsOn}));
    // Markers are refused while readings come in.
    m.CheckBox50->setChecked(true);
    QVERIFY(!m.CheckBox50->isChecked());
    QCOMPARE(t.shown().last(), ScreenPart::kMarkersRefused);
    // Wrapping again ends the split and the ruby receiving.
    sub.CheckBox37->setChecked(false);
    QVERIFY(!sub.CheckBox45->isChecked() && !m.CheckBox46->isChecked());
    m.CheckBox46->setChecked(true);
    m.CheckBox46->setChecked(false);
    QVERIFY(!sub.CheckBox37->isChecked() && !sub.CheckBox45->isChecked());
}

void TestReading::rubyMessagesOnTheRecord() {
    One t;
    t.main().CheckBox46->setChecked(true);
    t.received(QStringLiteral("漢字を書く漢字"));
    t.received(QStringLiteral("また`rかんじ`s漢字"));
    t.ruby(QStringLiteral("漢字,かんじ"));
    QCOMPARE(t.tail(2), (QStringList{QStringLiteral("`rかんじ`s漢字を書く`rかんじ`s漢字"),
                                     QStringLiteral("また`rかんじ`s漢字")}));
    // A second reading replaces the first; never two marks.
    t.ruby(QStringLiteral("漢字,カンジ"));
    QCOMPARE(t.tail(2), (QStringList{QStringLiteral("`rカンジ`s漢字を書く`rカンジ`s漢字"),
                                     QStringLiteral("また`rカンジ`s漢字")}));
    // A base inside a reading is left alone.
    t.ruby(QStringLiteral("カン,かん"));
    QCOMPARE(t.tail(1), QStringList{QStringLiteral("また`rカンジ`s漢字")});
    // Undo cannot cut the grown lines afterwards.
    QTest::keyClick(t.main().RichEdit1, Qt::Key_F9);
    QCOMPARE(t.tail(1), QStringList{QStringLiteral("また`rカンジ`s漢字")});
}

void TestReading::rubyMessagesThatChangeNothing() {
    One t;
    t.received(QStringLiteral("AアA字"));
    const QStringList before = t.tail(1);
    t.ruby(QStringLiteral("字,じ")); // not taking ruby messages
    QCOMPARE(t.tail(1), before);
    t.main().CheckBox46->setChecked(true);
    for (const char* message : {",よみ", ",", "字", "ない,ない", "\x82"}) {
        t.ruby(QString::fromUtf8(message));
        QCOMPARE(t.tail(1), before);
    }
    // Whole characters only: "A" is also the second byte of "ア".
    t.ruby(QStringLiteral("A,えー"));
    QCOMPARE(t.tail(1), QStringList{QStringLiteral("`rえー`sAア`rえー`sA字")});
}

void TestReading::rubyOnTheWordProcessorScreen() {
    One t;
    t.main().CheckBox46->setChecked(true);
    t.received(QStringLiteral("漢字の読み"));
    t.a.screen().setScreenKind(1);
    QVERIFY(t.a.screen().wordProcessorMode());
    QPlainTextEdit* wp = t.main().RichEdit2;
    QTRY_VERIFY(wp->isVisible());
    QTextCursor c = wp->textCursor();
    c.setPosition(0);
    wp->setTextCursor(c);
    t.ruby(QStringLiteral("漢字,かんじ"));
    QVERIFY(wp->toPlainText().contains(QStringLiteral("`rかんじ`s漢字の読み")));
    // The typist sees the end, where the next sentence comes.
    QCOMPARE(wp->textCursor().position(), wp->document()->characterCount() - 1);
    QVERIFY(!wp->textCursor().hasSelection());
}

void TestReading::rubyMessageScrambledAndCopied() {
    One t;
    TMainConsole& m = t.main();
    m.CheckBox46->setChecked(true);
    t.received(QStringLiteral("漢字"));
    m.Edit1->setText(QStringLiteral("pass"));
    m.CheckBox42->setChecked(true);
    m.CheckBox60->setChecked(true);
    t.net.lan.clearTraffic();
    const QByteArray plain = text::encode(QStringLiteral("漢字,かんじ"));
    t.peer.send(QStringLiteral("192.168.1.10"), kRubyPort, t.a.encryption().Scramble(plain));
    QTRY_COMPARE(t.tail(1), QStringList{QStringLiteral("`rかんじ`s漢字")});
    // The same-PC display program gets it unscrambled.
    QStringList copies;
    for (const auto& d : t.net.lan.traffic())
        if (d.toPort == 7936)
            copies << QHostAddress(d.to).toString() + ':' + text::decode(d.data);
    QCOMPARE(copies, QStringList{QStringLiteral("127.0.0.1:漢字,かんじ")});
}

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
