// Notes between typists: the chat window's sending, receiving, warning flash,
// periodic hand-over note and saved log.

#include "app/main_console.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "windows/info/chat.h"
#include "windows/info/info_windows.h"

#include <QCheckBox>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace quorel;
using quorel::test::companions;
using quorel::test::Lan;
using quorel::test::tail;

namespace {

constexpr int kChatPort = 6727;

QStringList logOf(Station& s) {
    return s.chatNotes().logLines();
}

QColor background(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

// What went out on the chat port, as "to=text".
QStringList chatTraffic(Lan& net) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == kChatPort)
            out << QHostAddress(d.to).toString() + '=' + text::decode(d.data);
    return out;
}

// Two stations of one group.
struct Pair {
    Pair() {
        a = &net.add();
        b = &net.add();
        QTRY_VERIFY(companions(*a) == 1 && companions(*b) == 1);
        net.settle();
        net.lan.clearTraffic();
    }
    test::FakeClock& clock() { return net.stations[0]->clock; }
    Lan net;
    Station *a, *b;
};

void typeNote(Station& s, const QString& text) {
    s.chat()->RichEdit1->setPlainText(text);
    QTest::keyClick(s.chat()->RichEdit1, Qt::Key_Return);
}

} // namespace

class TestChat : public QObject {
    Q_OBJECT
private slots:
    void notesBothWays();
    void noteToTheWholeNetwork();
    void periodicNote();
    void periodicNoteAcrossMidnightAndEmptyPeriod();
    void savingTheLog();
    void settingsKeys();
};

void TestChat::notesBothWays() {
    Pair p;
    TForm6& wa = *p.a->chat();
    TForm6& wb = *p.b->chat();
    wa.Edit1->setText(QStringLiteral("Ａ："));
    typeNote(*p.a, QStringLiteral("abc\ndef"));
    p.net.settle();
    QVERIFY(wa.RichEdit1->toPlainText().isEmpty());
    QCOMPARE(chatTraffic(p.net), QStringList{"192.168.1.11=Ａ：abcdef"});
    QCOMPARE(logOf(*p.a), QStringList{"Ａ：abcdef"});
    QCOMPARE(logOf(*p.b), QStringList{"Ａ：abcdef"});
    // The receiver's boxes flash for two seconds, then take their colour back.
    QCOMPARE(background(wb.RichEdit2), QColor(Qt::red));
    QCOMPARE(background(wb.RichEdit1), QColor(Qt::red));
    QCOMPARE(wb.Timer1->interval(), 2000);
    QVERIFY(wb.Timer1->isActive() && !wa.Timer1->isActive());
    p.b->chatNotes().Timer1Timer();
    QCOMPARE(background(wb.RichEdit2), QColor(Qt::white));
    QVERIFY(!wb.Timer1->isActive());

    // An empty note is a line feed on the wire and an empty line in the log;
    // markup arrives as the text it is; the time prefix has no leading zeros.
    wa.Edit1->clear();
    wb.CheckBox6->setChecked(true);
    typeNote(*p.a, QString());
    typeNote(*p.a, QStringLiteral("<b>太字</b>"));
    p.net.settle();
    QCOMPARE(chatTraffic(p.net).mid(1),
             (QStringList{"192.168.1.11=$改行$", "192.168.1.11=<b>太字</b>"}));
    QCOMPARE(logOf(*p.b), (QStringList{"Ａ：abcdef", "[9:0:0] ", "[9:0:0] <b>太字</b>"}));
    QCOMPARE(wb.RichEdit2->document()->toRawText().count(QStringLiteral("<b>")), 1);

    // Scrambled both ways when the group shares a password.
    for (Station* s : {p.a, p.b})
        s->main()->CheckBox42->setChecked(true);
    p.net.lan.clearTraffic();
    typeNote(*p.b, QStringLiteral("交代"));
    p.net.settle();
    QCOMPARE(logOf(*p.a).last(), QStringLiteral("交代"));
    QVERIFY(!chatTraffic(p.net).first().contains(QStringLiteral("交代")));

    // The input box takes no more than its limit, however the text comes.
    wa.RichEdit1->setPlainText(QString(300, QChar(u'字')));
    QCOMPARE(wa.RichEdit1->toPlainText().size(), ChatInput::kLimit);
}

