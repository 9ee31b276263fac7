// The telop of the information window: the message a station sends, what a
// member makes of it (place, size, text, passes, colours, speed), the ticker,
// and the bounds that keep a receiver safe from any host of the LAN.

#include "app/main_console.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "net/link_encryption.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "windows/info/information_window.h"
#include "windows/info/telop.h"

#include <QCheckBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::Peer;
using quorel::test::StationFixture;

namespace {

constexpr int kTelop = 6731;

int members(Station& s) {
    int n = 0;
    for (int i = 0; i < 8; ++i)
        n += s.members().companion(i);
    return n;
}

// What crossed the LAN to `port` for `to`, decoded.
QStringList sentTo(Lan& net, int port, const QString& to) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == port && QHostAddress(d.to).toString() == to)
            out << text::decode(d.data);
    return out;
}

// The message as a station with every box at its default sends it.
const QStringList kDefaultMessage{"999:＜番号付き表示設定ファイル２＞",
                                  "500:100:ウィンドウの高さ",
                                  "501:640:ウィンドの幅",
                                  "502:0:ウィンドの縦位置",
                                  "503:0:ウィンドの横位置",
                                  "504:お知らせ:表示文字列",
                                  "505:true:終了時消す",
                                  "518:true:メインウィンドの上に表示",
                                  "519:true:表示後元位置に戻る",
                                  "520:true:表示後設定画面に戻る",
                                  "521:false:左端で止めない",
                                  "522:true:表示高さの自動設定する",
                                  "523:true:戻った時に高さを初期値にする",
                                  "524:false:メインウィンドの下ではない",
                                  "506:false:loopしない",
                                  "507:true:前面表示する",
                                  "508:0:ループ",
                                  "509:50:スクロール間隔",
                                  "510:3:スクロール移動量",
                                  "511:ＭＳ Ｐゴシック:表示のフォントの種類",
                                  "512:-2147483640:表示のフォントの色",
                                  "513:36:表示のフォントサイズ",
                                  "514:16777215:背景色",
                                  "515:!fsbold:表示部のフォントスタイル：ｂｏｌｄ",
                                  "516:!fsItalic:表示部のフォントスタイル：Ｉｔａｌｉｃ",
                                  "517:!fsUnderline:表示部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ",
                                  "900:true:表示",
                                  "$end$"};

// Two stations of one group; the second receives telops.
struct Pair {
    Pair() {
        a = &net.add();
        b = &net.add();
        QTRY_VERIFY(members(*a) == 1 && members(*b) == 1);
        b->information()->CheckBox12->setChecked(false);
        net.settle();
        net.lan.clearTraffic();
    }
    TForm15& wa() { return *a->information(); }
    TForm15& wb() { return *b->information(); }
    Lan net;
    Station* a;
    Station* b;
};

// A peer on the LAN speaks the telop by hand to station 0 (192.168.1.10).
struct Listener {
    Listener() {
        s = &net.add();
        s->information()->CheckBox12->setChecked(false);
        peer = &net.peer(QStringLiteral("192.168.1.50"));
    }
    void send(const QStringList& lines) {
        for (const QString& l : lines)
            peer->send(QStringLiteral("192.168.1.10"), kTelop, l);
        net.settle();
    }
    TForm15& w() { return *s->information(); }
    Lan net;
    Station* s;
    Peer* peer;
};

// Runs the ticker by hand until it stops (or `limit` ticks), counting the
// passes: a pass begins where the text is drawn at the right edge.
int runPasses(Station& s, int limit = 5000) {
    TForm15& w = *s.information();
    int n = 0;
    for (int i = 0; i < limit && w.Timer1->isActive(); ++i) {
        s.telop().Timer1Timer();
        if (w.Image2->textShown() && w.Image2->textX() == w.Image2->width() &&
            s.telop().offset() != 0)
            ++n;
    }
    return n;
}

} // namespace

class TestTelop : public QObject {
    Q_OBJECT
private slots:
    void sentMessageIsTheFileFormat();
    void memberShowsTheTelopAsSent();
    void doNotReceiveSettingKeepsOwnPlaceAndLook();
    void stopSendingStopsAndHidesEveryReceiver();
    void passes_data();
    void passes();
    void zeroIntervalOrDistance();
    void endOfTelopReturnsToTheSavedPlace();
    void receivedLines_data();
    void receivedLines();
    void lineBufferIsBounded();
    void messageGoesWholeOrNotAtAll_data();
    void messageGoesWholeOrNotAtAll();
    void senderRefusesLinesWithTooManyColons();
    void scrambledRoundTripAndSamePcCopies();
    void ignoredTelopStillReachesTheSamePcDisplay();
    void continuousSendingToThePartner();
    void commaLineForThePreroll();
    void optionsThatExcludeEachOther();
    void settingsKeysRoundTrip();
};

