// The typist's aids: the function keys and the F-key memo, the time and length
// limits of a sentence, the automatic sends, the characters per minute and the
// conversion colours of the input method.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_aids.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "lan_fixture.h"
#include "logs/display_log.h"
#include "members/member_list.h"
#include "settings/settings_commands.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "typing.h"

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::StationFixture;

namespace {

// A started station with an empty input part; the sentences it hands to the
// members are recorded.
struct Typist : StationFixture {
    Typist() {
        station->Timer2Timer();
        messages.shown.clear();
        m().RichEdit1->clear();
        station->input().hooks().sendCaption = [this](const QString& s) { captions << s; };
    }
    TMainConsole& m() { return *station->main(); }
    TForm5& memo() { return *station->fKeyMemo(); }
    InputEdit* edit() { return m().RichEdit1; }
    QString input() { return edit()->toPlainText(); }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(edit(), Qt::Key(k), mods);
    }
    void setInput(const QString& text, int caret = -1) {
        edit()->setPlainText(text);
        QTextCursor c = edit()->textCursor();
        c.setPosition(caret < 0 ? int(text.size()) : caret);
        edit()->setTextCursor(c);
    }
    bool panelsRed() {
        for (QWidget* w :
             {m().Panel1, static_cast<QWidget*>(m().Panel22), static_cast<QWidget*>(m().Panel23)})
            if (!w->autoFillBackground() ||
                w->palette().color(QPalette::Window) != QColor(255, 0, 0))
                return false;
        return true;
    }
    bool panelsFace() {
        for (QWidget* w :
             {m().Panel1, static_cast<QWidget*>(m().Panel22), static_cast<QWidget*>(m().Panel23)})
            if (w->autoFillBackground())
                return false;
        return true;
    }
    QString tab(QWidget* page) {
        return m().PageControl1->tabText(m().PageControl1->indexOf(page));
    }
    QStringList captions;
};

QString fullWidth(int n) {
    return QString(n, QChar(u'あ'));
}

} // namespace

class TestInputAids : public QObject {
    Q_OBJECT
private slots:
    void memoKeys_data();
    void memoKeys();
    void memoWindow();
    void correctionKey_data();
    void correctionKey();
    void correctionKeyInTheWordProcessorScreen();
    void bracketKey_data();
    void bracketKey();
    void blankLinesOnAMembersScreen();
    void blankLinesWithTheTextBeforeTheCaret();
    void timeLimit();
    void timeLimitOnlyWarns();
    void lengthLimit();
    void punctuationSend();
    void automaticSendsNeverFeedThemselves_data();
    void automaticSendsNeverFeedThemselves();
    void undoneSentenceWaitsForTheNextSend();
    void refusedAutomaticSendKeepsTheText_data();
    void refusedAutomaticSendKeepsTheText();
    void numberBoxesFallBackToTheirLastNumber();
    void charactersPerMinute();
    void charactersPerMinuteAfterAPeriodicCheck();
    void conversionColours();
    void settingsRoundTripThroughAFile();
};

// ---- function keys ------------------------------------------------------------------

void TestInputAids::memoKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("expected");
    // The input holds "前後" with the caret between; rows hold "〈Fn〉".
    QTest::newRow("F1 at the caret") << int(Qt::Key_F1) << 0 << false << "前〈F1〉後";
    QTest::newRow("F2 replaces") << int(Qt::Key_F2) << 1 << true << "〈F2〉";
    QTest::newRow("F3") << int(Qt::Key_F3) << 2 << false << "前〈F3〉後";
    QTest::newRow("F4") << int(Qt::Key_F4) << 3 << false << "前〈F4〉後";
    QTest::newRow("F5") << int(Qt::Key_F5) << 4 << true << "〈F5〉";
    QTest::newRow("F6") << int(Qt::Key_F6) << 5 << false << "前〈F6〉後";
    QTest::newRow("F7 while not the correction key")
        << int(Qt::Key_F7) << 6 << false << "前〈F7〉後";
    QTest::newRow("F8 while not brackets") << int(Qt::Key_F8) << 7 << true << "〈F8〉";
    QTest::newRow("F11 while not Del/Cls") << int(Qt::Key_F11) << 8 << false << "前〈F11〉後";
}

