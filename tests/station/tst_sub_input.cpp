// The sub input window: two panes that send like the input part, stop at 254
// bytes however the text comes in, take the typist's aids, get undone
// sentences back, show on the partner's monitor, and the column split.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_part.h"
#include "caption/screen_part.h"
#include "caption/sub_input.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "settings/catalogue.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "typing.h"
#include "windows/prepared/sub_input_window.h"

#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

using namespace quorel;
using quorel::test::Lan;

namespace {

// A typist and a display station of one group; the typist's window is open.
struct Pair {
    Pair() {
        a = &net.add();
        b = &net.add();
        QTRY_VERIFY(quorel::test::companions(*a) == 1 && quorel::test::companions(*b) == 1);
        net.settle();
        net.lan.clearTraffic();
        main().RichEdit1->clear();
        pane(0).clear();
        pane(1).clear();
        QTest::mouseClick(main().Button10, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(a->subInput()));
    }
    TMainConsole& main() { return *a->main(); }
    SubPane& pane(int k) { return *a->subInput()->panes[std::size_t(k)]; }
    void setPane(int k, const QString& text, int caret = -1) {
        pane(k).setPlainText(text);
        QTextCursor c = pane(k).textCursor();
        c.setPosition(caret < 0 ? int(text.size()) : caret);
        pane(k).setTextCursor(c);
    }
    // The captions the typist hands to the members, still sent.
    QStringList* recordCaptions() {
        auto* out = new QStringList;
        InputPart::Hooks& h = a->input().hooks();
        auto original = h.sendCaption;
        h.sendCaption = [out, original](const QString& s) {
            *out << s;
            original(s);
        };
        return out;
    }
    QStringList tail(Station& s, int n) {
        QStringList out;
        const DisplayRecord& r = s.record();
        for (int i = std::max(0, r.lineCount() - n); i < r.lineCount(); ++i)
            out << r.line(i);
        return out;
    }
    Lan net;
    Station* a = nullptr;
    Station* b = nullptr;
};

QString ascii(int n) {
    return QString(n, QLatin1Char('x'));
}

} // namespace

class TestSubInput : public QObject {
    Q_OBJECT
private slots:
    void openedByItsButtonWithPaneOneReady();
    void enterSendsThePaneAndLeavesTheOthers_data();
    void enterSendsThePaneAndLeavesTheOthers();
    void byteLimit_data();
    void byteLimit();
    void lengthLimitStillSendsFromThePane();
    void functionKeysActOnThePane();
    void blankLinesKeyHonoursTheLanSwitch();
    void undoPutsTheSentenceBackIntoItsPane();
    void partnerSeesTheFocusedPane();
    void columnSplitAndItsOptions();
    void warningPanelsTurnRedWithTheMainOnes();
    void inputPartSettingsReachThePanes();
};

void TestSubInput::openedByItsButtonWithPaneOneReady() {
    Lan net;
    Station& s = net.add();
    TForm14& w = *s.subInput();
    QVERIFY(!w.isVisible());
    QVERIFY(w.RichEdit1->toPlainText().startsWith(QStringLiteral("Specify the Font by")));
    QVERIFY(w.RichEdit2->toPlainText().isEmpty());
    s.main()->resize(703, 400);
    w.PageControl1->setCurrentWidget(w.TabSheet2);
    QTest::mouseClick(s.main()->Button10, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.windowTitle().contains(QStringLiteral("(ctrl+i)"), Qt::CaseInsensitive));
    QCOMPARE(w.width(), 703 * 4 / 5);
    QCOMPARE(w.PageControl1->currentWidget(), w.TabSheet1);
    QTRY_VERIFY(w.RichEdit1->hasFocus());
    QVERIFY(w.testAttribute(Qt::WA_WState_Visible));
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    // Closing only hides: the panes keep their text.
    w.RichEdit2->setPlainText(QStringLiteral("残る"));
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.RichEdit2->toPlainText(), QStringLiteral("残る"));
}

void TestSubInput::enterSendsThePaneAndLeavesTheOthers_data() {
    QTest::addColumn<int>("pane");
    QTest::addColumn<bool>("beforeCaret");
    QTest::addColumn<QString>("speaker");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("left");
    QTest::newRow("pane 2, all") << 1 << false << QString() << "二つ目です"
                                 << "";
    QTest::newRow("pane 1, all") << 0 << false << QString() << "二つ目です"
                                 << "";
    QTest::newRow("speaker name back") << 1 << false << "司会："
                                       << "二つ目です"
                                       << "司会：";
    QTest::newRow("before the caret") << 1 << true << QString() << "二つ"
                                      << "目です";
}