void TestTelop::sentMessageIsTheFileFormat() {
    Pair p;
    p.wa().Edit1->setText(QStringLiteral("お知らせ"));
    p.a->main()->CheckBox60->setChecked(true);
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(sentTo(p.net, kTelop, "192.168.1.11"), kDefaultMessage);
    // The same-PC display gets the same datagrams.
    QCOMPARE(sentTo(p.net, 7931, "127.0.0.1"), kDefaultMessage);

    // Without the basic settings: the place, the text and the end options.
    p.net.lan.clearTraffic();
    p.wa().CheckBox7->setChecked(false);
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    const QStringList without = kDefaultMessage.mid(0, 14) + QStringList{"900:true:表示", "$end$"};
    QCOMPARE(sentTo(p.net, kTelop, "192.168.1.11"), without);
}

void TestTelop::memberShowsTheTelopAsSent() {
    Pair p;
    TForm15& a = p.wa();
    a.Edit1->setText(QStringLiteral("会議は12:00から <b>再開</b>"));
    a.CheckBox4->setChecked(false);
    a.Edit5->setText("120");
    a.Edit6->setText("500");
    a.Edit7->setText("40");
    a.Edit8->setText("30");
    a.Edit2->setText("20");
    a.Edit3->setText("7");
    a.CheckBox1->setChecked(true);
    a.Edit4->setText("2");
    QFont f = p.a->telop().font();
    f.setPointSize(20);
    f.setBold(true);
    p.a->telop().setFont(f);
    p.a->telop().setFontColour(255);      // red
    p.a->telop().setBackground(16711680); // blue
    QTest::mouseClick(a.Button5, Qt::LeftButton);
    p.net.settle();

    TForm15& b = p.wb();
    QVERIFY(b.isVisible());
    // The whole text, colon and markup characters as they are.
    QCOMPARE(b.Edit1->text(), a.Edit1->text());
    // The sender's place; the height follows the font (trunc(20 x 1.29 + 8)),
    // in display mode.
    QVERIFY(b.displayMode());
    QCOMPARE(b.geometry(), QRect(30, 40 + 45, 500, 33));
    QCOMPARE(b.Image2->width(), 500);
    QCOMPARE(b.Edit2->text(), QString("20"));
    QCOMPARE(b.Edit3->text(), QString("7"));
    QVERIFY(b.CheckBox1->isChecked());
    QCOMPARE(b.Edit4->text(), QString("2"));
    QCOMPARE(p.b->telop().repeatCounter(), 2);
    QVERIFY(b.Timer1->isActive());
    QCOMPARE(b.Timer1->interval(), 20);
    QCOMPARE(b.Image2->textColour(), QColor(255, 0, 0));
    QCOMPARE(b.Image2->background(), QColor(0, 0, 255));
    QCOMPARE(b.Image2->font().pointSize(), 20);
    QVERIFY(b.Image2->font().bold());

    // The ticker: from the right edge, 7 pixels a tick, the text as plain text.
    p.b->telop().Timer1Timer();
    QCOMPARE(b.Image2->textX(), 500);
    QCOMPARE(b.Image2->text(), a.Edit1->text());
    p.b->telop().Timer1Timer();
    QCOMPARE(b.Image2->textX(), 493);
    // Two passes, then the end: the window hides and takes its setting-mode
    // place and the initial height again.
    QCOMPARE(runPasses(*p.b) + 1, 2);
    QVERIFY(!b.Timer1->isActive());
    QVERIFY(!b.isVisible());
    QVERIFY(!b.displayMode());
    QCOMPARE(b.geometry(), QRect(30, 40, 500, 200));
}

