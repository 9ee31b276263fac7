// The pre-roll template: prepared lines sent with F1 (whole or the part before
// the caret, cleared or kept), files in and out, the monitor of the lines
// around the caret on other stations, and stations following the caret line.

#include "app/main_console.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "net/nmudp.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "windows/info/information_window.h"
#include "windows/prepared/preroll.h"
#include "windows/prepared/preroll_monitor.h"
#include "windows/prepared/preroll_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHostAddress>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::Peer;

namespace {

constexpr int kCaptionPort = 6711;
constexpr int kSettingsPort = 6712;
constexpr int kLower = 6734;
constexpr int kUpper = 6735;
constexpr int kLink = 6720;

// What crossed the LAN to `port`, as "to=text".
QStringList sentTo(Lan& net, int port) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == port)
            out << QHostAddress(d.to).toString() + '=' + text::decode(d.data);
    return out;
}

// Stations of one group.
struct Group {
    explicit Group(int n = 2) {
        for (int i = 0; i < n; ++i)
            s.push_back(&net.add());
        QTRY_VERIFY(std::all_of(s.begin(), s.end(), [n](Station* st) {
            return quorel::test::companions(*st) == n - 1;
        }));
        net.settle();
        net.lan.clearTraffic();
    }
    Station& operator[](std::size_t i) { return *s[i]; }
    Lan net;
    std::vector<Station*> s;
};

PrerollPane& pane(Station& s, int k = 0) {
    return *s.preroll()->panes[std::size_t(k)];
}

void setCaret(PrerollPane& p, int line, int column = 0) {
    QTextCursor c(p.document()->findBlockByNumber(line));
    c.setPosition(c.block().position() + column);
    p.setTextCursor(c);
}

QPoint caret(const PrerollPane& p) {
    const QTextCursor c = p.textCursor();
    return {c.positionInBlock(), c.blockNumber()};
}

// Records what the pane hands to Send a sentence, and still sends it.
QStringList* recordSentences(Station& s) {
    auto* sent = new QStringList;
    Preroll::Hooks& h = s.prerollTemplate().hooks();
    auto original = h.sendSentence;
    h.sendSentence = [sent, original](const QString& x) {
        const int r = original(x);
        if (r == 0)
            *sent << x;
        return r;
    };
    return sent;
}

QStringList numbered(int n, const QString& stem = QStringLiteral("L")) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << stem + QString::number(i);
    return out;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestPreroll : public QObject {
    Q_OBJECT
private slots:
    void f1SendsLinesToTheGroupAndSkipsComments();
    void sendingAndClearing_data();
    void sendingAndClearing();
    void longLinesAndRefusedSends();
    void telopLinesReachAMemberAndComeBack();
    void telopRouteAndOtherKeys();
    void importAndSave();
    void monitorAroundTheCaret();
    void monitorDestinations();
    void linkFollowers();
    void scrollDistanceGoesToThePartner();
    void windowAndKeyboard();
    void settingsKeys();
};

void TestPreroll::f1SendsLinesToTheGroupAndSkipsComments() {
    Group g;
    PrerollPane& p = pane(g[0]);
    p.setPlainText(QStringLiteral("最初の行\n<-コメント\n\n次の行\n <-先頭が空白"));
    setCaret(p, 0, 2);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&p, Qt::Key_F1);
    g.net.settle();
    // The comment is skipped, the empty line is a line feed, and a line that
    // only contains "<-" further in is sent.
    QCOMPARE(sentTo(g.net, kCaptionPort),
             (QStringList{"192.168.1.11=最初の行", "192.168.1.11=$改行$", "192.168.1.11=次の行",
                          "192.168.1.11= <-先頭が空白"}));
    const DisplayRecord& r = g[1].record();
    QCOMPARE(r.line(r.lineCount() - 1), QStringLiteral(" <-先頭が空白"));
    // Nothing was cleared: the lines stay for another time.
    QCOMPARE(p.document()->blockCount(), 5);
    QCOMPARE(caret(p), QPoint(p.document()->lastBlock().length() - 1, 4));
}