void TestSubInput::enterSendsThePaneAndLeavesTheOthers() {
    QFETCH(int, pane);
    QFETCH(bool, beforeCaret);
    QFETCH(QString, speaker);
    QFETCH(QString, sent);
    QFETCH(QString, left);
    Pair p;
    p.main().CheckBox53->setChecked(beforeCaret);
    p.main().Edit31->setText(speaker);
    p.main().RichEdit1->setPlainText(QStringLiteral("下書き"));
    const int other = 1 - pane;
    p.setPane(other, QStringLiteral("もう一つ"));
    p.setPane(pane, QStringLiteral("二つ目です"), beforeCaret ? 2 : -1);
    QTest::keyClick(&p.pane(pane), Qt::Key_Return);
    QTRY_COMPARE(p.tail(*p.b, 1), QStringList{sent});
    QCOMPARE(p.tail(*p.a, 1), QStringList{sent});
    QCOMPARE(p.pane(pane).toPlainText(), left);
    QCOMPARE(p.pane(other).toPlainText(), QStringLiteral("もう一つ"));
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));
}

void TestSubInput::byteLimit_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    const QString full = ascii(253);
    QTest::newRow("typing stops at the limit") << full << "keys"
                                               << "ab" << full + "a";
    QTest::newRow("typing into a full pane") << ascii(254) << "keys"
                                             << "a" << ascii(254);
    QTest::newRow("paste is cut") << full << "paste"
                                  << "yz" << full + "y";
    // A double-byte character never goes in halfway.
    QTest::newRow("commit of a double-byte character with one byte left") << full << "commit"
                                                                          << "あ" << full;
    QTest::newRow("commit is cut") << ascii(250) << "commit"
                                   << "あいう" << ascii(250) + "あい";
    QTest::newRow("line break counts two bytes") << full << "ctrl+enter"
                                                 << "" << full;
    QTest::newRow("replacing a selection frees its room")
        << "sel:" + ascii(254) << "paste" << ascii(300) << ascii(254);
    QTest::newRow("a paste of lines counts CR LF") << ascii(250) << "paste"
                                                   << "ab\r\ncd" << ascii(250) + "ab\n";
}

void TestSubInput::byteLimit() {
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, after);
    Pair p;
    SubPane& pane = p.pane(1);
    const bool select = before.startsWith(QStringLiteral("sel:"));
    p.setPane(1, select ? before.mid(4) : before);
    if (select)
        pane.selectAll();
    pane.setFocus();
    if (how == QLatin1String("keys")) {
        QTest::keyClicks(&pane, text);
    } else if (how == QLatin1String("paste")) {
        QMimeData data;
        data.setText(text);
        pane.insertFromMimeData(&data);
    } else if (how == QLatin1String("commit")) {
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(&pane, &e);
    } else {
        QTest::keyClick(&pane, Qt::Key_Return, Qt::ControlModifier);
    }
    QCOMPARE(pane.toPlainText(), after);
    QVERIFY(pane.bytes() <= SubPane::kLimit);
}

void TestSubInput::lengthLimitStillSendsFromThePane() {
    // The typing limit is the pane's; a lower length limit still sends first.
    Pair p;
    p.main().Edit21->setText(QStringLiteral("10"));
    p.main().CheckBox54->setChecked(true);
    p.main().RichEdit1->setPlainText(QStringLiteral("下書き"));
    p.pane(0).setFocus();
    QTest::keyClicks(&p.pane(0), QStringLiteral("abcdefghij"));
    QTRY_COMPARE(p.tail(*p.b, 1), QStringList{QStringLiteral("abcdefghij")});
    QCOMPARE(p.pane(0).toPlainText(), QString());
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));

    // Punctuation sends only from the input part.
    p.main().CheckBox54->setChecked(false);
    p.main().CheckBox61->setChecked(true);
    quorel::test::type(&p.pane(0), QStringLiteral("はい。"));
    QCOMPARE(p.pane(0).toPlainText(), QStringLiteral("はい。"));
}

