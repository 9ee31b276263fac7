// Settings from the partner over the partner link: the dispatch of what
// arrives, the framed messages, the commands with their replies, "Match", and
// what a station refuses from anyone else.

#include "app/main_console.h"
#include "app/screen_modes.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "settings/catalogue.h"
#include "settings/remote_settings.h"
#include "text/cp932.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::Peer;

namespace {

constexpr int kLink = 6712;
const QString kHeaderLine = QStringLiteral("$set$") + settings::kHeader;

// Two partnered stations, a and b, and a stranger on the same LAN.
struct Pair {
    Pair() {
        a = &net.add();
        b = &net.add();
        QTRY_VERIFY(a->members().companion(0) && b->members().companion(0));
        net.settle();
        a->main()->memberBePartner[0]->click();
        QTRY_VERIFY(a->partner().flag() && b->partner().flag());
        stranger = &net.peer(QStringLiteral("192.168.1.99"));
    }
    // b sends its partner a message, as its own windows do.
    void fromB(const QStringList& lines) { b->remoteSettings().SendSettingsMessage(lines); }
    QString readme(Station& s) { return s.main()->RichEdit3->toPlainText(); }
    // Datagrams on the partner link from one station to another, as sent.
    QStringList link(const QString& from, const QString& to) {
        QStringList out;
        for (const VirtualLan::Sent& d : net.lan.traffic())
            if (d.toPort == kLink && d.from == QHostAddress(from).toIPv4Address() &&
                d.to == QHostAddress(to).toIPv4Address())
                out << text::decode(d.data);
        return out;
    }
    Lan net;
    Station *a, *b;
    Peer* stranger;
};

} // namespace

class TestRemoteSettings : public QObject {
    Q_OBJECT
private slots:
    void messageFromThePartnerIsApplied();
    void dispatchOfThePartnerLink();
    void matchAsksThePartnerForItsSizes();
    void replyEndsThePass();
    void lostEndAndBrokenMessages();
    void strangersAndForbiddenKeysAreRefused();
    void commands();
};

void TestRemoteSettings::messageFromThePartnerIsApplied() {
    Pair p;
    const QString font = p.a->main()->Edit12->text();
    p.net.lan.clearTraffic();
    p.fromB({QStringLiteral("$set$004:9:マニュアル調整の表示行数")});
    QTRY_COMPARE(p.a->main()->Edit8->text(), QStringLiteral("9"));
    QCOMPARE(p.a->main()->Edit12->text(), font);
    // Three datagrams, three dated lines on the explanation page.
    QCOMPARE(p.link(QStringLiteral("192.168.1.11"), QStringLiteral("192.168.1.10")),
             (QStringList{kHeaderLine, QStringLiteral("$set$004:9:マニュアル調整の表示行数"),
                          QStringLiteral("$end$")}));
    QCOMPARE(p.readme(*p.a).count(RemoteSettings::kReceived), 3);
    QVERIFY(p.readme(*p.a).contains(QRegularExpression(
        QStringLiteral("\\d{4}/\\d\\d/\\d\\d-\\d+:\\d\\d:\\d\\d:表示設定受信：\\$end\\$"))));
    QVERIFY(p.a->remoteSettings().PendingSettings.isEmpty());
    // Never monitor text.
    QVERIFY(!p.a->main()->RichEdit27->toPlainText().contains(QStringLiteral("$set$")));

    // Scrambled on both ends, the same.
    for (Station* s : {p.a, p.b})
        s->main()->CheckBox42->setChecked(true);
    p.fromB({QStringLiteral("$set$004:5:x")});
    QTRY_COMPARE(p.a->main()->Edit8->text(), QStringLiteral("5"));
    // On one end only, the receiver sees unreadable monitor text.
    p.a->main()->CheckBox42->setChecked(false);
    p.fromB({QStringLiteral("$set$004:7:x")});
    p.net.settle();
    QCOMPARE(p.a->main()->Edit8->text(), QStringLiteral("5"));
}