void TestTelop::doNotReceiveSettingKeepsOwnPlaceAndLook() {
    Pair p;
    TForm15& b = p.wb();
    b.CheckBox13->setChecked(true);
    b.CheckBox4->setChecked(false);
    b.setGeometry(11, 22, 400, 300);
    b.Edit2->setText("80");
    p.a->telop().setBackground(255);
    p.wa().CheckBox4->setChecked(false);
    p.wa().Edit7->setText("300");
    p.wa().Edit2->setText("10");
    p.wa().Edit1->setText(QStringLiteral("text only"));
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(b.Edit1->text(), QStringLiteral("text only"));
    QVERIFY(b.Timer1->isActive());
    QCOMPARE(b.Timer1->interval(), 80);
    QCOMPARE(b.geometry().topLeft(), QPoint(11, 22 + 45));
    QCOMPARE(b.Image2->background(), QColor(Qt::white));
}

void TestTelop::stopSendingStopsAndHidesEveryReceiver() {
    Pair p;
    p.wa().Edit1->setText(QStringLiteral("running"));
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QVERIFY(p.wb().Timer1->isActive());
    QVERIFY(p.wb().isVisible());
    p.net.lan.clearTraffic();
    QTest::mouseClick(p.wa().Button6, Qt::LeftButton);
    p.net.settle();
    QVERIFY(p.wa().Edit1->text().isEmpty());
    const QStringList sent = sentTo(p.net, kTelop, "192.168.1.11");
    QCOMPARE(sent.value(5), QStringLiteral("504::表示文字列"));
    QCOMPARE(sent.mid(sent.size() - 2), (QStringList{"901:true:停止", "$end$"}));
    QVERIFY(!p.wb().Timer1->isActive());
    QVERIFY(!p.wb().isVisible());
    QVERIFY(!p.wb().Image2->textShown());
}

void TestTelop::passes_data() {
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<int>("expected"); // -1: still running after many passes
    QTest::newRow("one pass without repeat") << false << "5" << 1;
    QTest::newRow("three passes") << true << "3" << 3;
    QTest::newRow("frequency 0 is endless") << true << "0" << -1;
}

void TestTelop::passes() {
    QFETCH(bool, repeat);
    QFETCH(QString, frequency);
    QFETCH(int, expected);
    StationFixture f;
    Station& s = *f.station;
    TForm15& w = *s.information();
    w.Edit1->setText(QStringLiteral("ab"));
    w.Edit3->setText("60");
    w.CheckBox1->setChecked(repeat);
    w.Edit4->setText(frequency);
    s.telop().StartLocalTelop();
    const int n = runPasses(s, 2000);
    if (expected < 0) {
        QVERIFY(w.Timer1->isActive());
        QVERIFY(n > 20);
    } else {
        QCOMPARE(n, expected);
        QVERIFY(!w.Timer1->isActive());
        // The counter is ready for the next start.
        QCOMPARE(s.telop().repeatCounter(), frequency.toInt());
    }
}

void TestTelop::zeroIntervalOrDistance() {
    StationFixture f;
    Station& s = *f.station;
    TForm15& w = *s.information();
    // A period of 0 (or below, from a message) never starts the timer.
    for (const char* interval : {"0", "-5"}) {
        w.Edit2->setText(interval);
        s.telop().StartLocalTelop();
        QVERIFY2(!w.Timer1->isActive(), interval);
    }
    // A running telop restarted with 0 stops.
    w.Edit2->setText("50");
    s.telop().StartLocalTelop();
    QVERIFY(w.Timer1->isActive());
    w.Edit2->setText("0");
    s.telop().StartLocalTelop();
    QVERIFY(!w.Timer1->isActive());

    // A distance of 0 keeps the text at the right edge.
    w.Edit3->setText("0");
    for (int i = 0; i < 3; ++i) {
        s.telop().Timer1Timer();
        QCOMPARE(w.Image2->textX(), w.Image2->width());
    }
}