void TestSubInput::functionKeysActOnThePane() {
    Pair p;
    TForm5& memo = *p.a->fKeyMemo();
    memo.texts[1]->setText(QStringLiteral("拍手"));
    p.main().RichEdit1->setPlainText(QStringLiteral("下書き"));
    p.setPane(1, QStringLiteral("ab"), 1);
    QTest::keyClick(&p.pane(1), Qt::Key_F2);
    QCOMPARE(p.pane(1).toPlainText(), QStringLiteral("a拍手b"));

    p.main().CheckBox43->setChecked(true);
    p.main().Edit78->setText(QStringLiteral("（"));
    p.main().Edit79->setText(QStringLiteral("）"));
    QTest::keyClick(&p.pane(1), Qt::Key_F8);
    QCOMPARE(p.pane(1).toPlainText(), QStringLiteral("（a拍手b）"));
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));

    // Esc cuts the pane alone; the pane's own undo brings it back.
    QTest::keyClick(&p.pane(1), Qt::Key_Escape);
    QCOMPARE(p.pane(1).toPlainText(), QString());
    QCOMPARE(p.net.stations[0]->clipboard.text(), QStringLiteral("（a拍手b）"));
    QTest::keyClick(&p.pane(1), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(p.pane(1).toPlainText(), QStringLiteral("（a拍手b）"));
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));
}

void TestSubInput::blankLinesKeyHonoursTheLanSwitch() {
    Pair p;
    std::unique_ptr<QStringList> captions(p.recordCaptions());
    p.main().CheckBox13->setChecked(true);
    p.main().RichEdit1->setPlainText(QStringLiteral("下書き"));
    // A tab is no text for the screen: the sentence is cleaned as every send is.
    p.setPane(0, QStringLiteral("開会\tします"));
    QTest::keyClick(&p.pane(0), Qt::Key_F12);
    QCOMPARE(*captions, (QStringList{QStringLiteral("$改行$"), QStringLiteral("開会 します"),
                                     QStringLiteral("$改行$")}));
    QTRY_COMPARE(p.tail(*p.b, 3),
                 (QStringList{QString(), QStringLiteral("開会 します"), QString()}));
    const auto& recent = p.a->record().recent();
    QCOMPARE((QStringList{recent[0], recent[1], recent[2]}),
             (QStringList{QString(), QStringLiteral("開会 します"), QString()}));
    QCOMPARE(p.pane(0).toPlainText(), QString());
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));

    // An empty pane: three line feeds.
    captions->clear();
    QTest::keyClick(&p.pane(0), Qt::Key_F12);
    QCOMPARE(*captions, QStringList(3, QStringLiteral("$改行$")));

    // "Send the input to LAN" off: nothing leaves the station.
    captions->clear();
    p.main().CheckBox22->setChecked(false);
    p.net.lan.clearTraffic();
    p.setPane(0, QStringLiteral("内緒"));
    QTest::keyClick(&p.pane(0), Qt::Key_F12);
    p.net.settle();
    QVERIFY(captions->isEmpty());
    for (const auto& d : p.net.lan.traffic())
        QVERIFY(d.toPort != 6711);
    QCOMPARE(p.tail(*p.a, 2), (QStringList{QStringLiteral("内緒"), QString()}));
}

void TestSubInput::undoPutsTheSentenceBackIntoItsPane() {
    Pair p;
    p.main().RichEdit1->setPlainText(QStringLiteral("下書き"));
    p.setPane(1, QStringLiteral("取り消す文"));
    QTest::keyClick(&p.pane(1), Qt::Key_Return);
    QTRY_COMPARE(p.tail(*p.b, 1), QStringList{QStringLiteral("取り消す文")});
    const int lines = p.b->record().lineCount();
    p.setPane(0, QStringLiteral("一"));
    p.setPane(1, QStringLiteral("続き"));
    QTest::keyClick(&p.pane(1), Qt::Key_F9);
    QCOMPARE(p.pane(1).toPlainText(), QStringLiteral("取り消す文続き"));
    QCOMPARE(p.pane(0).toPlainText(), QStringLiteral("一"));
    QCOMPARE(p.main().RichEdit1->toPlainText(), QStringLiteral("下書き"));
    QTRY_COMPARE(p.b->record().lineCount(), lines - 1);
}

void TestSubInput::partnerSeesTheFocusedPane() {
    Pair p;
    QTest::mouseClick(p.main().memberBePartner[0], Qt::LeftButton);
    QTRY_VERIFY(p.a->partner().flag() && p.b->partner().flag());
    p.main().RichEdit1->setPlainText(QStringLiteral("本体の文"));
    p.pane(1).setFocus();
    QTest::keyClicks(&p.pane(1), QStringLiteral("abc"));
    QTRY_COMPARE(p.b->main()->RichEdit27->toPlainText(), QStringLiteral("abc"));
    // What the input method commits is reported too.
    quorel::test::type(&p.pane(1), QStringLiteral("です"));
    QTRY_COMPARE(p.b->main()->RichEdit27->toPlainText(), QStringLiteral("abcです"));
}