void TestRemoteSettings::dispatchOfThePartnerLink() {
    Pair p;
    TMainConsole& m = *p.a->main();
    auto link = [&](const QString& text) {
        p.b->remoteSettings().hooks().send(text);
        p.net.settle();
        return m.RichEdit27->toPlainText();
    };
    QCOMPARE(link(QStringLiteral("途中の文")), QStringLiteral("途中の文"));
    QCOMPARE(link(QStringLiteral("$null$")), QString());
    QCOMPARE(link(QStringLiteral("$clear$")), m.Edit66->text());
    // Only the whole datagram is a marker.
    QCOMPARE(link(QStringLiteral("$null$です")), QStringLiteral("$null$です"));
    QCOMPARE(link(QStringLiteral("$end$です")), QStringLiteral("$end$です"));
    // With line breaks shown as ■, the replacement comes first.
    m.CheckBox57->setChecked(true);
    QCOMPARE(link(QStringLiteral("一行目\r\n二行目")), QStringLiteral("一行目■二行目"));
}

void TestRemoteSettings::matchAsksThePartnerForItsSizes() {
    Pair p;
    TMainConsole& a = *p.a->main();
    TMainConsole& b = *p.b->main();
    b.CheckBox67->setChecked(false);
    b.Edit8->setText(QStringLiteral("8"));
    p.b->screen().setDisplayFont(QFont(b.RichEdit2->font().family(), 24), Qt::black);
    b.resize(700, 500);
    a.CheckBox67->setChecked(true);
    p.net.lan.clearTraffic();
    a.Button18->click();
    QVERIFY(!a.CheckBox67->isChecked());
    QTRY_COMPARE(a.Edit8->text(), QStringLiteral("8"));
    QCOMPARE(a.RichEdit2->font().pointSize(), 24);
    QCOMPARE(a.width(), 700);
    QCOMPARE(p.link(QStringLiteral("192.168.1.10"), QStringLiteral("192.168.1.11")),
             (QStringList{kHeaderLine, RemoteSettings::kMatchLine, QStringLiteral("$end$")}));
    QCOMPARE(p.link(QStringLiteral("192.168.1.11"), QStringLiteral("192.168.1.10")),
             (QStringList{kHeaderLine, QStringLiteral("$set$001:700:メインウィンドの幅"),
                          QStringLiteral("$set$004:8:マニュアル調整の表示行数"),
                          QStringLiteral("$set$009:24:表示部のフォントサイズ"),
                          QStringLiteral("$set$608:true:行数から行間を調整するのボタン"),
                          QStringLiteral("$end$")}));
    // The spacing was computed again from the line count (the 608 command).
    QCOMPARE(a.Edit12->text(), QString::number(std::max(1, a.Panel6->height() / 8)));

    // Without a partner only the message, and nothing on the wire.
    Lan lone;
    Station& s = lone.add();
    s.main()->Button18->click();
    QCOMPARE(lone.messages(0).shown, QStringList{RemoteSettings::kNoPartner});
    QVERIFY(lone.lan.traffic().empty() ||
            std::none_of(lone.lan.traffic().begin(), lone.lan.traffic().end(),
                         [](const VirtualLan::Sent& d) { return d.toPort == kLink; }));
}