void TestPreroll::sendingAndClearing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPoint>("at"); // column, line
    QTest::addColumn<bool>("part");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<bool>("former");
    QTest::addColumn<QString>("advance");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QPoint>("caretAfter");

    QTest::newRow("whole line kept: next line")
        << "one\ntwo" << QPoint(2, 0) << false << false << false << "1"
        << "one"
        << "one\ntwo" << QPoint(0, 1);
    QTest::newRow("whole line cleared with its break")
        << "one\ntwo" << QPoint(2, 0) << false << true << false << "1"
        << "one"
        << "two" << QPoint(0, 0);
    QTest::newRow("last line cleared, its line stays")
        << "one\ntwo" << QPoint(1, 1) << false << true << false << "1"
        << "two"
        << "one\n"
        << QPoint(0, 1);
    QTest::newRow("empty line sends a line feed")
        << "\nnext" << QPoint(0, 0) << false << false << false << "1"
        << ""
        << "\nnext" << QPoint(0, 1);
    QTest::newRow("part kept: caret back")
        << "abcdef\nnext" << QPoint(3, 0) << true << false << false << "1"
        << "abc"
        << "abcdef\nnext" << QPoint(3, 0);
    QTest::newRow("part cleared, advance 1")
        << "abcdef\nnext" << QPoint(3, 0) << true << true << false << "1"
        << "abc"
        << "def\nnext" << QPoint(1, 0);
    QTest::newRow("advance 3 with 5 left: end of line")
        << "abcdefgh" << QPoint(3, 0) << true << true << false << "3"
        << "abc"
        << "defgh" << QPoint(5, 0);
    QTest::newRow("advance 3 with 6 left: 3 on")
        << "abcdefghi" << QPoint(3, 0) << true << true << false << "3"
        << "abc"
        << "defghi" << QPoint(3, 0);
    QTest::newRow("advance 1 into a full-width character goes past it")
        << "あいうえ" << QPoint(1, 0) << true << true << false << "1"
        << "あ"
        << "いうえ" << QPoint(1, 0);
    QTest::newRow("advance 0 stays at the start")
        << "abcdef" << QPoint(3, 0) << true << true << false << "0"
        << "abc"
        << "def" << QPoint(0, 0);
    QTest::newRow("line emptied: removed")
        << "abc\nnext" << QPoint(3, 0) << true << true << false << "1"
        << "abc"
        << "next" << QPoint(0, 0);
    QTest::newRow("caret at the start of an empty line: removed")
        << "top\n\nnext" << QPoint(0, 1) << true << true << false << "1"
        << ""
        << "top\nnext" << QPoint(0, 1);
    QTest::newRow("to the former line on line 0: a first line is made")
        << "abcdef\nnext" << QPoint(3, 0) << true << true << true << "1"
        << "abc"
        << "abc\ndef\nnext" << QPoint(1, 1);
    QTest::newRow("to the former line")
        << "top\nabcdef" << QPoint(3, 1) << true << true << true << "1"
        << "abc"
        << "topabc\ndef" << QPoint(1, 1);
    QTest::newRow("to the former line, line emptied: the empty line stays")
        << "top\nabc\nnext" << QPoint(3, 1) << true << true << true << "1"
        << "abc"
        << "topabc\n\nnext" << QPoint(0, 2);
}

void TestPreroll::sendingAndClearing() {
    QFETCH(QString, text);
    QFETCH(QPoint, at);
    QFETCH(bool, part);
    QFETCH(bool, clear);
    QFETCH(bool, former);
    QFETCH(QString, advance);
    QFETCH(QString, sent);
    QFETCH(QString, after);
    QFETCH(QPoint, caretAfter);

    test::StationFixture f;
    Station& s = *f.station;
    TForm11& w = *s.preroll();
    std::unique_ptr<QStringList> sentences(recordSentences(s));
    w.CheckBox3->setChecked(part);
    w.CheckBox2->setChecked(clear);
    w.CheckBox22->setChecked(former);
    w.Edit1->setText(advance);
    PrerollPane& p = pane(s);
    p.setPlainText(text);
    setCaret(p, at.y(), at.x());
    QTest::keyClick(&p, Qt::Key_F1);
    QCOMPARE(*sentences, QStringList{sent});
    QCOMPARE(p.toPlainText(), after);
    QCOMPARE(caret(p), caretAfter);
    QVERIFY(!p.textCursor().hasSelection());
}