void TestInputAids::memoKeys() {
    QFETCH(int, key);
    QFETCH(int, row);
    QFETCH(bool, replace);
    QFETCH(QString, expected);
    Typist t;
    static const int names[] = {1, 2, 3, 4, 5, 6, 7, 8, 11};
    for (int i = 0; i < TForm5::kMemoRows; ++i)
        t.memo().texts[std::size_t(i)]->setText(QStringLiteral("〈F%1〉").arg(names[i]));
    t.memo().replaces[std::size_t(row)]->setChecked(replace);
    t.setInput(QStringLiteral("前後"), 1);
    t.key(key);
    QCOMPARE(t.input(), expected);
    QVERIFY(t.captions.isEmpty());

    // A selection is replaced by the text.
    t.memo().replaces[std::size_t(row)]->setChecked(false);
    t.setInput(QStringLiteral("前選択後"), 1);
    QTextCursor c = t.edit()->textCursor();
    c.setPosition(3, QTextCursor::KeepAnchor);
    t.edit()->setTextCursor(c);
    t.key(key);
    QCOMPARE(t.input(), QStringLiteral("前〈F%1〉後").arg(names[row]));
}

void TestInputAids::memoWindow() {
    Typist t;
    TForm5& w = t.memo();
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("Ｆキー・メモ(ctrl+f)")));
    QCOMPARE(w.size(), QSize(217, 333));
    for (QLineEdit* e : w.texts)
        QVERIFY(e->text().isEmpty());

    // A key with another use shows that use in place of its row, and its
    // text is not inserted.
    struct Case {
        QCheckBox* option;
        QLabel* label;
        int row;
    };
    for (const Case& c : {Case{t.m().CheckBox52, w.Label3, TForm5::F7},
                          Case{t.m().CheckBox43, w.Label1, TForm5::F8},
                          Case{t.m().CheckBox47, w.Label4, TForm5::F11}}) {
        QVERIFY(c.label->isHidden() && !w.texts[std::size_t(c.row)]->isHidden());
        c.option->setChecked(true);
        QVERIFY(!c.label->isHidden());
        QVERIFY(w.texts[std::size_t(c.row)]->isHidden());
        QVERIFY(w.replaces[std::size_t(c.row)]->isHidden());
        c.option->setChecked(false);
        QVERIFY(c.label->isHidden() && !w.texts[std::size_t(c.row)]->isHidden());
    }
    w.Edit65->setText(QStringLiteral("メモ"));
    t.m().CheckBox47->setChecked(true);
    t.station->record().reset({QStringLiteral("画面の文")});
    t.key(Qt::Key_F11);
    QCOMPARE(t.input(), QString());
    const QString screen = t.station->record().textForm(); // Del took the last character
    QVERIFY2(screen.startsWith(QStringLiteral("画面の")) && !screen.contains(QChar(u'文')),
             qPrintable(screen));

    // The button places it below and right of the main window's corner.
    t.m().move(100, 50);
    t.m().Button52->click();
    QVERIFY(w.isVisible());
    QCOMPARE(w.pos(), QPoint(125, 130));
    w.resize(400, 333);
    QCOMPARE(w.Edit45->geometry().right() + 1, 400);
    QCOMPARE(w.Edit62->width(), w.Edit45->width());
    w.FormActivate();
    QCOMPARE(w.focusWidget(), w.Edit45);
}

