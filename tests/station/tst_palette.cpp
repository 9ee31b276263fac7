// The confirm and correct palette: typists' sentences queued in a corrector's
// panes and confirmed as captions, the overflow queue, the monitor and the
// palette link, the function keys in the panes and the roles on the main window.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "lan_fixture.h"
#include "net/link_encryption.h"
#include "settings/settings_file.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "windows/prepared/palette.h"
#include "windows/prepared/prepared_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QPushButton>

using namespace quorel;
using quorel::test::companions;
using quorel::test::Lan;
using quorel::test::tail;

namespace {

constexpr int kInputPort = 6730;
constexpr int kMonitorPort = 6732;
constexpr int kLinkPort = 6717;

QStringList panes(Station& s) {
    QStringList out;
    for (PalettePane* p : s.palette()->panes)
        out << p->toPlainText();
    return out;
}

void setPanes(Station& s, const QStringList& texts) {
    for (int k = 0; k < Palette::kPanes; ++k)
        s.palette()->panes[std::size_t(k)]->setPlainText(k < texts.size() ? texts[k] : QString());
}

// What went out on `port`, as "from>to=text".
QStringList traffic(Lan& net, int port) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == port)
            out << QHostAddress(d.from).toString() + '>' + QHostAddress(d.to).toString() + '=' +
                       text::decode(d.data);
    return out;
}

void openPalette(Station& s) {
    s.main()->Button23->click();
    QTRY_VERIFY(s.palette()->isVisible());
}

// A corrector at .10 with a member at .11, and a bare peer at .50 that plays
// the typists and the monitors.
struct Corrector {
    Corrector() {
        c = &net.add();
        other = &net.add();
        QTRY_VERIFY(companions(*c) == 1 && companions(*other) == 1);
        peer = &net.peer(QStringLiteral("192.168.1.50"));
        openPalette(*c);
        net.settle();
        net.lan.clearTraffic();
    }
    void arrive(const QString& sentence) {
        peer->send(QStringLiteral("192.168.1.10"), kInputPort, sentence);
        net.settle();
    }
    Lan net;
    Station* c;
    Station* other;
    test::Peer* peer;
};

} // namespace

class TestPalette : public QObject {
    Q_OBJECT
private slots:
    void threeTypistsConfirmedInOrder();
    void scrambledSentenceReachesThePalette();
    void escapeAndCompaction_data();
    void escapeAndCompaction();
    void whatTheQueueIgnores();
    void fullPaletteKeepsSentencesInOrder();
    void monitorLines();
    void monitorMessagesFromAPane();
    void linkedPalettesDoNotEcho();
    void functionKeysInAPane();
    void typingStopsAtThePaneLimit();
    void roles();
    void explanationSavedAndSettings();
};

void TestPalette::threeTypistsConfirmedInOrder() {
    Lan net;
    Station& corrector = net.add();
    std::array<Station*, 3> typists{&net.add(), &net.add(), &net.add()};
    QTRY_VERIFY(companions(corrector) == 3);
    openPalette(corrector);
    for (Station* t : typists) {
        QTRY_VERIFY(companions(*t) == 3);
        t->main()->CheckBox21->setChecked(true);
    }
    // The corrector's own unsent text survives every confirmation.
    corrector.main()->RichEdit1->setPlainText(QStringLiteral("自分の下書き"));
    net.settle();

    const QStringList sentences{QStringLiteral("一人目です。"), QStringLiteral("二人目\r\n二行目"),
                                QStringLiteral("三人目です。")};
    for (int i = 0; i < 3; ++i) {
        typists[std::size_t(i)]->input().sendSentence(sentences[i]);
        net.settle();
    }
    QCOMPARE(panes(corrector).mid(0, 4),
             (QStringList{sentences[0], QStringLiteral("二人目\n二行目"), sentences[2], {}}));
    // Nothing reached a screen yet, not even the typist's own.
    for (Station* t : typists)
        QVERIFY(!tail(t->record(), 3).contains(sentences[0]));

    QTest::keyClick(corrector.palette()->RichEdit1, Qt::Key_Return);
    net.settle();
    QCOMPARE(panes(corrector).mid(0, 3),
             (QStringList{QStringLiteral("二人目\n二行目"), sentences[2], {}}));
    QTest::keyClick(corrector.palette()->RichEdit1, Qt::Key_Return);
    QTest::keyClick(corrector.palette()->RichEdit1, Qt::Key_Return);
    net.settle();
    QCOMPARE(panes(corrector), QStringList(6, QString()));
    const QStringList shown{sentences[0], QStringLiteral("二人目"), QStringLiteral("二行目"),
                            sentences[2]};
    QCOMPARE(tail(corrector.record(), 4), shown);
    for (Station* t : typists)
        QTRY_COMPARE(tail(t->record(), 4), shown);
    QCOMPARE(corrector.main()->RichEdit1->toPlainText(), QStringLiteral("自分の下書き"));
}