void TestPreroll::longLinesAndRefusedSends() {
    test::StationFixture f;
    Station& s = *f.station;
    TForm11& w = *s.preroll();
    std::unique_ptr<QStringList> sentences(recordSentences(s));
    PrerollPane& p = pane(s);
    w.CheckBox2->setChecked(true);

    // A line Send a sentence refuses (over 512 bytes) stays with the caret.
    const QString refused(513, QLatin1Char('x'));
    p.setPlainText(refused + QStringLiteral("\nnext"));
    setCaret(p, 0, 4);
    QTest::keyClick(&p, Qt::Key_F1);
    QVERIFY(sentences->isEmpty());
    QCOMPARE(p.toPlainText(), refused + QStringLiteral("\nnext"));
    QCOMPARE(caret(p), QPoint(4, 0));
    QCOMPARE(f.messages.shown.size(), 1);

    // In part mode too.
    w.CheckBox3->setChecked(true);
    setCaret(p, 0, 513);
    QTest::keyClick(&p, Qt::Key_F1);
    QVERIFY(sentences->isEmpty());
    QCOMPARE(p.toPlainText(), refused + QStringLiteral("\nnext"));
    QCOMPARE(caret(p), QPoint(513, 0));
    w.CheckBox3->setChecked(false);

    // 512 bytes (256 full-width characters) are taken and cleared.
    const QString full(256, QChar(u'字'));
    p.setPlainText(full + QStringLiteral("\nnext"));
    setCaret(p, 0, 0);
    QTest::keyClick(&p, Qt::Key_F1);
    QCOMPARE(*sentences, QStringList{full});
    QCOMPARE(p.toPlainText(), QStringLiteral("next"));

    // Past 1023 bytes the pre-roll itself warns, in both modes; the telop
    // route takes 1023.
    QStringList telop;
    s.prerollTemplate().hooks().setTelopText = [&telop](const QString& x) { telop << x; };
    w.CheckBox6->setChecked(true);
    w.CheckBox4->setChecked(false);
    f.messages.shown.clear();
    const QString l1023 = QString(511, QChar(u'あ')) + QLatin1Char('a');
    const QString l1024(512, QChar(u'あ'));
    QCOMPARE(text::byteLength(l1023), 1023);
    for (bool partMode : {false, true}) {
        w.CheckBox3->setChecked(partMode);
        p.setPlainText(l1024 + QLatin1Char('\n') + l1023);
        setCaret(p, 0, partMode ? l1024.size() : 5);
        QTest::keyClick(&p, Qt::Key_F1);
        QCOMPARE(f.messages.shown, QStringList{Preroll::kTooLong});
        QCOMPARE(p.toPlainText(), l1024 + QLatin1Char('\n') + l1023);
        QCOMPARE(caret(p), QPoint(partMode ? l1024.size() : 5, 0));
        setCaret(p, 1, partMode ? l1023.size() : 0);
        QTest::keyClick(&p, Qt::Key_F1);
        QCOMPARE(telop.size(), 1);
        QCOMPARE(telop.takeFirst(), l1023);
        f.messages.shown.clear();
    }
    // With messages off the check still stops the send, silently.
    s.main()->CheckBox19->setChecked(false);
    setCaret(p, 0, l1024.size());
    QTest::keyClick(&p, Qt::Key_F1);
    QVERIFY(telop.isEmpty() && f.messages.shown.isEmpty());
}

void TestPreroll::telopLinesReachAMemberAndComeBack() {
    Group g;
    Station &a = g[0], &b = g[1];
    b.main()->CheckBox16->setChecked(false); // b shows telops
    a.main()->RichEdit1->setPlainText(QStringLiteral("書きかけ"));
    TForm11& w = *a.preroll();
    w.CheckBox6->setChecked(true); // pane 1 goes out as telops
    PrerollPane& p = pane(a, 0);
    p.setPlainText(QStringLiteral("休憩は10分です\n次の行"));
    setCaret(p, 0);
    QTest::keyClick(&p, Qt::Key_F1);
    g.net.settle();
    QCOMPARE(b.information()->Edit1->text(), QStringLiteral("休憩は10分です"));
    QVERIFY(b.information()->isVisible());
    QCOMPARE(caret(p), QPoint(0, 1));
    QCOMPARE(a.main()->RichEdit1->toPlainText(), QStringLiteral("書きかけ"));

    // The information window's "Add to  Pre-roll" puts its line into pane 1.
    a.information()->Edit1->setText(QStringLiteral("追記"));
    QTest::mouseClick(a.information()->Button7, Qt::LeftButton);
    const QString last = p.document()->lastBlock().text();
    QVERIFY2(last.startsWith(QStringLiteral("追記,500:")), qPrintable(last));
}