void TestInputAids::correctionKey_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("taken");
    QTest::newRow("short") << "誤字"
                           << "誤字";
    QTest::newRow("300 bytes: the first 253")
        << QString(300, QLatin1Char('x')) << QString(253, QLatin1Char('x'));
    // Byte 253 is the first byte of a double-byte character: it stays out.
    QTest::newRow("never half a character") << fullWidth(150) << fullWidth(126);
    QTest::newRow("odd start, whole characters")
        << QLatin1Char('x') + fullWidth(150) << QLatin1Char('x') + fullWidth(126);
    QTest::newRow("line breaks left out") << "一行目\n二行目"
                                          << "一行目二行目";
}

void TestInputAids::correctionKey() {
    QFETCH(QString, selected);
    QFETCH(QString, taken);
    Typist t;
    t.m().CheckBox52->setChecked(true);
    t.m().RichEdit2->setPlainText(QStringLiteral("前の文\n") + selected + QStringLiteral("\n後"));
    QTextCursor c = t.m().RichEdit2->textCursor();
    c.setPosition(4);
    c.setPosition(4 + int(selected.size()), QTextCursor::KeepAnchor);
    t.m().RichEdit2->setTextCursor(c);
    t.setInput(QStringLiteral("書きかけ"));
    t.key(Qt::Key_F7);
    QCOMPARE(t.input(), QStringLiteral("訂正：↑の「") + taken + QStringLiteral("」は「」です。"));
    QVERIFY(text::byteLength(taken) <= InputAids::kCorrectionBytes);
}

void TestInputAids::correctionKeyInTheWordProcessorScreen() {
    Typist t;
    t.m().Edit94->setText(QStringLiteral("<"));
    t.m().Edit95->setText(QStringLiteral(">"));
    QPlainTextEdit* wp = t.m().RichEdit2;
    wp->setPlainText(QStringLiteral("選んだ所"));
    wp->selectAll();
    wp->setFocus();
    // Not the correction key: the screen gets F7 as any other key.
    QTest::keyClick(wp, Qt::Key_F7);
    QCOMPARE(t.input(), QString());
    t.m().CheckBox52->setChecked(true);
    QTest::keyClick(wp, Qt::Key_F7);
    QCOMPARE(t.input(), QStringLiteral("<選んだ所>"));
    QCOMPARE(t.m().focusWidget(), t.edit());
}

void TestInputAids::bracketKey_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("expected");
    QTest::newRow("after the speaker name")
        << "山田："
        << "山田：こんにちは" << false << "山田：「こんにちは」";
    QTest::newRow("shift") << "山田："
                           << "山田：歌" << true << "山田：♪歌♪";
    QTest::newRow("no name") << ""
                             << "一行目\n二行目" << false << "「一行目\n二行目」";
    QTest::newRow("name not at the start") << "山田："
                                           << "佐藤：はい" << false << "「佐藤：はい」";
}

void TestInputAids::bracketKey() {
    QFETCH(QString, name);
    QFETCH(QString, input);
    QFETCH(bool, shift);
    QFETCH(QString, expected);
    Typist t;
    t.m().Edit31->setText(name);
    t.m().CheckBox43->setChecked(true);
    t.setInput(input);
    t.key(Qt::Key_F8, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(t.input(), expected);
    QVERIFY(t.captions.isEmpty());
}

void TestInputAids::blankLinesOnAMembersScreen() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    auto members = [](Station& s) {
        int n = 0;
        for (int i = 0; i < 8; ++i)
            n += s.members().companion(i);
        return n;
    };
    QTRY_VERIFY(members(a) == 1 && members(b) == 1);
    a.main()->CheckBox13->setChecked(true);
    a.main()->Edit31->setText(QStringLiteral("司会："));
    a.main()->RichEdit1->setPlainText(QStringLiteral("司会：開会します"));
    const int before = b.record().lineCount();
    QTest::keyClick(a.main()->RichEdit1, Qt::Key_F12);
    net.settle();
    QTRY_COMPARE(b.record().lineCount(), before + 3);
    const DisplayRecord& r = b.record();
    QCOMPARE((QStringList{r.line(before), r.line(before + 1), r.line(before + 2)}),
             (QStringList{QString(), QStringLiteral("司会：開会します"), QString()}));
    QCOMPARE(a.main()->RichEdit1->toPlainText(), QStringLiteral("司会："));
}