void TestPalette::scrambledSentenceReachesThePalette() {
    Lan net;
    Station& corrector = net.add();
    Station& typist = net.add();
    QTRY_VERIFY(companions(corrector) == 1 && companions(typist) == 1);
    for (Station* s : {&corrector, &typist})
        s->main()->CheckBox42->setChecked(true);
    openPalette(corrector);
    typist.main()->CheckBox21->setChecked(true);
    net.lan.clearTraffic();
    typist.input().sendSentence(QStringLiteral("暗号の文"));
    net.settle();
    QCOMPARE(panes(corrector)[0], QStringLiteral("暗号の文"));
    const QStringList sent = traffic(net, kInputPort);
    QCOMPARE(sent.size(), 1);
    QVERIFY(!sent[0].contains(QStringLiteral("暗号の文")));
}

void TestPalette::escapeAndCompaction_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("pane"); // 0 ... 5; -1: a compaction alone
    QTest::addColumn<bool>("link");
    QTest::addColumn<QStringList>("after");
    const QString _;
    QTest::newRow("Esc in pane 2")
        << QStringList{"A", "B", "C"} << 1 << false << QStringList{"A", "C", _, _, _, _};
    QTest::newRow("two-pane gap moves up by one") << QStringList{"A", _, _, "D", "E", "F"} << -1
                                                  << false << QStringList{"A", _, "D", "E", "F", _};
    QTest::newRow("Esc in pane 6 does not compact")
        << QStringList{"A", _, "C", "D", "E", "F"} << 5 << false
        << QStringList{"A", _, "C", "D", "E", _};
    QTest::newRow("link on: no compaction")
        << QStringList{"A", "B", "C"} << 0 << true << QStringList{_, "B", "C", _, _, _};
}

void TestPalette::escapeAndCompaction() {
    QFETCH(QStringList, before);
    QFETCH(int, pane);
    QFETCH(bool, link);
    QFETCH(QStringList, after);
    test::StationFixture f;
    Station& s = *f.station;
    openPalette(s);
    s.palette()->CheckBox30->setChecked(link);
    setPanes(s, before);
    if (pane < 0)
        s.paletteQueue().compact();
    else
        QTest::keyClick(s.palette()->panes[std::size_t(pane)], Qt::Key_Escape);
    QCOMPARE(panes(s), after);
}

void TestPalette::whatTheQueueIgnores() {
    Corrector t;
    t.arrive(QStringLiteral("$改行$"));
    t.peer->send(QStringLiteral("192.168.1.10"), kInputPort, QByteArray(1024, 'a'));
    t.net.settle();
    QCOMPARE(panes(*t.c), QStringList(6, QString()));
    // Linked palettes take their panes from the link only.
    t.c->palette()->CheckBox30->setChecked(true);
    t.arrive(QStringLiteral("リンク中"));
    QCOMPARE(panes(*t.c)[0], QString());
    t.c->palette()->CheckBox30->setChecked(false);
    // A hidden palette takes nothing.
    t.c->palette()->hide();
    t.arrive(QStringLiteral("閉じている"));
    QCOMPARE(panes(*t.c)[0], QString());
    // Rich text from the network stays text.
    t.c->palette()->show();
    t.arrive(QStringLiteral("<b>太字</b>"));
    QCOMPARE(panes(*t.c)[0], QStringLiteral("<b>太字</b>"));
}

void TestPalette::fullPaletteKeepsSentencesInOrder() {
    Corrector t;
    // Sentences too long to share pane 6 with another.
    auto sentence = [](int i) {
        return QString(70, QChar(u'あ' + i)); // 140 bytes
    };
    for (int i = 0; i < 6; ++i)
        t.arrive(sentence(i));
    // A short one still fits at the end of pane 6, as the typists expect.
    PalettePane& last = *t.c->palette()->RichEdit6;
    QCOMPARE(last.toPlainText(), sentence(5));
    // Longer than a pane may be typed: waits, whole.
    const QString longOne = QString(200, QChar(u'か')); // 400 bytes
    t.arrive(longOne);
    t.arrive(sentence(7));
    QCOMPARE(t.c->paletteQueue().waiting(), (QStringList{longOne, sentence(7)}));
    QVERIFY(t.c->palette()->LabelWaiting->isVisible());
    QCOMPARE(t.c->palette()->LabelWaiting->text(), QStringLiteral("Waiting: 2"));
    // Later arrivals wait behind them even when pane 6 would take them.
    t.arrive(QStringLiteral("短"));
    QCOMPARE(t.c->paletteQueue().waiting().size(), 3);

    // Confirming pane 1 frees pane 6 for the oldest waiting sentence.
    QTest::keyClick(t.c->palette()->RichEdit1, Qt::Key_Return);
    QCOMPARE(panes(*t.c).last(), longOne);
    QCOMPARE(panes(*t.c).first(), sentence(1));
    // Clearing pane 3 closes the gap and the next one follows.
    QTest::keyClick(t.c->palette()->RichEdit3, Qt::Key_Escape);
    QCOMPARE(panes(*t.c), (QStringList{sentence(1), sentence(2), sentence(4), sentence(5), longOne,
                                       sentence(7)}));
    QCOMPARE(t.c->paletteQueue().waiting(), QStringList{QStringLiteral("短")});
    // The long sentence is confirmed whole.
    QTest::keyClick(t.c->palette()->RichEdit5, Qt::Key_Return);
    QCOMPARE(tail(t.c->record(), 1), QStringList{longOne});
    QCOMPARE(panes(*t.c).mid(4), (QStringList{sentence(7), QStringLiteral("短")}));
    QVERIFY(t.c->paletteQueue().waiting().isEmpty());
    QVERIFY(!t.c->palette()->LabelWaiting->isVisible());
}