void TestPreroll::telopRouteAndOtherKeys() {
    Group g;
    Station& s = g[0];
    TForm11& w = *s.preroll();
    PrerollPane& p = pane(s, 1);
    w.RadioButton2->setChecked(true);
    QStringList calls;
    Preroll::Hooks& h = s.prerollTemplate().hooks();
    h.setTelopText = [&](const QString& x) { calls << "text " + x; };
    h.setTelopTextAndSettings = [&](const QString& x) { calls << "comma " + x; };
    h.stopTelopOnNetwork = [&] { calls << "stop lan"; };
    h.sendTelopToNetwork = [&] { calls << "send lan"; };
    h.clearLocalTelop = [&] { calls << "clear"; };
    h.startLocalTelop = [&] { calls << "start"; };
    h.showInformationWindow = [&] { calls << "show"; };
    h.setTelopOption = [&](Preroll::TelopOption o, bool on) {
        calls << QStringLiteral("option %1 %2").arg(int(o)).arg(on);
    };

    w.CheckBox7->setChecked(true);
    p.setPlainText(QStringLiteral("お知らせ,10\n次"));
    setCaret(p, 0);
    QTest::keyClick(&p, Qt::Key_F1);
    QCOMPARE(calls,
             (QStringList{"option 0 0", "option 2 1", "option 3 0", "stop lan", "text お知らせ,10",
                          "send lan", "clear", "show", "text お知らせ,10", "start"}));
    calls.clear();
    w.CheckBox13->setChecked(true);
    w.CheckBox23->setChecked(true);
    w.CheckBox5->setChecked(false);
    setCaret(p, 0);
    QTest::keyClick(&p, Qt::Key_F1);
    QCOMPARE(calls, (QStringList{"option 0 1", "option 1 0", "option 2 0", "option 3 0", "stop lan",
                                 "comma お知らせ,10", "send lan"}));
    calls.clear();
    QTest::mouseClick(w.Button9, Qt::LeftButton);
    QCOMPARE(calls, (QStringList{"option 3 0", "option 2 1", "stop lan"}));

    // A telop pane has no F12 and no F9; nothing goes to the screen.
    g.net.lan.clearTraffic();
    QTest::keyClick(&p, Qt::Key_F12);
    QTest::keyClick(&p, Qt::Key_F9);
    g.net.settle();
    QVERIFY(sentTo(g.net, kCaptionPort).isEmpty());

    // Pane 1 sends to the screen: F12 a line feed, F9 takes it back and,
    // with clearing on, puts the sentence back into the pane.
    PrerollPane& p1 = pane(s, 0);
    w.CheckBox2->setChecked(true);
    p1.setPlainText(QStringLiteral("送る文\n残り"));
    setCaret(p1, 0);
    QTest::keyClick(&p1, Qt::Key_F12);
    QTest::keyClick(&p1, Qt::Key_F1);
    g.net.settle();
    QCOMPARE(sentTo(g.net, kCaptionPort),
             (QStringList{"192.168.1.11=$改行$", "192.168.1.11=送る文"}));
    QCOMPARE(p1.toPlainText(), QStringLiteral("残り"));
    QTest::keyClick(&p1, Qt::Key_F9);
    QCOMPARE(p1.toPlainText(), QStringLiteral("送る文残り"));
    QCOMPARE(caret(p1), QPoint(0, 0));
    // The input part holds what it held before: here the start-up hint.
    QCOMPARE(s.main()->RichEdit1->toPlainText(), InputPart::kHint);
    const DisplayRecord& r = g[1].record();
    QTRY_VERIFY(r.lineCount() == 0 || r.line(r.lineCount() - 1) != QStringLiteral("送る文"));

    // F9 without clearing leaves the input part as it was after the undo
    // too: the typist's unfinished sentence survives.
    w.CheckBox2->setChecked(false);
    s.main()->RichEdit1->setPlainText(QStringLiteral("書きかけ"));
    QTest::keyClick(&p1, Qt::Key_F1);
    QTest::keyClick(&p1, Qt::Key_F9);
    QCOMPARE(s.main()->RichEdit1->toPlainText(), QStringLiteral("書きかけ"));
    QCOMPARE(p1.toPlainText(), QStringLiteral("送る文残り"));

    // F11 is Del, Shift+F11 Cls, only with the main window's option.
    g.net.lan.clearTraffic();
    QTest::keyClick(&p1, Qt::Key_F11);
    s.main()->CheckBox47->setChecked(true);
    QTest::keyClick(&p1, Qt::Key_F11);
    QTest::keyClick(&p1, Qt::Key_F11, Qt::ShiftModifier);
    g.net.settle();
    QCOMPARE(sentTo(g.net, 6723), (QStringList{"192.168.1.11=del", "192.168.1.11=cls"}));
}