void TestChat::noteToTheWholeNetwork() {
    Pair p;
    TForm6& wa = *p.a->chat();
    wa.CheckBox1->setChecked(true);
    typeNote(*p.a, QStringLiteral("全員へ"));
    // Shown here only when it comes back from the network, like everybody's.
    QVERIFY(logOf(*p.a).isEmpty());
    p.net.settle();
    QCOMPARE(chatTraffic(p.net), QStringList{"192.168.1.255=全員へ"});
    QCOMPARE(logOf(*p.a), QStringList{"全員へ"});
    QCOMPARE(logOf(*p.b), QStringList{"全員へ"});

    // With a wrong own address nothing goes out, and the note stays to be sent
    // again.
    p.net.lan.clearTraffic();
    {
        const QSignalBlocker quiet(p.a->main()->Edit35);
        p.a->main()->Edit35->setText(QStringLiteral("読込み失敗"));
    }
    typeNote(*p.a, QStringLiteral("届かない"));
    p.net.settle();
    QVERIFY(chatTraffic(p.net).isEmpty());
    QCOMPARE(wa.RichEdit1->toPlainText(), QStringLiteral("届かない"));
    QCOMPARE(p.net.messages(0).shown.last(),
             QStringLiteral("自分のＩＰアドレスが間違っています。"));
}

void TestChat::periodicNote() {
    Pair p;
    TForm6& w = *p.a->chat();
    Chat& chat = p.a->chatNotes();
    w.Edit3->setText(QStringLiteral("交代です！"));
    w.Edit4->setText(QStringLiteral("３０秒前です。"));
    w.CheckBox2->setChecked(true);
    QVERIFY(w.Timer2->isActive());
    QCOMPARE(w.Timer2->interval(), 1000);
    // One tick a second, as the timer would.
    auto run = [&](int seconds) {
        for (int i = 0; i < seconds; ++i) {
            p.clock().advance(1000);
            chat.Timer2Timer();
        }
    };
    run(1);
    QCOMPARE(w.Label3->text(), QStringLiteral("Time left: 4min 59sec"));
    run(268);
    QVERIFY(logOf(*p.a).isEmpty());
    run(1); // 4:30: the advance note, shown and (without "Send to LAN.") not sent
    QCOMPARE(logOf(*p.a), QStringList{"３０秒前です。（9時4分30秒)"});
    QCOMPARE(background(w.RichEdit2), QColor(Qt::red));
    run(29);
    QCOMPARE(logOf(*p.a).size(), 1);
    w.CheckBox4->setChecked(true); // "Send to LAN."
    run(1);                        // 5:00: the note itself, sent
    QCOMPARE(logOf(*p.a).last(), QStringLiteral("交代です！（9時5分0秒)"));
    p.net.settle();
    QCOMPARE(chatTraffic(p.net), QStringList{"192.168.1.11=交代です！（9時5分0秒)"});
    QCOMPARE(logOf(*p.b), QStringList{"交代です！（9時5分0秒)"});
    QCOMPARE(w.Label3->text(), QStringLiteral("Time left: 5min 0sec"));

    // To the whole network without "Send to LAN.": neither shown nor sent.
    w.CheckBox4->setChecked(false);
    w.CheckBox1->setChecked(true);
    w.CheckBox5->setChecked(false);
    run(300);
    QCOMPARE(logOf(*p.a).size(), 2);

    // Closing the window stops the note.
    w.show();
    w.close();
    QVERIFY(!w.CheckBox2->isChecked() && !w.Timer2->isActive());
    QCOMPARE(w.Label3->text(), Chat::kStopped);
}