void TestRemoteSettings::replyEndsThePass() {
    Pair p;
    p.net.lan.clearTraffic();
    const QString spacing = p.b->main()->Edit12->text();
    p.a->main()->Edit12->setText(QStringLiteral("48"));
    p.fromB({QStringLiteral("$set$610:true:x"), QStringLiteral("$set$004:3:x")});
    // a answers its partner, and the line after the command is not applied.
    QTRY_COMPARE(p.link(QStringLiteral("192.168.1.10"), QStringLiteral("192.168.1.11")),
                 (QStringList{kHeaderLine, QStringLiteral("$set$611:48:マニュアル調整の行間"),
                              QStringLiteral("$end$")}));
    QCOMPARE(p.a->main()->Edit8->text(), QStringLiteral("6"));
    // 611 is for the companion display program: skipped here.
    p.net.settle();
    QCOMPARE(p.b->main()->Edit12->text(), spacing);

    // 609: the whole window.
    p.net.lan.clearTraffic();
    p.a->main()->setGeometry(30, 40, 620, 410);
    p.fromB({QStringLiteral("$set$609:true:x")});
    QTRY_COMPARE(p.link(QStringLiteral("192.168.1.10"), QStringLiteral("192.168.1.11")).size(), 9);
    const QStringList sent = p.link(QStringLiteral("192.168.1.10"), QStringLiteral("192.168.1.11"));
    QCOMPARE(sent.at(1), QStringLiteral("$set$000:410:ウィンドウの高さ"));
    QCOMPARE(sent.at(2), QStringLiteral("$set$001:620:メインウィンドの幅"));
    QCOMPARE(sent.at(3),
             QStringLiteral("$set$002:%1:メインウィンドの縦位置").arg(p.a->main()->y()));
    QCOMPARE(sent.at(6), QStringLiteral("$set$005:48:マニュアル調整の行間"));
}

void TestRemoteSettings::lostEndAndBrokenMessages() {
    Pair p;
    RemoteSettings& b = p.b->remoteSettings();
    // A lost "$end$": the lines wait and go with the next message.
    b.hooks().send(kHeaderLine);
    b.hooks().send(QStringLiteral("$set$004:7:x"));
    p.fromB({QStringLiteral("$set$005:44:x")});
    QTRY_COMPARE(p.a->main()->Edit12->text(), QStringLiteral("44"));
    QCOMPARE(p.a->main()->Edit8->text(), QStringLiteral("7"));

    // "$set$" alone becomes an empty line: the integer error ends the pass,
    // as a notice (it came from the network).
    p.fromB({QStringLiteral("$set$"), QStringLiteral("$set$004:2:x")});
    QTRY_COMPARE(p.net.messages(0).notified,
                 QStringList{QStringLiteral("'' は整数ではありません")});
    QVERIFY(p.net.messages(0).shown.isEmpty());
    QCOMPARE(p.a->main()->Edit8->text(), QStringLiteral("7"));

    // A lost header: the version line, nothing applied, the buffer empty.
    b.hooks().send(QStringLiteral("$set$004:1:x"));
    b.hooks().send(QStringLiteral("$end$"));
    p.net.settle();
    QCOMPARE(p.a->main()->Edit8->text(), QStringLiteral("7"));
    QVERIFY(p.readme(*p.a).contains(settings::kVersionMismatch));
    QVERIFY(p.a->remoteSettings().PendingSettings.isEmpty());

    // A flood of "$set$" without an end cannot grow the buffer without end.
    const QString line = QStringLiteral("$set$504:") + QString(400, QChar(u'あ'));
    for (int i = 0; i < 400; ++i) {
        b.hooks().send(line);
        if (i % 50 == 0)
            p.net.settle();
    }
    p.net.settle();
    qsizetype chars = 0;
    for (const QString& l : std::as_const(p.a->remoteSettings().PendingSettings))
        chars += l.size();
    QVERIFY(chars <= RemoteSettings::kPendingLimit);
    QVERIFY(p.readme(*p.a).contains(RemoteSettings::kOverflow));
}