void TestPreroll::importAndSave() {
    test::StationFixture f;
    Station& s = *f.station;
    TForm11& w = *s.preroll();
    const QString dir = f.dir.path() + QLatin1Char('/');
    PrerollPane& p2 = pane(s, 1);
    w.RadioButton5->setChecked(true);

    // Cancelled: nothing changes.
    QTest::mouseClick(w.Button48, Qt::LeftButton);
    QVERIFY(w.RadioButton5->isChecked());
    QCOMPARE(p2.toPlainText(), QStringLiteral("これは、前ロール２です。\n\n"));

    // Replace, then add: the display shows that pane alone.
    writeFile(dir + "a.txt", text::encode(QStringLiteral("一行目\r\n二行目\r\n")));
    writeFile(dir + "b.txt", text::encode(QStringLiteral("三行目\r\n")));
    f.choosers.nextFile = dir + "a.txt";
    QTest::mouseClick(w.Button48, Qt::LeftButton);
    QVERIFY(w.RadioButton2->isChecked());
    QVERIFY(!w.paneShown(0) && w.paneShown(1) && !w.paneShown(2));
    QCOMPARE(p2.toPlainText(), QStringLiteral("一行目\n二行目"));
    QCOMPARE(f.choosers.offered.mid(1), (QStringList{Preroll::kFileName, Preroll::kFilter}));
    w.CheckBox1->setChecked(true);
    f.choosers.nextFile = dir + "b.txt";
    QTest::mouseClick(w.Button48, Qt::LeftButton);
    QCOMPARE(p2.toPlainText(), QStringLiteral("一行目\n二行目\n三行目"));
    QVERIFY(f.messages.shown.isEmpty());
    // Added to an emptied pane, the file's first line is the pane's first.
    QTest::mouseClick(w.Button7, Qt::LeftButton);
    QVERIFY(p2.toPlainText().isEmpty());
    QTest::mouseClick(w.Button48, Qt::LeftButton);
    QCOMPARE(p2.toPlainText(), QStringLiteral("三行目"));

    // A file that cannot be read is reported and leaves the pane, in both modes.
    for (bool add : {true, false}) {
        w.CheckBox1->setChecked(add);
        f.choosers.nextFile = dir + "missing.txt";
        QTest::mouseClick(w.Button48, Qt::LeftButton);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown.takeFirst().contains(QStringLiteral("missing.txt")));
        QCOMPARE(p2.toPlainText(), QStringLiteral("三行目"));
    }

    // The size message from 20000 bytes on: 19999 says nothing, 20480 "20".
    w.CheckBox1->setChecked(false);
    const QByteArray line = QByteArray(18, 'x') + "\r\n";
    writeFile(dir + "small.txt", line.repeated(999) + QByteArray(17, 'y') + "\r\n");
    writeFile(dir + "large.txt", line.repeated(1024));
    f.choosers.nextFile = dir + "small.txt";
    QTest::mouseClick(w.Button36, Qt::LeftButton);
    QCOMPARE(Preroll::fileBytes(pane(s, 0)), 19999);
    QVERIFY(f.messages.shown.isEmpty());
    f.choosers.nextFile = dir + "large.txt";
    QTest::mouseClick(w.Button36, Qt::LeftButton);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.shown.first().startsWith(Preroll::kSizeHead +
                                                QStringLiteral("20Ｋバイトです。")));
    QVERIFY(w.RadioButton1->isChecked());

    // Saved whole, CR LF after every line, code page 932; a failed save
    // reports and leaves no file.
    p2.setPlainText(QStringLiteral("保存\n\n終わり"));
    f.choosers.nextFile = dir + "saved.txt";
    QTest::mouseClick(w.Button4, Qt::LeftButton);
    QCOMPARE(f.choosers.offered.mid(1), (QStringList{Preroll::kFileName, Preroll::kFilter, "txt"}));
    QFile saved(dir + "saved.txt");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), text::encode(QStringLiteral("保存\r\n\r\n終わり\r\n")));
    f.messages.shown.clear();
    f.choosers.nextFile = dir + "no/such/folder/x.txt";
    QTest::mouseClick(w.Button4, Qt::LeftButton);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(!QFile::exists(dir + "no/such/folder/x.txt"));
}

void TestPreroll::monitorAroundTheCaret() {
    Group g;
    Station& a = g[0];
    Station& b = g[1];
    TForm11& w = *a.preroll();
    PrerollMonitor& seen = b.prerollLink();
    PrerollPane& p = pane(a);
    QStringList text = numbered(10);
    const QString tooLong(1024, QLatin1Char('z'));
    text[3] = tooLong;
    p.setPlainText(text.join('\n'));
    w.CheckBox9->setChecked(true);
    w.CheckBox10->setChecked(true);

    struct Case {
        int line;
        bool twice;
        QStringList upper, lower;
    };
    const QString warning = PrerollMonitor::kTooLong;
    const Case cases[] = {
        {0, false, {" ", " "}, {"L0", "L1", "L2", warning, "L4"}},
        {9, false, {"L7", "L8"}, {"L9", ""}},
        {5, true, {"L1", "L2", warning, "L4"}, {"L5", "L6", "L7", "L8", "L9", ""}},
        {1,
         true,
         {" ", " ", " ", "L0"},
         {"L1", "L2", warning, "L4", "L5", "L6", "L7", "L8", "L9", ""}},
    };
    for (const Case& c : cases) {
        a.main()->CheckBox48->setChecked(c.twice);
        setCaret(p, c.line);
        QTest::keyClick(&p, Qt::Key_Shift); // a key release in the pane
        g.net.settle();
        QCOMPARE(seen.lines(true), c.upper);
        QCOMPARE(seen.lines(false), c.lower);
        QCOMPARE(a.prerollLink().lines(true), c.upper);
        QCOMPARE(a.prerollLink().lines(false), c.lower);
    }
    QCOMPARE(p.document()->findBlockByNumber(3).text(), tooLong);
    // Each update starts with the clearing frame; an empty line travels as
    // its token.
    const QStringList lower = sentTo(g.net, kLower);
    QCOMPARE(lower.first(), QStringLiteral("192.168.1.11=$消去$"));
    QVERIFY(lower.contains(QStringLiteral("192.168.1.11=$改行$")));

    // Scrambled with the group's password, and shown unscrambled.
    for (Station* s : g.s)
        s->main()->CheckBox42->setChecked(true);
    g.net.lan.clearTraffic();
    a.main()->CheckBox48->setChecked(false);
    setCaret(p, 0);
    QTest::keyClick(&p, Qt::Key_Shift);
    g.net.settle();
    QCOMPARE(seen.lines(false).first(), QStringLiteral("L0"));
    QVERIFY(!sentTo(g.net, kLower).join(' ').contains(QStringLiteral("L0")));
    for (Station* s : g.s)
        s->main()->CheckBox42->setChecked(false);

    // Whatever arrives is plain text, and a sender that never clears fills a
    // section only up to its bound.
    Peer& stranger = g.net.peer(QStringLiteral("192.168.1.99"));
    stranger.send(QStringLiteral("192.168.1.11"), kUpper, "$消去$");
    stranger.send(QStringLiteral("192.168.1.11"), kUpper, "<b>太字</b>");
    g.net.settle();
    QCOMPARE(seen.lines(true), QStringList{"<b>太字</b>"});
    b.prerollMonitor()->show();
    QCOMPARE(b.prerollMonitor()->RichEdit2->toPlainText(), QStringLiteral("<b>太字</b>"));
    QCOMPARE(b.prerollMonitor()->RichEdit1->toPlainText(), seen.lines(false).join('\n'));
    stranger.send(QStringLiteral("192.168.1.11"), kUpper, "$消去$");
    QTRY_VERIFY(b.prerollMonitor()->RichEdit2->toPlainText().isEmpty());
    b.prerollMonitor()->hide();
    for (int i = 0; i < 1500; ++i)
        stranger.send(QStringLiteral("192.168.1.11"), kLower, QStringLiteral("line %1").arg(i));
    QTRY_COMPARE(seen.lines(false).last(), QStringLiteral("line 1499"));
    QVERIFY(seen.lines(false).size() <= 1000);
    stranger.send(QStringLiteral("192.168.1.11"), kLower, QByteArray(1024, 'q'));
    g.net.settle();
    QCOMPARE(seen.lines(false).last(), QStringLiteral("line 1499"));
}