void TestInputAids::blankLinesWithTheTextBeforeTheCaret() {
    Typist t;
    t.m().CheckBox53->setChecked(true);
    t.setInput(QStringLiteral("送る。残る"), 3);
    t.key(Qt::Key_F12);
    QCOMPARE(t.captions, (QStringList{QStringLiteral("$改行$"), QStringLiteral("送る。")}));
    QCOMPARE(t.input(), QStringLiteral("残る"));
    QCOMPARE(t.edit()->textCursor().position(), 0);

    // A sentence too long for one send: nothing goes, not even the blank line.
    t.m().CheckBox53->setChecked(false);
    t.captions.clear();
    t.setInput(fullWidth(257));
    t.key(Qt::Key_F12);
    QVERIFY(t.captions.isEmpty());
    QCOMPARE(t.input(), fullWidth(257));
    QCOMPARE(t.messages.shown, QStringList{InputPart::kTooLong});
}

// ---- time and length limits ---------------------------------------------------------

void TestInputAids::timeLimit() {
    Typist t;
    t.m().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.m()));
    t.edit()->setFocus();
    t.m().Edit31->setText(QStringLiteral("Ａ："));
    t.m().CheckBox23->setChecked(true);
    t.m().Edit16->setText(QStringLiteral("5"));
    QVERIFY(!t.m().Timer3->isActive());
    quorel::test::type(t.edit(), QStringLiteral("時間切れの文"));
    QVERIFY(t.m().Timer3->isActive());
    QCOMPARE(t.m().Timer3->interval(), 5000);
    t.station->aids().Timer3Timer();
    QCOMPARE(t.captions, QStringList{QStringLiteral("時間切れの文")});
    QCOMPARE(t.clipboard.text(), QStringLiteral("時間切れの文"));
    QCOMPARE(t.input(), QStringLiteral("Ａ："));
    // The send ended the sentence: the warning is gone, the timer idle until
    // the next key; putting the name back is not a key.
    QVERIFY(t.panelsFace());
    QVERIFY(!t.m().Timer3->isActive());
    t.key(Qt::Key_X);
    QVERIFY(t.m().Timer3->isActive());

    // Nothing has the focus: a line feed.
    t.captions.clear();
    t.m().PageControl1->setCurrentWidget(t.m().TabSheet6);
    t.m().Edit31->setFocus();
    QVERIFY(!t.edit()->hasFocus());
    t.station->aids().Timer3Timer();
    QCOMPARE(t.captions, QStringList{QStringLiteral("$改行$")});
}

void TestInputAids::timeLimitOnlyWarns() {
    Typist t;
    t.m().CheckBox15->setChecked(true);
    t.key(Qt::Key_A);
    QCOMPARE(t.m().Timer3->interval(), 15000);
    t.station->aids().Timer3Timer();
    QVERIFY(t.panelsRed());
    QVERIFY(t.captions.isEmpty());
    QCOMPARE(t.input(), QStringLiteral("a"));
    // Esc ends the sentence, and the next key starts the limit anew.
    t.key(Qt::Key_Escape);
    QVERIFY(t.panelsFace());
    QVERIFY(!t.m().Timer3->isActive());
    t.key(Qt::Key_B);
    t.station->aids().Timer3Timer();
    QVERIFY(t.panelsRed());
    t.m().CheckBox15->setChecked(false);
    QVERIFY(t.panelsFace());
}