void TestPalette::monitorLines() {
    Corrector t;
    Station& s = *t.c;
    auto send = [&](const QString& body) {
        t.peer->send(QStringLiteral("192.168.1.10"), kMonitorPort, body);
        t.net.settle();
    };
    send(QStringLiteral("3,hidden"));
    QVERIFY(s.paletteQueue().monitorLines()[2] == QStringLiteral("3"));
    s.main()->Button35->click();
    QVERIFY(s.paletteMonitor()->isVisible());
    struct Case {
        QString body;
        int line;
        QString text;
    };
    const std::vector<Case> cases{
        {QStringLiteral("3,三行目"), 2, QStringLiteral("三行目")},
        {QStringLiteral("35,only the first digit"), 2, QStringLiteral("only the first digit")},
        {QStringLiteral("7,ignored"), 2, QStringLiteral("only the first digit")},
        {QStringLiteral("0,ignored"), 0, Palette::kFirstMonitorLine},
        {QStringLiteral(",ignored"), 0, Palette::kFirstMonitorLine},
        {QStringLiteral("6,a,b"), 5, QStringLiteral("a,b")},
        {QStringLiteral("6,x\r\ny"), 5, QStringLiteral("xy")},
    };
    for (const Case& c : cases) {
        send(c.body);
        QCOMPARE(s.paletteQueue().monitorLines()[std::size_t(c.line)], c.text);
    }
    QCOMPARE(s.paletteMonitor()->RichEdit1->toPlainText().split('\n').size(), 6);
}

void TestPalette::monitorMessagesFromAPane() {
    Corrector t;
    PalettePane& pane = *t.c->palette()->RichEdit2;
    pane.setFocus();
    QTest::keyClicks(&pane, QStringLiteral("ab"));
    QTest::keyClick(&pane, Qt::Key_Backspace);
    QTest::keyClick(&pane, Qt::Key_Backspace);
    t.net.settle();
    QStringList got = traffic(t.net, kMonitorPort);
    got.replaceInStrings(QStringLiteral("192.168.1.10>192.168.1.11="), QString());
    QVERIFY(got.contains(QStringLiteral("2,ab")));
    // The last character gone: the change reports an empty pane, the key's
    // release the erasure.
    QCOMPARE(got.mid(got.size() - 2),
             (QStringList{QStringLiteral("2,"), QStringLiteral("2,") + Palette::kErased}));
    // Nothing on the link while it is off.
    QVERIFY(traffic(t.net, kLinkPort).isEmpty());
    // An input person reports nothing.
    t.c->main()->CheckBox21->setChecked(true);
    t.net.lan.clearTraffic();
    pane.setPlainText(QStringLiteral("x"));
    t.net.settle();
    QVERIFY(traffic(t.net, kMonitorPort).isEmpty());
}

void TestPalette::linkedPalettesDoNotEcho() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_VERIFY(companions(a) == 1 && companions(b) == 1);
    for (Station* s : {&a, &b}) {
        openPalette(*s);
        s->settings().ApplySettings({settings::kHeader, QStringLiteral("780:true")});
        QVERIFY(s->palette()->CheckBox30->isChecked());
    }
    net.settle();
    net.lan.clearTraffic();
    a.palette()->RichEdit2->setPlainText(QStringLiteral("連動\n二行"));
    net.settle();
    QCOMPARE(panes(b)[1], QStringLiteral("連動二行"));
    QCOMPARE(traffic(net, kLinkPort),
             QStringList{QStringLiteral("192.168.1.10>192.168.1.11=2,連動二行")});
    // b still tells the monitors.
    QVERIFY(traffic(net, kMonitorPort)
                .contains(QStringLiteral("192.168.1.11>192.168.1.10=2,連動二行")));
    // Closing the palette ends the link.
    b.palette()->close();
    QVERIFY(!b.palette()->CheckBox30->isChecked());
    QVERIFY(!b.main()->CheckBox21->isHidden());
}