void TestPreroll::monitorDestinations() {
    Group g(3);
    Station& a = g[0];
    TForm11& w = *a.preroll();
    PrerollPane& p = pane(a);
    setCaret(p, 0);

    // Only to the partner with no partner: nothing leaves, the own monitor fills.
    w.CheckBox11->setChecked(true);
    w.CheckBox10->setChecked(true);
    QTest::keyClick(&p, Qt::Key_Shift);
    g.net.settle();
    QVERIFY(sentTo(g.net, kLower).isEmpty() && sentTo(g.net, kUpper).isEmpty());
    QCOMPARE(a.prerollLink().lines(false).first(), p.document()->firstBlock().text());

    // The two destinations exclude each other.
    w.CheckBox9->setChecked(true);
    QVERIFY(!w.CheckBox11->isChecked());
    QTest::keyClick(&p, Qt::Key_Shift);
    g.net.settle();
    const QStringList all = sentTo(g.net, kUpper);
    QCOMPARE(all.size(), 6); // two members, each the frame and two lines
    QVERIFY(all.contains(QStringLiteral("192.168.1.11=$消去$")) &&
            all.contains(QStringLiteral("192.168.1.12=$消去$")));

    // With a partner, only the partner.
    const int slot = [&] {
        for (int i = 0; i < 8; ++i)
            if (a.members().address(i) == QStringLiteral("192.168.1.12"))
                return i;
        return -1;
    }();
    QVERIFY(slot >= 0);
    QTest::mouseClick(a.main()->memberBePartner[std::size_t(slot)], Qt::LeftButton);
    QTRY_VERIFY(a.partner().flag());
    w.CheckBox11->setChecked(true);
    g.net.lan.clearTraffic();
    QTest::keyClick(&p, Qt::Key_Shift);
    g.net.settle();
    const QStringList toPartner = sentTo(g.net, kLower);
    QVERIFY(!toPartner.isEmpty());
    for (const QString& line : toPartner)
        QVERIFY2(line.startsWith(QStringLiteral("192.168.1.12=")), qPrintable(line));
}