void TestInputAids::lengthLimit() {
    Typist t;
    t.m().CheckBox51->setChecked(true);
    quorel::test::type(t.edit(), fullWidth(19) + QStringLiteral("x"));
    QVERIFY(t.panelsFace());
    t.key(Qt::Key_Y); // 40 bytes: red
    QVERIFY(t.panelsRed());
    t.key(Qt::Key_Backspace);
    QVERIFY(t.panelsFace());

    // The 40th byte sends at once, 20 full-width characters.
    t.m().CheckBox51->setChecked(false);
    t.edit()->clear();
    t.m().CheckBox54->setChecked(true);
    for (int i = 0; i < 19; ++i)
        quorel::test::type(t.edit(), QStringLiteral("あ"));
    QVERIFY(t.captions.isEmpty());
    quorel::test::type(t.edit(), QStringLiteral("い"));
    QCOMPARE(t.captions, QStringList{fullWidth(19) + QStringLiteral("い")});
    QCOMPARE(t.input(), QString());
}

void TestInputAids::punctuationSend() {
    Typist t;
    t.m().CheckBox61->setChecked(true);
    quorel::test::type(t.edit(), QStringLiteral("今日は"));
    QVERIFY(t.captions.isEmpty());
    quorel::test::type(t.edit(), QStringLiteral("晴れ。"));
    QCOMPARE(t.captions, QStringList{QStringLiteral("今日は晴れ。")});
    // Half-width marks count as well.
    t.key(Qt::Key_A);
    t.key(Qt::Key_Comma);
    QCOMPARE(t.captions.last(), QStringLiteral("a,"));
    // With the text before the caret only, what stays is not sent after it.
    t.captions.clear();
    t.m().CheckBox53->setChecked(true);
    t.m().CheckBox61->setChecked(false);
    t.setInput(QStringLiteral("前後、続き"), 1);
    t.m().CheckBox61->setChecked(true);
    quorel::test::type(t.edit(), QStringLiteral("。"));
    QCOMPARE(t.captions, QStringList{QStringLiteral("前。")});
    QCOMPARE(t.input(), QStringLiteral("後、続き"));
}

void TestInputAids::automaticSendsNeverFeedThemselves_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("punctuation");
    QTest::addColumn<QString>("limit"); // Edit21 with the length send on, or empty
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("sent");
    QTest::newRow("a name with 。 and the punctuation send") << "議長。" << true << ""
                                                             << "開会" << QStringList{};
    QTest::newRow("... the typist's own 。 sends once") << "議長。" << true << ""
                                                        << "開会。" << QStringList{"議長。開会。"};
    QTest::newRow("a name as long as the limit") << "議長：" << false << "6"
                                                 << "x" << QStringList{"議長：x"};
    QTest::newRow("limit 0 is no limit") << "" << false << "0"
                                         << "abc" << QStringList{};
    QTest::newRow("limit -5 is no limit") << "議長" << false << "-5"
                                          << "abc" << QStringList{};
}

void TestInputAids::automaticSendsNeverFeedThemselves() {
    QFETCH(QString, name);
    QFETCH(bool, punctuation);
    QFETCH(QString, limit);
    QFETCH(QString, typed);
    QFETCH(QStringList, sent);
    Typist t;
    t.m().Edit31->setText(name);
    t.setInput(name);
    t.m().CheckBox61->setChecked(punctuation);
    if (!limit.isEmpty()) {
        t.m().Edit21->setText(limit);
        t.m().CheckBox54->setChecked(true);
    }
    // The name put back after a send is not typing either.
    t.station->input().sendSentence(QStringLiteral("前の文"));
    t.captions.clear();
    QCOMPARE(t.input(), name);
    quorel::test::type(t.edit(), typed);
    QCOMPARE(t.captions, sent);
    QCOMPARE(t.input(), sent.isEmpty() ? name + typed : name);
}

void TestInputAids::undoneSentenceWaitsForTheNextSend() {
    Typist t;
    t.m().CheckBox61->setChecked(true);
    quorel::test::type(t.edit(), QStringLiteral("取り消す。"));
    QCOMPARE(t.captions.size(), 1);
    t.key(Qt::Key_F9);
    QCOMPARE(t.input(), QStringLiteral("取り消す。"));
    quorel::test::type(t.edit(), QStringLiteral("直し、"));
    QCOMPARE(t.captions.size(), 1);
    t.key(Qt::Key_Return);
    QCOMPARE(t.captions.size(), 2);
    quorel::test::type(t.edit(), QStringLiteral("次。"));
    QCOMPARE(t.captions.last(), QStringLiteral("次。"));
}