void TestPalette::functionKeysInAPane() {
    Corrector t;
    Station& s = *t.c;
    TForm5& memo = *s.fKeyMemo();
    memo.Edit56->setText(QStringLiteral("［拍手］"));
    memo.CheckBox2->setChecked(false);
    PalettePane& pane = *s.palette()->RichEdit3;
    pane.setPlainText(QStringLiteral("前"));
    pane.moveCursor(QTextCursor::End);
    QTest::keyClick(&pane, Qt::Key_F2);
    QCOMPARE(pane.toPlainText(), QStringLiteral("前［拍手］"));
    memo.CheckBox2->setChecked(true);
    QTest::keyClick(&pane, Qt::Key_F2);
    QCOMPARE(pane.toPlainText(), QStringLiteral("［拍手］"));
    QCOMPARE(s.main()->RichEdit1->toPlainText(), InputPart::kHint);

    // F12 is a line feed on the screen; the pane stays.
    const int lines = s.record().lineCount();
    QTest::keyClick(&pane, Qt::Key_F12);
    QCOMPARE(s.record().lineCount(), lines + 1);
    QCOMPARE(pane.toPlainText(), QStringLiteral("［拍手］"));

    // F9 takes the newest sentence back into the pane, not the input part.
    QTest::keyClick(&pane, Qt::Key_Return);
    QCOMPARE(tail(s.record(), 1), QStringList{QStringLiteral("［拍手］")});
    PalettePane& first = *s.palette()->RichEdit1;
    QTest::keyClick(&first, Qt::Key_F9);
    QCOMPARE(first.toPlainText(), QStringLiteral("［拍手］"));
    QCOMPARE(s.main()->RichEdit1->toPlainText(), InputPart::kHint);
}

void TestPalette::typingStopsAtThePaneLimit() {
    Corrector t;
    PalettePane& pane = *t.c->palette()->RichEdit1;
    pane.setPlainText(QString(126, QChar(u'あ'))); // 252 bytes
    pane.moveCursor(QTextCursor::End);
    QTest::keyClicks(&pane, QStringLiteral("abc"));
    QCOMPARE(pane.bytes(), PalettePane::kTypingLimit);
    QVERIFY(pane.toPlainText().endsWith(QStringLiteral("ab")));
}

void TestPalette::roles() {
    test::StationFixture f;
    Station& s = *f.station;
    TMainConsole& m = *s.main();
    m.show();
    s.main()->Button23->click();
    QVERIFY(s.palette()->isVisible());
    QVERIFY(m.CheckBox21->isHidden());
    QCOMPARE(s.palette()->focusWidget(), s.palette()->RichEdit1);
    s.palette()->CheckBox30->setChecked(true);
    s.palette()->close();
    QVERIFY(!m.CheckBox21->isHidden());
    QVERIFY(!s.palette()->CheckBox30->isChecked());

    openPalette(s);
    s.palette()->CheckBox30->setChecked(true);
    m.CheckBox11->setChecked(false);
    m.CheckBox21->setChecked(true);
    QVERIFY(!s.palette()->isVisible());
    QVERIFY(m.Button23->isHidden());
    QVERIFY(m.CheckBox11->isChecked());
    QVERIFY(!s.palette()->CheckBox30->isChecked());
    m.CheckBox21->setChecked(false);
    QVERIFY(!m.Button23->isHidden());
}

void TestPalette::explanationSavedAndSettings() {
    test::StationFixture f;
    Station& s = *f.station;
    QCOMPARE(s.palette()->RichEdit7->toPlainText().split('\n').size(), 28);
    QVERIFY(s.palette()->RichEdit7->toPlainText().startsWith(
        QStringLiteral("This function assumes the following use. ")));
    const QString path = f.dir.filePath(QStringLiteral("explanation.txt"));
    f.choosers.nextFile = path;
    s.palette()->Button3->click();
    QCOMPARE(f.choosers.offered.mid(1),
             (QStringList{Palette::kFileName, Palette::kFilter, QStringLiteral("txt")}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("This function assumes the following use. \r\n"));

    s.settings().ApplySettings({settings::kHeader, QStringLiteral("740:500"),
                                QStringLiteral("743:true"), QStringLiteral("783:14"),
                                QStringLiteral("784:255")});
    QCOMPARE(s.palette()->width(), 500);
    QVERIFY(s.palette()->isVisible());
    QCOMPARE(s.palette()->RichEdit6->font().pointSize(), 14);
    QCOMPARE(s.palette()->RichEdit6->palette().color(QPalette::Base), QColor(255, 0, 0));
}

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