void TestTelop::endOfTelopReturnsToTheSavedPlace() {
    StationFixture f;
    Station& s = *f.station;
    TForm15& w = *s.information();
    TMainConsole& m = *s.main();
    m.setGeometry(100, 200, 640, 480);
    w.show();
    w.setGeometry(50, 60, 640, 350);
    QCOMPARE(w.height(), 350);
    s.telop().StartLocalTelop();
    // Across the top of the main window, 36 points: 54 pixels high.
    QVERIFY(w.displayMode());
    QVERIFY(w.PageControl1->isHidden());
    QCOMPARE(w.geometry(), QRect(100, 200, m.width(), 54));
    QCOMPARE(s.telop().savedPlace(), QRect(50, 60, 640, 99));

    // "Stop Display" with the default end options: hidden, back in setting
    // mode at the saved place, 200 high.
    QTest::mouseClick(w.Button2, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.displayMode());
    QCOMPARE(w.geometry(), QRect(50, 60, 640, 200));

    // Held at the left end, not hidden: the text stays readable at the left.
    w.show();
    w.CheckBox11->setChecked(true);
    QVERIFY(!w.CheckBox5->isChecked() && !w.CheckBox9->isChecked() && !w.CheckBox8->isChecked() &&
            !w.CheckBox10->isChecked());
    w.Edit1->setText(QStringLiteral("left"));
    w.Edit3->setText("100");
    s.telop().StartLocalTelop();
    runPasses(s);
    QVERIFY(w.isVisible());
    QVERIFY(w.displayMode());
    QCOMPARE(w.Image2->textX(), 0);
    QCOMPARE(w.Image2->text(), QStringLiteral("left"));

    // F1 on the telop: back to setting mode, 45 pixels up, never above 0.
    w.setGeometry(0, 10, 640, 54);
    s.telop().Edit77F1();
    QVERIFY(!w.displayMode());
    QCOMPARE(w.geometry().y(), 0);
    s.telop().Edit77F1();
    QVERIFY(w.displayMode());
    QCOMPARE(w.geometry().y(), 45);
}

void TestTelop::receivedLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("repeat"); // CheckBox1 afterwards (set by 506)
    QTest::addColumn<QString>("notice");
    const QString h = Telop::kHeader;
    const QString longText = QString(450, QChar(u'字')); // 900 bytes
    QTest::newRow("colon in the text")
        << QStringList{h, "504:会議は12:00から:表示文字列", "506:true:x"} << "会議は12:00から"
        << true << "";
    QTest::newRow("text without comment")
        << QStringList{h, "504:just text"} << "just text" << false << "";
    QTest::newRow("text longer than one field")
        << QStringList{h, "504:" + longText + ":表示文字列"} << longText << false << "";
    QTest::newRow("markup stays text") << QStringList{h, "504:<img src=x><b>b</b>:表示文字列"}
                                       << "<img src=x><b>b</b>" << false << "";
    QTest::newRow("no header applies nothing")
        << QStringList{"504:nothing:表示文字列", "506:true:x"} << "" << false << "";
    QTest::newRow("ten colons end the apply")
        << QStringList{h, "504:before:x", "521:true:a:b:c:d:e:f:g:h:i", "506:true:x"} << "before"
        << false << "";
    QTest::newRow("not an integer ends the apply")
        << QStringList{h, "504:before:x", "509:fast:x", "506:true:x"} << "before" << false
        << "'fast' は整数ではありません";
    QTest::newRow("unknown keys are skipped")
        << QStringList{h, ":", "garbage", "777:true:x", "504:after:x", "506:true:x"} << "after"
        << true << "";
}

void TestTelop::receivedLines() {
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    QFETCH(bool, repeat);
    QFETCH(QString, notice);
    Listener l;
    l.w().Edit1->clear();
    l.send(lines + QStringList{"$end$"});
    QCOMPARE(l.w().Edit1->text(), text);
    QCOMPARE(l.w().CheckBox1->isChecked(), repeat);
    QCOMPARE(l.net.messages(0).notified, notice.isEmpty() ? QStringList() : QStringList{notice});
    QVERIFY(l.net.messages(0).shown.isEmpty()); // never a modal box
    // However the apply ended, the next message starts afresh.
    QVERIFY(l.s->telop().buffered().isEmpty());
    l.send({Telop::kHeader, "504:next:x", "$end$"});
    QCOMPARE(l.w().Edit1->text(), QStringLiteral("next"));
}

void TestTelop::lineBufferIsBounded() {
    Listener l;
    // A message whose end never comes: 200 lines of 1000 bytes.
    l.send({Telop::kHeader});
    const QString filler = "777:" + QString(996, 'x');
    for (int i = 0; i < 200; ++i)
        l.peer->send(QStringLiteral("192.168.1.10"), kTelop, filler);
    auto chars = [&l] {
        qsizetype n = 0;
        for (const QString& line : l.s->telop().buffered())
            n += line.size();
        return n;
    };
    QTRY_VERIFY(chars() > Telop::kBufferChars - 1000);
    l.net.settle();
    QVERIFY(chars() <= Telop::kBufferChars);
    QCOMPARE(l.s->telop().buffered().first(), Telop::kHeader);
    // Its end still applies what was kept, and the next message is whole.
    l.send({"$end$"});
    QVERIFY(l.s->telop().buffered().isEmpty());
    l.send({Telop::kHeader, "504:fresh:x", "$end$"});
    QCOMPARE(l.w().Edit1->text(), QStringLiteral("fresh"));
}