void TestInputAids::refusedAutomaticSendKeepsTheText_data() {
    QTest::addColumn<QString>("aid");
    QTest::newRow("time limit") << "time";
    QTest::newRow("length limit") << "length";
    QTest::newRow("punctuation") << "punctuation";
}

void TestInputAids::refusedAutomaticSendKeepsTheText() {
    QFETCH(QString, aid);
    Typist t;
    t.m().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.m()));
    t.edit()->setFocus();
    const QString tooLong = fullWidth(300);
    t.setInput(tooLong);
    if (aid == QLatin1String("time")) {
        t.m().CheckBox23->setChecked(true);
        t.station->aids().Timer3Timer();
    } else if (aid == QLatin1String("length")) {
        t.m().Edit21->setText(QStringLiteral("600"));
        t.m().CheckBox54->setChecked(true);
        quorel::test::type(t.edit(), QStringLiteral("い"));
    } else {
        t.m().CheckBox61->setChecked(true);
        quorel::test::type(t.edit(), QStringLiteral("。"));
    }
    QVERIFY(t.captions.isEmpty());
    QVERIFY(t.input().startsWith(tooLong));
    QCOMPARE(t.messages.shown, QStringList{InputPart::kTooLong});
}

void TestInputAids::numberBoxesFallBackToTheirLastNumber() {
    Typist t;
    t.m().CheckBox15->setChecked(true);
    t.m().Edit16->setText(QStringLiteral("7"));
    t.m().Edit16->setText(QStringLiteral("7秒"));
    t.key(Qt::Key_A);
    QCOMPARE(t.m().Timer3->interval(), 7000);

    t.m().Edit21->setText(QStringLiteral("4"));
    t.m().Edit21->setText(QStringLiteral("四"));
    t.m().CheckBox54->setChecked(true);
    t.setInput(QString());
    QTest::keyClicks(t.edit(), QStringLiteral("abcd"));
    QCOMPARE(t.captions, QStringList{QStringLiteral("abcd")});

    t.m().Edit24->setText(QStringLiteral("x"));
    t.m().CheckBox62->setChecked(true);
    t.station->aids().Timer7Timer();
    QVERIFY(t.messages.shown.isEmpty());
}

// ---- characters per minute ----------------------------------------------------------