void TestSubInput::columnSplitAndItsOptions() {
    Pair p;
    TForm14& w = *p.a->subInput();
    p.main().CheckBox50->setChecked(true);
    w.Edit20->setText(QStringLiteral("10"));
    QCOMPARE(w.UpDown14->value(), 10);
    w.CheckBox45->setChecked(true);
    // The split needs no markers and no wrap at the screen's edge.
    QVERIFY(!p.main().CheckBox50->isChecked());
    QVERIFY(w.CheckBox37->isChecked());
    QCOMPARE(p.main().RichEdit2->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(p.net.messages(0).shown, (QStringList{SubInput::kMarkersOff, SubInput::kNoWrapOn}));
    // While the split is on, markers are refused with the reason.
    p.main().CheckBox50->setChecked(true);
    QVERIFY(!p.main().CheckBox50->isChecked());
    QCOMPARE(p.net.messages(0).shown.last(), ScreenPart::kMarkersRefused);

    // Own sentences are cut; the display station without the split keeps one line.
    p.setPane(0, QStringLiteral("abcdefghijklmnopqrstuvwxy"));
    QTest::keyClick(&p.pane(0), Qt::Key_Return);
    QCOMPARE(p.tail(*p.a, 3), (QStringList{QStringLiteral("abcdefghij"),
                                           QStringLiteral("klmnopqrst"), QStringLiteral("uvwxy")}));
    QTRY_COMPARE(p.tail(*p.b, 1), QStringList{QStringLiteral("abcdefghijklmnopqrstuvwxy")});

    // Received sentences are cut as well.
    p.b->main()->RichEdit1->setPlainText(QStringLiteral("あいうえおかきく"));
    QTest::keyClick(p.b->main()->RichEdit1, Qt::Key_Return);
    QTRY_COMPARE(p.tail(*p.a, 2),
                 (QStringList{QStringLiteral("あいうえお"), QStringLiteral("かきく")}));

    // Wrapping again ends the split.
    w.CheckBox37->setChecked(false);
    QVERIFY(!w.CheckBox45->isChecked());
    QCOMPARE(p.main().RichEdit2->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    p.setPane(0, QStringLiteral("abcdefghijklmnopqrstuvwxy"));
    QTest::keyClick(&p.pane(0), Qt::Key_Return);
    QCOMPARE(p.tail(*p.a, 1), QStringList{QStringLiteral("abcdefghijklmnopqrstuvwxy")});
}

void TestSubInput::warningPanelsTurnRedWithTheMainOnes() {
    Pair p;
    TForm14& w = *p.a->subInput();
    p.main().Edit21->setText(QStringLiteral("4"));
    p.main().CheckBox51->setChecked(true);
    p.pane(1).setFocus();
    QTest::keyClicks(&p.pane(1), QStringLiteral("abcd"));
    for (QWidget* panel : {w.Panel1, w.Panel2, w.Panel3, p.main().Panel1}) {
        QVERIFY(panel->autoFillBackground());
        QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 0, 0));
    }
    QTest::keyClick(&p.pane(1), Qt::Key_Escape);
    for (QWidget* panel : {w.Panel1, w.Panel2, w.Panel3})
        QVERIFY(!panel->autoFillBackground());
}

void TestSubInput::inputPartSettingsReachThePanes() {
    Pair p;
    TForm14& w = *p.a->subInput();
    // Font size, background, conversion background and the splitter colours.
    QVERIFY(p.a->settings().ApplySettings({settings::kHeader, QStringLiteral("016:20"),
                                           QStringLiteral("023:255"), QStringLiteral("037:65280"),
                                           QStringLiteral("071:16711680")}));
    for (int k : {0, 1}) {
        QCOMPARE(p.pane(k).font().pointSize(), 20);
        QCOMPARE(p.pane(k).palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(p.pane(k).conversionBackground(), QColor(0, 255, 0));
    }
    QVERIFY(w.Splitter1->styleSheet().contains(QStringLiteral("#0000ff")));
}

QTEST_MAIN(TestSubInput)
#include "tst_sub_input.moc"