void TestTelop::messageGoesWholeOrNotAtAll_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("error");
    QTest::newRow("no address") << ""
                                << "Null Remote Address";
    QTest::newRow("unknown host") << "nohost.invalid"
                                  << "Host Lookup Canceled";
    QTest::newRow("null address") << "0.0.0.0"
                                  << "Null Remote Address";
}

void TestTelop::messageGoesWholeOrNotAtAll() {
    QFETCH(QString, address);
    QFETCH(QString, error);
    Pair p;
    // A second ticked slot after the good member, with an address no
    // datagram can go to.
    TMainConsole& m = *p.a->main();
    m.memberAddress[1]->setText(address);
    m.memberCompanion[1]->setChecked(true);
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QVERIFY(sentTo(p.net, kTelop, "192.168.1.11").isEmpty());
    QCOMPARE(p.net.messages(0).shown, QStringList{error});
    QVERIFY(p.b->telop().buffered().isEmpty());
    // Without the bad slot the message goes, whole.
    m.memberCompanion[1]->setChecked(false);
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(sentTo(p.net, kTelop, "192.168.1.11").size(), kDefaultMessage.size());
}

void TestTelop::senderRefusesLinesWithTooManyColons() {
    Pair p;
    // 9 colons in the text make 11 in its line: that line stays home, the
    // rest goes, and the typist is told once the message is out.
    p.wa().Edit1->setText(QStringLiteral("1:2:3:4:5:6:7:8:9:0"));
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QStringList expected = kDefaultMessage;
    expected.removeAt(5);
    QCOMPARE(sentTo(p.net, kTelop, "192.168.1.11"), expected);
    QCOMPARE(p.net.messages(0).shown, QStringList{Telop::kTooManyColons});
    // The pre-roll's "send the settings delimited by comma too" lets it go.
    p.net.lan.clearTraffic();
    p.a->telop().hooks().sendCommaSettings = [] { return true; };
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(sentTo(p.net, kTelop, "192.168.1.11").value(5),
             QStringLiteral("504:1:2:3:4:5:6:7:8:9:0:表示文字列"));
    QCOMPARE(p.wb().Edit1->text(), QStringLiteral("1:2:3:4:5:6:7:8:9:0"));
}

void TestTelop::scrambledRoundTripAndSamePcCopies() {
    Pair p;
    for (Station* s : {p.a, p.b}) {
        s->main()->CheckBox42->setChecked(true);
        s->main()->CheckBox60->setChecked(true);
    }
    p.wa().Edit1->setText(QStringLiteral("暗号のテロップ"));
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(p.wb().Edit1->text(), QStringLiteral("暗号のテロップ"));
    QVERIFY(p.wb().Timer1->isActive());

    QStringList toB, fromA, fromB;
    for (const auto& d : p.net.lan.traffic()) {
        const QString to = QHostAddress(d.to).toString();
        const QString from = QHostAddress(d.from).toString();
        if (d.toPort == kTelop && to == "192.168.1.11")
            toB << QString::fromLatin1(d.data);
        else if (d.toPort == 7931 && from == "192.168.1.10")
            fromA << QString::fromLatin1(d.data);
        else if (d.toPort == 7931 && from == "192.168.1.11")
            fromB << text::decode(d.data);
    }
    QCOMPARE(toB.size(), kDefaultMessage.size());
    for (int i = 0; i < toB.size(); ++i)
        QCOMPARE(text::decode(p.b->encryption().Unscramble(toB[i].toLatin1())),
                 i == 5 ? QStringLiteral("504:暗号のテロップ:表示文字列") : kDefaultMessage[i]);
    // The sender's copies leave as scrambled as the message; the receiver
    // forwards what it read, in plain text.
    QCOMPARE(fromA, toB);
    QCOMPARE(fromB.size(), kDefaultMessage.size());
    QCOMPARE(fromB.value(5), QStringLiteral("504:暗号のテロップ:表示文字列"));
}