void TestInputAids::charactersPerMinute() {
    Typist t;
    InputAids& aids = t.station->aids();
    t.m().CheckBox44->setChecked(true);
    QVERIFY(t.m().Timer7->isActive());
    QCOMPARE(t.m().Timer7->interval(), 60000);
    t.m().CheckBox45->setChecked(true);
    QVERIFY(t.m().RichEdit3->toPlainText().endsWith(InputAids::kStatisticsHeader));
    t.m().Edit24->setText(QStringLiteral("50"));
    t.m().CheckBox62->setChecked(true);

    // 99 full-width characters and the line break: 200 bytes.
    const auto before = t.station->record().textLength();
    t.station->input().sendSentence(fullWidth(99));
    QCOMPARE(t.station->record().textLength() - before, 200);
    aids.Timer7Timer();
    QCOMPARE(t.tab(t.m().TabSheet5), QStringLiteral("Now:100"));
    QCOMPARE(t.tab(t.m().partner), QStringLiteral("Max:100"));
    QCOMPARE(t.tab(t.m().TabSheet2), QStringLiteral("Ave:10"));
    QCOMPARE(t.tab(t.m().TabSheet3), QStringLiteral("AvMx:10"));
    QVERIFY(t.m().RichEdit3->toPlainText().endsWith(QStringLiteral("9:00:00,100,100,10,10")));
    QCOMPARE(t.edit()->palette().color(QPalette::Base), QColor(255, 255, 0));

    // Taking the sentence back shrinks the record: that minute counts 0.
    t.key(Qt::Key_F9);
    aids.Timer7Timer();
    QCOMPARE(t.tab(t.m().TabSheet5), QStringLiteral("Now:0"));
    QCOMPARE(t.tab(t.m().partner), QStringLiteral("Max:100"));
    QCOMPARE(t.tab(t.m().TabSheet2), QStringLiteral("Ave:10"));
    QCOMPARE(t.edit()->palette().color(QPalette::Base), t.m().inputBackground);
    t.station->record().reset({});
    aids.Timer7Timer();
    QCOMPARE(aids.perMinute()[0], 0);
    QCOMPARE(aids.perMinute()[2], 100);

    t.m().CheckBox44->setChecked(false);
    QVERIFY(!t.m().Timer7->isActive());
    QCOMPARE(t.tab(t.m().TabSheet5), QStringLiteral("補助Ｗ"));
    QCOMPARE(t.tab(t.m().partner), QStringLiteral("ﾊﾟｰﾄﾅｰ"));
    QCOMPARE(t.tab(t.m().TabSheet2), QStringLiteral("表示１"));
    QCOMPARE(t.tab(t.m().TabSheet3), QStringLiteral("Display 2"));
    QVERIFY(!t.m().CheckBox45->isChecked() && !t.m().CheckBox62->isChecked());
}

void TestInputAids::charactersPerMinuteAfterAPeriodicCheck() {
    Typist t;
    t.m().Edit91->setText(QStringLiteral("5"));
    for (int i = 0; i < 30; ++i)
        t.station->input().sendSentence(fullWidth(50));
    t.m().CheckBox44->setChecked(true);
    t.station->logs().PeriodicLogCheck();          // the record is cut to its tail
    t.station->input().sendSentence(fullWidth(9)); // 20 bytes
    t.station->aids().Timer7Timer();
    QCOMPARE(t.tab(t.m().TabSheet5), QStringLiteral("Now:10"));
}

// ---- conversion colours -------------------------------------------------------------

namespace {

// A composition of two clauses; the second is being converted (highlighted).
void compose(QWidget* w) {
    QTextCharFormat plain;
    plain.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    QTextCharFormat converting = plain;
    converting.setBackground(QColor(Qt::darkBlue));
    converting.setForeground(QColor(Qt::white));
    QInputMethodEvent e(
        QStringLiteral("きょうは晴れ"),
        {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, 4, QVariant(plain)),
         QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 4, 2, QVariant(converting))});
    QApplication::sendEvent(w, &e);
}

// The colours the editor draws the composition with, clause by clause; none
// where the clause has no colour of its own.
QList<QPair<QColor, QColor>> clauseColours(const QTextBlock& block) {
    QList<QPair<QColor, QColor>> out;
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
        if (r.format.hasProperty(QTextFormat::BackgroundBrush))
            out << qMakePair(r.format.foreground().color(), r.format.background().color());
        else
            out << qMakePair(QColor(), QColor());
    }
    return out;
}

} // namespace

void TestInputAids::conversionColours() {
    Typist t;
    compose(t.edit());
    auto colours = clauseColours(t.edit()->document()->firstBlock());
    QCOMPARE(colours.size(), 2);
    // Only the clause being converted: blue on white at start.
    QCOMPARE(colours[0], qMakePair(QColor(), QColor()));
    QCOMPARE(colours[1], qMakePair(QColor(0, 0, 255), QColor(255, 255, 255)));

    t.choosers.nextColor = QColor(255, 0, 0);
    t.m().Button27->click();
    t.choosers.nextColor = QColor(255, 255, 0);
    t.m().Button34->click();
    compose(t.edit());
    colours = clauseColours(t.edit()->document()->firstBlock());
    QCOMPARE(colours[1], qMakePair(QColor(255, 0, 0), QColor(255, 255, 0)));

    // The word-processor screen takes them as well.
    QPlainTextEdit* wp = t.m().RichEdit2;
    wp->setReadOnly(false);
    compose(wp);
    colours = clauseColours(wp->document()->firstBlock());
    QCOMPARE(colours.size(), 2);
    QCOMPARE(colours[1], qMakePair(QColor(255, 0, 0), QColor(255, 255, 0)));

    // Saved with the display settings as Windows colours.
    const QStringList lines = t.station->settings().WriteSettings();
    QVERIFY(lines.contains(QStringLiteral("036:255:変換中文字色")));
    QVERIFY(lines.contains(QStringLiteral("037:65535:変換中文字色（背景色）")));
}