void TestRemoteSettings::strangersAndForbiddenKeysAreRefused() {
    Pair p;
    TMainConsole& a = *p.a->main();
    // From anyone but the partner: nothing, and a line that says so.
    for (const char* line : {"$set$999:＜番号付き表示設定ファイル２＞", "$set$004:2:x", "$end$"})
        p.stranger->send(QStringLiteral("192.168.1.10"), kLink, line);
    p.net.settle();
    QCOMPARE(a.Edit8->text(), QStringLiteral("6"));
    QVERIFY(p.readme(*p.a).contains(RemoteSettings::kNotFromPartner +
                                    QStringLiteral("192.168.1.99:$end$")));
    QVERIFY(p.a->remoteSettings().PendingSettings.isEmpty());

    // From the partner, the keys that decide whom the station talks to and
    // what it keeps are refused one by one; the rest applies.
    const QString edit1 = a.Edit1->text();
    p.fromB({QStringLiteral("$set$801:3:x"), QStringLiteral("$set$064:off:x"),
             QStringLiteral("$set$806:true:x"), QStringLiteral("$set$807:偽:x"),
             QStringLiteral("$set$166:乗っ取り:x"), QStringLiteral("$set$803:false:x"),
             QStringLiteral("$set$744:true:x"), QStringLiteral("$set$950:on:x"),
             QStringLiteral("$set$951:9999:x"), QStringLiteral("$set$004:4:x")});
    QTRY_COMPARE(a.Edit8->text(), QStringLiteral("4"));
    QCOMPARE(a.ComboBox2->currentText(), QStringLiteral("1ch"));
    QVERIFY(a.CheckBox22->isChecked());
    QVERIFY(!a.CheckBox42->isChecked());
    QCOMPARE(a.Edit1->text(), edit1);
    QVERIFY(a.Edit30->text() != QStringLiteral("乗っ取り"));
    QVERIFY(a.CheckBox19->isChecked());
    QVERIFY(!a.CheckBox21->isChecked());
    QVERIFY(!a.CheckBoxAudience->isChecked()); // no one opens a port from afar
    QCOMPARE(a.EditAudiencePort->text(), QStringLiteral("8080"));
    QCOMPARE(p.readme(*p.a).count(RemoteSettings::kKeyRefused), 9);
}

void TestRemoteSettings::commands() {
    Pair p;
    TMainConsole& a = *p.a->main();
    // 603: a notice, whatever the message switch says, shown after the pass.
    a.CheckBox19->setChecked(false);
    p.fromB({QStringLiteral("$set$603:休憩です:x")});
    QTRY_COMPARE(p.net.messages(0).notified, QStringList{QStringLiteral("休憩です")});
    QVERIFY(p.net.messages(0).shown.isEmpty());

    // 620: at once; below 1 refused.
    p.fromB({QStringLiteral("$set$005:60:x"), QStringLiteral("$set$620:4:x")});
    QTRY_COMPARE(p.a->screen().state().distance, 4);
    QCOMPARE(p.a->screen().state().stepsPerLine, 15);
    QCOMPARE(a.Edit9->text(), QStringLiteral("4"));
    p.fromB({QStringLiteral("$set$620:0:x"), QStringLiteral("$set$620:-3:x")});
    p.net.settle();
    QCOMPARE(p.a->screen().state().distance, 4);

    // 600: lines from the window and the font, automatic adjustment or not.
    a.CheckBox67->setChecked(false);
    p.fromB({QStringLiteral("$set$009:20:x"), QStringLiteral("$set$600:true:x")});
    p.net.settle();
    QTRY_COMPARE(a.Edit8->text(), QString::number(a.height() / 40));

    // 612-614 only while the screen page is shown.
    a.PageControl1->setCurrentWidget(a.TabSheet3);
    p.fromB({QStringLiteral("$set$612:true:x")});
    p.net.settle();
    QVERIFY(!p.a->screen().frameless());
    p.a->modes().setPersons(0);
    p.fromB({QStringLiteral("$set$612:true:x")});
    QTRY_VERIFY(p.a->screen().frameless());
    // Any other value of a command does nothing.
    p.fromB({QStringLiteral("$set$612:yes:x")});
    p.net.settle();
    QVERIFY(p.a->screen().frameless());
    // Borderless, a notice only goes to the explanation page.
    p.fromB({QStringLiteral("$set$603:枠なし中:x")});
    QTRY_VERIFY(p.readme(*p.a).contains(QStringLiteral("枠なし中")));
    QCOMPARE(p.net.messages(0).notified.size(), 1);
}

QTEST_MAIN(TestRemoteSettings)
#include "tst_remote_settings.moc"