void TestPreroll::linkFollowers() {
    Group g;
    Station& a = g[0];
    Station& b = g[1];
    const QString text = numbered(20).join('\n');
    pane(a).setPlainText(text);
    for (int k = 0; k < 3; ++k)
        pane(b, k).setPlainText(text);
    a.preroll()->CheckBox19->setChecked(true);
    a.preroll()->RadioButton9->setChecked(true);
    TForm11& wb = *b.preroll();
    wb.show();
    wb.CheckBox20->setChecked(true);
    wb.RadioButton12->setChecked(true);
    setCaret(pane(b), 0);
    g.net.messages(1).shown.clear(); // the explanation of "Receive"

    setCaret(pane(a), 7, 1);
    QTest::keyClick(&pane(a), Qt::Key_Shift);
    g.net.settle();
    QCOMPARE(sentTo(g.net, kLink), QStringList{"192.168.1.11=7"});
    QCOMPARE(caret(pane(b)), QPoint(0, 7));
    QVERIFY(!pane(b).textCursor().hasSelection());
    QCOMPARE(pane(b).toPlainText(), text);

    // Pane 2 does not send while the send frame chooses pane 1.
    g.net.lan.clearTraffic();
    QTest::keyClick(&pane(a, 1), Qt::Key_Shift);
    g.net.settle();
    QVERIFY(sentTo(g.net, kLink).isEmpty());

    // From any host: numbers out of the text are clamped, anything else is
    // noted on the explanation page and moves nothing.
    Peer& stranger = g.net.peer(QStringLiteral("192.168.1.99"));
    struct Case {
        QByteArray body;
        int line;
    };
    const Case cases[] = {{"3", 3},    {"-5", 0}, {"99999999999", 19}, {"12", 12},
                          {"abc", 12}, {" ", 12}, {"１２", 12}};
    for (const Case& c : cases) {
        stranger.send(QStringLiteral("192.168.1.11"), kLink, c.body);
        g.net.settle();
        QCOMPARE(caret(pane(b)), QPoint(0, c.line));
    }
    QVERIFY(g.net.messages(1).shown.isEmpty() && g.net.messages(1).notified.isEmpty());
    QVERIFY(b.main()->RichEdit3->toPlainText().contains(PrerollMonitor::kNotANumber +
                                                        QStringLiteral("192.168.1.99")));

    // Pane 3 follows only while shown: not while "１２" is shown.
    wb.RadioButton14->setChecked(true);
    wb.RadioButton4->setChecked(true);
    setCaret(pane(b, 2), 2);
    stranger.send(QStringLiteral("192.168.1.11"), kLink, "9");
    g.net.settle();
    QCOMPARE(caret(pane(b, 2)), QPoint(0, 2));
    wb.RadioButton5->setChecked(true);
    stranger.send(QStringLiteral("192.168.1.11"), kLink, "9");
    g.net.settle();
    QCOMPARE(caret(pane(b, 2)), QPoint(0, 9));
    // Nor while the window is closed or "Receive" is off.
    wb.hide();
    stranger.send(QStringLiteral("192.168.1.11"), kLink, "4");
    wb.show();
    wb.CheckBox20->setChecked(false);
    stranger.send(QStringLiteral("192.168.1.11"), kLink, "5");
    g.net.settle();
    QCOMPARE(caret(pane(b, 2)), QPoint(0, 9));

    // The link stays on its port on every channel.
    a.main()->ComboBox2->setCurrentIndex(2);
    QCOMPARE(a.endpoint(QStringLiteral("TForm11"), QStringLiteral("NMUDP5"))->LocalPort(), kLink);
    QCOMPARE(a.endpoint(QStringLiteral("TForm11"), QStringLiteral("NMUDP1"))->LocalPort(),
             kLower + 200);
}

void TestPreroll::scrollDistanceGoesToThePartner() {
    Group g;
    Station& a = g[0];
    TForm11& w = *a.preroll();
    QTest::mouseClick(a.main()->memberBePartner[0], Qt::LeftButton);
    QTRY_VERIFY(a.partner().flag());
    g.net.settle();
    g.net.lan.clearTraffic();

    // Not before the settings are ready.
    w.Edit3->setText(QStringLiteral("4"));
    g.net.settle();
    QVERIFY(sentTo(g.net, kSettingsPort).isEmpty());

    a.state().settingsReady = true;
    w.Edit3->setText(QStringLiteral("5"));
    g.net.settle();
    QCOMPARE(sentTo(g.net, kSettingsPort).mid(1),
             (QStringList{"192.168.1.11=$set$620:5:スクロール速度即変更", "192.168.1.11=$end$"}));
    QCOMPARE(w.UpDown2->value(), 5);

    // Emptied it becomes 1 (and sends that); a 0 is never sent; the arrows
    // write the box, which sends.
    g.net.lan.clearTraffic();
    w.Edit3->clear();
    QCOMPARE(w.Edit3->text(), QStringLiteral("1"));
    w.Edit3->setText(QStringLiteral("0"));
    w.UpDown2->setValue(3);
    g.net.settle();
    QStringList lines;
    for (const QString& l : sentTo(g.net, kSettingsPort))
        if (l.contains(QStringLiteral("620:")))
            lines << l;
    QCOMPARE(lines, (QStringList{"192.168.1.11=$set$620:1:スクロール速度即変更",
                                 "192.168.1.11=$set$620:3:スクロール速度即変更"}));
    QCOMPARE(w.Edit3->text(), QStringLiteral("3"));

    // Edit1: emptied or negative it is 0.
    w.Edit1->clear();
    QCOMPARE(w.Edit1->text(), QStringLiteral("0"));
    w.Edit1->setText(QStringLiteral("-3"));
    QCOMPARE(w.Edit1->text(), QStringLiteral("0"));
}