void TestTelop::ignoredTelopStillReachesTheSamePcDisplay() {
    Pair p;
    TForm15& b = p.wb();
    // "Do not receive information (Telop)." on the main window is the same box.
    p.b->main()->CheckBox16->setChecked(true);
    QVERIFY(b.CheckBox12->isChecked());
    b.CheckBox12->setChecked(false);
    QVERIFY(!p.b->main()->CheckBox16->isChecked());
    b.CheckBox12->setChecked(true);
    p.b->main()->CheckBox60->setChecked(true);
    b.Edit1->setText(QStringLiteral("mine"));
    p.wa().Edit1->setText(QStringLiteral("theirs"));
    QTest::mouseClick(p.wa().Button5, Qt::LeftButton);
    p.net.settle();
    QCOMPARE(b.Edit1->text(), QStringLiteral("mine"));
    QVERIFY(!b.isVisible());
    QVERIFY(p.b->telop().buffered().isEmpty());
    QStringList forwarded;
    for (const auto& d : p.net.lan.traffic())
        if (d.toPort == 7931)
            forwarded << text::decode(d.data);
    QCOMPARE(forwarded.size(), kDefaultMessage.size());
    QCOMPARE(forwarded.value(5), QStringLiteral("504:theirs:表示文字列"));
}

void TestTelop::continuousSendingToThePartner() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    Station& c = net.add();
    QTRY_VERIFY(members(a) == 2 && members(b) == 2 && members(c) == 2);
    TForm15& w = *a.information();
    // Without a partner the box does not stay ticked.
    w.CheckBox6->setChecked(true);
    QVERIFY(!w.CheckBox6->isChecked());
    QCOMPARE(net.messages(0).shown, QStringList{Telop::kNoPartner});

    int slot = -1;
    for (int i = 0; i < 8; ++i)
        if (a.members().address(i) == "192.168.1.11")
            slot = i;
    QVERIFY(slot >= 0);
    a.partner().NominatePartner(slot + 1);
    QTRY_VERIFY(a.partner().flag());
    net.settle();
    w.CheckBox6->setChecked(true);
    QVERIFY(w.CheckBox6->isChecked());
    QVERIFY(!w.CheckBox4->isChecked() && !w.CheckBox14->isChecked() && !w.CheckBox3->isChecked());
    net.lan.clearTraffic();
    w.Edit7->setText("77");
    net.settle();
    QCOMPARE(
        sentTo(net, kTelop, "192.168.1.11"),
        (QStringList{"999:＜番号付き表示設定ファイル２＞", "518:false:メインウィンドの上ではない",
                     "522:false:表示高さの自動設定しない", "524:false:メインウィンドの下ではない",
                     "500:100:ウィンドウの高さ", "501:640:ウィンドの幅", "502:77:ウィンドの縦位置",
                     "503:0:ウィンドの横位置", "900:true:表示", "$end$"}));
    QVERIFY(sentTo(net, kTelop, "192.168.1.12").isEmpty());
    QVERIFY(sentTo(net, 7931, "127.0.0.1").isEmpty());
}

void TestTelop::commaLineForThePreroll() {
    StationFixture f;
    Station& s = *f.station;
    TForm15& w = *s.information();
    w.Edit1->setText(QStringLiteral("開始は10:30"));
    w.Edit5->setText("70");
    w.Edit2->setText("25");
    w.CheckBox1->setChecked(true);
    QStringList added;
    s.telop().hooks().addToPreroll = [&added](const QString& l) { added << l; };
    QTest::mouseClick(w.Button7, Qt::LeftButton);
    QCOMPARE(added, QStringList{"開始は10:30,500:70,501:640,502:0,503:0,505:true,518:true,519:true,"
                                "520:true,521:false,522:true,523:true,524:false,506:true,507:true,"
                                "508:0,509:25,510:3,511:ＭＳ Ｐゴシック,512:-2147483640,513:36,"
                                "514:16777215,515:!fsbold,516:!fsItalic,517:!fsUnderline"});

    // Another station takes the line into its boxes, not its place, and
    // sends nothing.
    Lan net;
    Station& t = net.add();
    t.information()->setGeometry(5, 6, 640, 350);
    net.lan.clearTraffic();
    t.telop().ApplyTelopCommaLine(added.value(0));
    TForm15& v = *t.information();
    QVERIFY(v.isVisible());
    QCOMPARE(v.Edit1->text(), QStringLiteral("開始は10:30"));
    QCOMPARE(v.Edit5->text(), QString("70"));
    QCOMPARE(v.Edit2->text(), QString("25"));
    QVERIFY(v.CheckBox1->isChecked());
    QCOMPARE(v.geometry().topLeft(), QPoint(5, 6));
    QVERIFY(!v.Timer1->isActive());
    net.settle();
    for (const auto& d : net.lan.traffic())
        QVERIFY(d.toPort != kTelop && d.toPort != 7931);
}