// ---- settings -----------------------------------------------------------------------

void TestInputAids::settingsRoundTripThroughAFile() {
    Typist t;
    const QStringList changed = {
        "036:32768", "037:0",    "039:司会：", "040:F1文",   "041:F2文", "042:F3文",
        "043:F4文",  "044:F5文", "045:F6文",   "046:F7文",   "047:F8文", "048:F11文",
        "049:on",    "050:on",   "051:on",     "052:on",     "053:on",   "054:on",
        "055:on",    "056:on",   "057:on",     "058:on",     "101:on",   "102:【",
        "103:】",    "140:on",   "141:訂正「", "142:」です", "143:on",   "161:Ｆキーメモ表示",
        "164:300",   "165:350",  "216:〔",     "217:〕",     "700:true", "701:30",
        "870:true",  "871:true", "872:250"};
    QStringList lines{settings::kHeader};
    for (const QString& l : changed)
        lines << l;
    QVERIFY(t.station->settings().ApplySettings(lines));
    const QString path = t.dir.filePath(QStringLiteral("aids.dp9"));
    QVERIFY(t.station->settingsCommands().saveFile(path));

    t.restart();
    t.station->Timer2Timer();
    Station& s = *t.station;
    QVERIFY(!s.main()->CheckBox61->isChecked());
    s.settingsCommands().loadFile(path);
    TMainConsole& m = *s.main();
    TForm5& memo = *s.fKeyMemo();
    QCOMPARE(memo.Edit45->text(), QStringLiteral("F1文"));
    QCOMPARE(memo.Edit65->text(), QStringLiteral("F11文"));
    for (QCheckBox* c : memo.replaces)
        QVERIFY(c->isChecked());
    QVERIFY(memo.isVisible());
    QCOMPARE(memo.size(), QSize(300, 350));
    for (QCheckBox* c : {m.CheckBox13, m.CheckBox43, m.CheckBox52, m.CheckBox53, m.CheckBox15,
                         m.CheckBox61, m.CheckBox62})
        QVERIFY2(c->isChecked(), qPrintable(c->objectName()));
    QCOMPARE(m.Edit78->text(), QStringLiteral("【"));
    QCOMPARE(m.Edit79->text(), QStringLiteral("】"));
    QCOMPARE(m.Edit94->text(), QStringLiteral("訂正「"));
    QCOMPARE(m.Edit95->text(), QStringLiteral("」です"));
    QCOMPARE(m.Edit5->text(), QStringLiteral("〔"));
    QCOMPARE(m.Edit7->text(), QStringLiteral("〕"));
    QCOMPARE(m.Edit16->text(), QStringLiteral("30"));
    QCOMPARE(m.Edit24->text(), QStringLiteral("250"));
    QCOMPARE(m.Edit31->text(), QStringLiteral("司会："));
    QCOMPARE(s.aids().conversionText(), QColor(0, 128, 0));
    QCOMPARE(s.aids().conversionBackground(), QColor(0, 0, 0));

    // The older key of the correction key is read the same way.
    QVERIFY(s.settings().ApplySettings({settings::kHeader, QStringLiteral("139:off")}));
    QVERIFY(!m.CheckBox52->isChecked());
}

QTEST_MAIN(TestInputAids)
#include "tst_input_aids.moc"