void TestPreroll::windowAndKeyboard() {
    test::StationFixture f;
    Station& s = *f.station;
    TForm11& w = *s.preroll();
    TMainConsole& m = *s.main();
    QCOMPARE(w.windowTitle(), TForm11::kCaption);
    QCOMPARE(w.geometry().size(), QSize(640, 350));
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!w.isVisible());

    // Ctrl+N never opens the window.
    s.hotkeyPreroll();
    QVERIFY(!w.isVisible());

    m.PageControl1->setCurrentWidget(m.TabSheet7);
    QTest::mouseClick(m.ButtonPreroll, Qt::LeftButton);
    QVERIFY(w.isVisible());
    QCOMPARE(m.PageControl1->currentWidget(), m.TabSheet1);
    QCOMPARE(w.focusWidget(), w.RichEdit1);

    // After an option the shown pane has the keyboard again.
    QTest::mouseClick(w.RadioButton3, Qt::LeftButton);
    QCOMPARE(w.focusWidget(), w.RichEdit3);
    QVERIFY(!w.holders[0]->isVisible() && w.holders[2]->isVisible());
    QTest::mouseClick(w.RadioButton4, Qt::LeftButton);
    QCOMPARE(w.focusWidget(), w.RichEdit1);
    QCOMPARE(w.holders[0]->width(), w.width() / 2);
    QCOMPARE(w.holders[1]->width(), w.width() - w.width() / 2 - 4);
    w.CheckBox1->setFocus();
    s.hotkeyPreroll();
    QCOMPARE(w.focusWidget(), w.RichEdit1);

    // "Display always forward. " off: an ordinary window.
    m.CheckBox10->setChecked(false);
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(w.isVisible());

    // Ticking "Add the cleared part to the former line. " ticks the other two.
    w.CheckBox22->setChecked(true);
    QVERIFY(w.CheckBox2->isChecked() && w.CheckBox3->isChecked());

    // Typing stops at the byte limit.
    PrerollPane& p = *w.RichEdit2;
    p.setPlainText(QString(PrerollPane::kTypingLimit - 1, QLatin1Char('a')));
    setCaret(p, 0, 0);
    QTest::keyClicks(&p, QStringLiteral("bc"));
    QCOMPARE(p.bytes(), PrerollPane::kTypingLimit);

    QTest::mouseClick(m.Button6, Qt::LeftButton);
    QVERIFY(s.prerollMonitor()->isVisible());
    QCOMPARE(s.prerollMonitor()->windowTitle(), TForm3::kCaption);
}

void TestPreroll::settingsKeys() {
    Lan net;
    Station& s = net.add();
    settings::SettingsRegistry& r = s.settings();
    TForm11& w = *s.preroll();
    TForm3& mon = *s.prerollMonitor();
    QVERIFY(r.ApplySettings({"999:＜番号付き表示設定ファイル２＞",
                             "220:off",
                             "221:50",
                             "222:20",
                             "223:700",
                             "224:400",
                             "229:14",
                             "230:fsbold",
                             "233:255",
                             "234:on",
                             "236:on",
                             "237:3",
                             "711:90",
                             "712:300",
                             "787:true",
                             "789:true",
                             "860:true",
                             "861:true",
                             "790:260",
                             "791:480",
                             "798:12",
                             "850:65280",
                             "854:true",
                             "859:on",
                             "226:on",
                             "799:true"}));
    QVERIFY(!s.main()->CheckBox10->isChecked());
    QCOMPARE(w.geometry().size(), QSize(700, 400));
    QCOMPARE(w.pos(), QPoint(20, 50));
    QCOMPARE(w.RichEdit3->font().pointSize(), 14);
    QVERIFY(w.RichEdit2->font().bold());
    QCOMPARE(w.RichEdit1->palette().color(QPalette::Base), QColor(255, 0, 0));
    QVERIFY(w.CheckBox1->isChecked() && w.CheckBox3->isChecked() && w.CheckBox2->isChecked());
    QCOMPARE(w.Edit1->text(), QStringLiteral("3"));
    QVERIFY(w.CheckBox9->isChecked() && w.CheckBox10->isChecked() && w.CheckBox23->isChecked());
    QVERIFY(w.CheckBox22->isChecked() && s.main()->CheckBox48->isChecked());
    QCOMPARE(w.topHeight(), 90);
    QCOMPARE(w.leftWidth(), 300);
    QVERIFY(w.isVisible() && mon.isVisible());
    QCOMPARE(mon.geometry().size(), QSize(480, 260));
    QCOMPARE(mon.RichEdit2->font().pointSize(), 12);
    QCOMPARE(mon.RichEdit1->palette().color(QPalette::Base), QColor(0, 255, 0));
    QCOMPARE(mon.RichEdit1->lineWrapMode(), QPlainTextEdit::WidgetWidth);

    const QStringList lines = r.WriteSettings();
    for (const char* expected :
         {"220:off:",    "221:50:",  "223:700:",  "224:400:",   "226:on:",   "229:14:",
          "230:fsbold:", "233:255:", "234:on:",   "235:on:",    "236:on:",   "237:3:",
          "711:90:",     "712:300:", "787:true:", "788:false:", "789:true:", "790:260:",
          "791:480:",    "798:12:",  "799:true:", "850:65280:", "854:true:", "859:on:",
          "860:true:",   "861:true:"})
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& l) { return l.startsWith(expected); }),
                 expected);
}

QTEST_MAIN(TestPreroll)
#include "tst_preroll.moc"