void TestTelop::optionsThatExcludeEachOther() {
    StationFixture f;
    TForm15& w = *f.station->information();
    w.CheckBox14->setChecked(true);
    QVERIFY(!w.CheckBox4->isChecked());
    QVERIFY(w.CheckBox9->isChecked());
    // Neither top nor bottom: there is no place to return to.
    w.CheckBox14->setChecked(false);
    QVERIFY(!w.CheckBox9->isChecked());
    w.Edit9->setText("25");
    QCOMPARE(w.UpDown6->singleStep(), 25);
    w.UpDown6->stepUp();
    QCOMPARE(w.Edit7->text(), QString("25"));
    w.CheckBox2->setChecked(false);
    QVERIFY(!(w.windowFlags() & Qt::WindowStaysOnTopHint));
    w.CheckBox2->setChecked(true);
    QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestTelop::settingsKeysRoundTrip() {
    StationFixture f1;
    Station& s = *f1.station;
    TForm15& w = *s.information();
    w.CheckBox7->setChecked(false);
    w.CheckBox12->setChecked(false);
    w.CheckBox13->setChecked(true);
    w.setGeometry(12, 34, 560, 78);
    w.Edit1->setText(QStringLiteral("保存するお知らせ"));
    w.CheckBox1->setChecked(true);
    w.Edit4->setText("4");
    w.Edit2->setText("20");
    w.Edit3->setText("6");
    QFont font = s.telop().font();
    font.setPointSize(28);
    font.setItalic(true);
    s.telop().setFont(font);
    s.telop().setBackground(65280);
    w.CheckBox14->setChecked(true);
    w.Edit5->setText("90");
    w.Edit9->setText("5");
    const QStringList file = s.settings().WriteSettings();
    auto valueOf = [&file](const QString& key) {
        for (const QString& l : file)
            if (l.startsWith(key + ':'))
                return l.section(':', 1, 1);
        return QStringLiteral("<none>");
    };
    QCOMPARE(valueOf("258"), QString("false"));
    QCOMPARE(valueOf("267"), QString("false"));
    QCOMPARE(valueOf("268"), QString("true"));
    QCOMPARE(valueOf("500"), QString("78"));
    QCOMPARE(valueOf("501"), QString("560"));
    QCOMPARE(valueOf("504"), QStringLiteral("保存するお知らせ"));
    QCOMPARE(valueOf("506"), QString("true"));
    QCOMPARE(valueOf("508"), QString("4"));
    QCOMPARE(valueOf("509"), QString("20"));
    QCOMPARE(valueOf("511"), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(valueOf("512"), QString("-2147483640")); // the system colour as it came
    QCOMPARE(valueOf("513"), QString("28"));
    QCOMPARE(valueOf("514"), QString("65280"));
    QCOMPARE(valueOf("516"), QString("fsItalic"));
    QCOMPARE(valueOf("518"), QString("false"));
    QCOMPARE(valueOf("524"), QString("true"));
    QCOMPARE(valueOf("525"), QString("90"));
    QCOMPARE(valueOf("529"), QString("5"));

    // Another station takes the same file and writes the same values.
    StationFixture f2;
    Station& t = *f2.station;
    QVERIFY(t.settings().ApplySettings(file));
    TForm15& v = *t.information();
    QCOMPARE(QRect(v.x(), v.y(), v.width(), v.height()), QRect(12, 34, 560, 78));
    QCOMPARE(v.Edit1->text(), w.Edit1->text());
    QVERIFY(v.CheckBox13->isChecked() && !v.CheckBox12->isChecked());
    QVERIFY(t.main()->CheckBox16->isChecked() == false);
    QCOMPARE(t.telop().font().pointSize(), 28);
    QCOMPARE(v.Image2->background(), QColor(0, 255, 0));
    QCOMPARE(t.settings().WriteSettings(), file);
}

QTEST_MAIN(TestTelop)
#include "tst_telop.moc"