void TestChat::periodicNoteAcrossMidnightAndEmptyPeriod() {
    Pair p;
    TForm6& w = *p.a->chat();
    Chat& chat = p.a->chatNotes();
    w.CheckBox3->setChecked(false);
    w.CheckBox5->setChecked(false);
    p.clock().advance((14 * 60 + 58) * 60000); // 23:58
    w.CheckBox2->setChecked(true);
    int notes = 0;
    for (int i = 0; i < 5 * 60; ++i) {
        p.clock().advance(1000);
        chat.Timer2Timer();
    }
    notes = int(logOf(*p.a).size());
    QCOMPARE(notes, 1); // at 00:03, the next day

    // An emptied period box shows "0" and counts as one minute, never as
    // a note at every tick.
    w.Edit2->clear();
    QCOMPARE(w.Edit2->text(), QStringLiteral("0"));
    w.Edit2->setText(QStringLiteral("abc"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("5"));
    w.Edit2->setText(QStringLiteral("0"));
    for (int i = 0; i < 120; ++i) {
        p.clock().advance(1000);
        chat.Timer2Timer();
    }
    QCOMPARE(logOf(*p.a).size(), notes + 2);
}

void TestChat::savingTheLog() {
    Lan net;
    Station& s = net.add();
    auto& fx = *net.stations[0];
    TForm6& w = *s.chat();
    typeNote(s, QStringLiteral("一行目"));
    typeNote(s, QString());
    typeNote(s, QStringLiteral("三行目"));

    // A failed write keeps the log and says why.
    fx.choosers.nextFile = fx.dir.filePath(QStringLiteral("missing/folder/x.txt"));
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    QCOMPARE(logOf(s).size(), 3);
    QCOMPARE(net.messages(0).shown.size(), 1);
    QCOMPARE(fx.choosers.offered.mid(1),
             (QStringList{"2026_12_10-9_00_00連絡文.txt", Chat::kFilter, "txt"}));

    const QString path = fx.dir.filePath(QStringLiteral("chat.txt"));
    fx.choosers.nextFile = path;
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), text::encode(QStringLiteral("一行目\r\n\r\n三行目\r\n")));
    QVERIFY(logOf(s).isEmpty());

    // At exit only when asked, and the log stays.
    typeNote(s, QStringLiteral("終わり"));
    QVERIFY(s.chatNotes().recordAtExit().isEmpty());
    w.CheckBox7->setChecked(true);
    QCOMPARE(s.chatNotes().recordAtExit(), QStringList{"終わり"});
}

void TestChat::settingsKeys() {
    Lan net;
    Station& s = net.add();
    settings::SettingsRegistry& r = s.settings();
    TForm6& w = *s.chat();
    QVERIFY(r.ApplySettings({"999:＜番号付き表示設定ファイル２＞", "191:Ａ：", "706:7", "707:交代",
                             "709:true", "786:true", "857:true", "151:65280", "702:60", "160:50"}));
    QCOMPARE(w.Edit1->text(), QStringLiteral("Ａ："));
    QCOMPARE(w.Edit2->text(), QStringLiteral("7"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("交代"));
    QVERIFY(w.CheckBox2->isChecked() && w.CheckBox6->isChecked() && w.CheckBox7->isChecked());
    QCOMPARE(s.chatNotes().warningColour(), QColor(0, 255, 0));
    QCOMPARE(w.stripHeight(), 60);
    QCOMPARE(w.inputHeight(), 50);
    const QStringList lines = r.WriteSettings();
    // The periodic note is never written as running.
    for (const char* expected : {"709:false:", "706:7:", "151:65280:", "702:60:", "160:50:"})
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& l) { return l.startsWith(expected); }),
                 expected);
}

QTEST_MAIN(TestChat)
#include "tst_chat.moc"
