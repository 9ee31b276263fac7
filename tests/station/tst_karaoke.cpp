// The karaoke remote: the column arithmetic of the arrow keys, the position
// messages that go to the partner only (wrapping at the ends of a line), the
// port of each colouring mode, the remote settings of its buttons and its
// settings keys.

#include "app/main_console.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "net/link_encryption.h"
#include "net/nmudp.h"
#include "settings/remote_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"
#include "windows/prepared/karaoke.h"
#include "windows/prepared/karaoke_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::StationFixture;

namespace {

constexpr int kColourPort = 6716;
constexpr int kKaraokePort = 6728;
constexpr int kLink = 6712;
const QString kB = QStringLiteral("192.168.1.11");
const QString kC = QStringLiteral("192.168.1.12");

// What crossed the LAN to `to` on `port`, decoded (unscrambled by `key`).
QStringList sentTo(Lan& net, int port, const QString& to, const LinkEncryption* key = nullptr) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == port && QHostAddress(d.to).toString() == to)
            out << text::decode(key ? key->Unscramble(d.data) : d.data);
    return out;
}

// Station a with b as its partner and c a member only; the remote shown.
struct Team {
    Team() {
        a = &net.add();
        b = &net.add();
        c = &net.add();
        QTRY_VERIFY(test::companions(*a) == 2 && test::companions(*b) == 2);
        int slot = -1;
        for (int i = 0; i < 8; ++i)
            if (a->members().address(i) == kB)
                slot = i;
        a->partner().NominatePartner(slot + 1);
        QTRY_VERIFY(a->partner().flag() && b->partner().flag());
        a->karaokeRemote().hooks().beep = [this] { ++beeps; };
        w().show();
        net.settle();
        net.lan.clearTraffic();
    }
    TFmojikara& w() { return *a->karaoke(); }
    // Positions and line steps that reached the partner on the mode's port.
    QStringList positions(int port = kColourPort) { return sentTo(net, port, kB); }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w().TrackBar1, key, mods);
        net.settle();
    }
    Lan net;
    Station *a, *b, *c;
    int beeps = 0;
};

// The remote of a station on its own, its beeps counted.
struct Alone {
    Alone() {
        f.station->karaokeRemote().hooks().beep = [this] { ++beeps; };
        w().show();
    }
    TFmojikara& w() { return *f.station->karaoke(); }
    StationFixture f;
    int beeps = 0;
};

} // namespace

class TestKaraoke : public QObject {
    Q_OBJECT
private slots:
    void windowAtStart();
    void arrowKeysMoveByColumns_data();
    void arrowKeysMoveByColumns();
    void positionsAndLineSteps_data();
    void positionsAndLineSteps();
    void onlyThePartnerWhileABoxIsTicked();
    void scrambledAndSamePcCopies();
    void portOfEachMode_data();
    void portOfEachMode();
    void boxesWithoutAPartner();
    void onOffButtons_data();
    void onOffButtons();
    void colourButtons();
    void buttonsWithoutAnyPartnerAddress();
    void numberFields();
    void settingsKeys();
    void shownByThePartner();
    void usagePageIsSaved();
};

void TestKaraoke::windowAtStart() {
    StationFixture f;
    Station& s = *f.station;
    TFmojikara& w = *s.karaoke();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.windowTitle(), QStringLiteral("カラオケ・送信リモコン(ctrl+k)"));
    QCOMPARE(w.size(), QSize(530, 218));
    QCOMPARE(w.TrackBar1->minimum(), 0);
    QCOMPARE(w.TrackBar1->maximum(), 100);
    QCOMPARE(w.Edit4->text(), QStringLiteral("20"));
    QCOMPARE(w.Edit2->text(), QStringLiteral("1"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("2"));
    QCOMPARE(w.Edit5->text(), QStringLiteral("0"));
    QVERIFY(!w.CheckBox59->isChecked() && !w.CheckBox1->isChecked());
    QCOMPARE(s.endpoint("TFmojikara", "NMUDP1")->LocalPort(), kColourPort);
    // Ctrl+K only brings it forward once it is shown.
    s.hotkeyKaraoke();
    QVERIFY(!w.isVisible());
    w.show();
    w.PageControl1->setCurrentWidget(w.TabSheet1);
    s.hotkeyMain();
    s.hotkeyKaraoke();
    QVERIFY(w.isVisible());
}

void TestKaraoke::arrowKeysMoveByColumns_data() {
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("perKey");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("beeps");
    QTest::newRow("20 columns: 5 a column")
        << "20"
        << "1" << 0 << int(Qt::Key_Right) << false << 1 << 5 << "1" << 0;
    // 100 / 30 is 3: ten presses fall one column short.
    QTest::newRow("30 columns: ten presses reach 9")
        << "30"
        << "1" << 0 << int(Qt::Key_Right) << false << 10 << 30 << "9" << 0;
    // Shift takes the "Shift +" box (2 columns).
    QTest::newRow("shift: two columns")
        << "20"
        << "1" << 0 << int(Qt::Key_Right) << true << 1 << 10 << "2" << 0;
    QTest::newRow("back") << "20"
                          << "2" << 50 << int(Qt::Key_Left) << false << 1 << 40 << "8" << 0;
    // Past the end: the slider stops at 100, which starts the next line.
    QTest::newRow("past the end wraps to 1")
        << "20"
        << "1" << 98 << int(Qt::Key_Right) << false << 1 << 1 << "0" << 1;
    QTest::newRow("before the start wraps to 99")
        << "20"
        << "1" << 3 << int(Qt::Key_Left) << false << 1 << 99 << "19" << 1;
    // A column count below 1 counts as one column: every key is a whole line.
    QTest::newRow("0 columns count as 1")
        << "0"
        << "1" << 0 << int(Qt::Key_Right) << false << 1 << 1 << "0" << 1;
    QTest::newRow("negative columns count as 1")
        << "-4"
        << "1" << 50 << int(Qt::Key_Left) << false << 1 << 99 << "0" << 1;
}

void TestKaraoke::arrowKeysMoveByColumns() {
    QFETCH(QString, columns);
    QFETCH(QString, perKey);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(int, presses);
    QFETCH(int, position);
    QFETCH(QString, column);
    QFETCH(int, beeps);
    Alone t;
    TFmojikara& w = t.w();
    w.Edit4->setText(columns);
    w.Edit2->setText(perKey);
    w.TrackBar1->setValue(start);
    for (int i = 0; i < presses; ++i)
        QTest::keyClick(w.TrackBar1, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(w.TrackBar1->value(), position);
    QCOMPARE(w.Edit5->text(), column);
    QCOMPARE(t.beeps, beeps);
    QVERIFY(t.f.messages.shown.isEmpty());
}

void TestKaraoke::positionsAndLineSteps_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key"); // 0: the position is set directly
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<int>("position");
    QTest::newRow("moved") << 10 << 0 << 35 << QStringList{"35"} << 0 << 35;
    QTest::newRow("to the end: 100, then the next line's 1")
        << 10 << 0 << 100 << QStringList{"100", "1"} << 1 << 1;
    QTest::newRow("to the start: 0, then 99") << 10 << 0 << 0 << QStringList{"0", "99"} << 1 << 99;
    QTest::newRow("down at 40") << 40 << int(Qt::Key_Down) << 0 << QStringList{"1", "$next$"} << 0
                                << 1;
    QTest::newRow("down at 1") << 1 << int(Qt::Key_Down) << 0 << QStringList{"$next$"} << 0 << 1;
    QTest::newRow("up at 40") << 40 << int(Qt::Key_Up) << 0 << QStringList{"1", "$befor$"} << 0
                              << 1;
    QTest::newRow("right at 95") << 95 << int(Qt::Key_Right) << 0 << QStringList{"100", "1"} << 1
                                 << 1;
}

void TestKaraoke::positionsAndLineSteps() {
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(QStringList, sent);
    QFETCH(int, beeps);
    QFETCH(int, position);
    Team t;
    t.w().TrackBar1->setValue(start);
    t.w().CheckBox59->setChecked(true);
    t.net.settle();
    t.net.lan.clearTraffic();
    t.beeps = 0;
    if (key == 0) {
        t.w().TrackBar1->setValue(to);
        t.net.settle();
    } else {
        t.press(Qt::Key(key));
    }
    QCOMPARE(t.positions(), sent);
    QCOMPARE(t.beeps, beeps);
    QCOMPARE(t.w().TrackBar1->value(), position);
}

void TestKaraoke::onlyThePartnerWhileABoxIsTicked() {
    Team t;
    // No box: the bar moves, nothing is sent.
    t.w().TrackBar1->setValue(30);
    t.press(Qt::Key_Down);
    QVERIFY(t.net.lan.traffic().empty());

    // "ｶﾗｵｹに送信": the karaoke port, the partner only, nobody else.
    t.w().CheckBox1->setChecked(true);
    t.w().TrackBar1->setValue(60);
    t.net.settle();
    QCOMPARE(t.positions(kKaraokePort), QStringList{"60"});
    QVERIFY(sentTo(t.net, kKaraokePort, kC).isEmpty());
    QVERIFY(t.positions(kColourPort).isEmpty());

    // The partnership ends: nothing more.
    t.net.lan.clearTraffic();
    t.a->partner().ReleasePartner();
    t.net.settle();
    t.w().TrackBar1->setValue(70);
    t.press(Qt::Key_Down);
    QVERIFY(t.positions(kKaraokePort).isEmpty());
    QVERIFY(t.positions(kColourPort).isEmpty());
}

void TestKaraoke::scrambledAndSamePcCopies() {
    Team t;
    for (Station* s : {t.a, t.b})
        s->main()->CheckBox42->setChecked(true);
    t.a->main()->CheckBox60->setChecked(true);
    t.w().CheckBox59->setChecked(true);
    t.net.settle();
    t.net.lan.clearTraffic();
    t.w().TrackBar1->setValue(40);
    t.press(Qt::Key_Down);
    // Scrambled on the wire, the partner's key reads it.
    const QStringList expected{"40", "1", "$next$"};
    QCOMPARE(sentTo(t.net, kColourPort, kB, &t.b->encryption()), expected);
    QVERIFY(!sentTo(t.net, kColourPort, kB).contains(QStringLiteral("40")));
    // The same bytes to the display on this PC, on the copy port of the mode.
    QCOMPARE(sentTo(t.net, 7916, "127.0.0.1", &t.b->encryption()), expected);
    TNMUDP& ep = *t.a->endpoint("TFmojikara", "NMUDP1");
    QCOMPARE(ep.RemotePort, kColourPort);

    t.net.lan.clearTraffic();
    t.w().CheckBox1->setChecked(true);
    t.w().TrackBar1->setValue(20);
    t.net.settle();
    QCOMPARE(sentTo(t.net, kKaraokePort, kB, &t.b->encryption()), QStringList{"20"});
    QCOMPARE(sentTo(t.net, 7928, "127.0.0.1", &t.b->encryption()), QStringList{"20"});
    QVERIFY(sentTo(t.net, 7916, "127.0.0.1").isEmpty());
    QCOMPARE(ep.RemotePort, kKaraokePort);

    // Copies off: the partner only.
    t.net.lan.clearTraffic();
    t.a->main()->CheckBox60->setChecked(false);
    t.w().TrackBar1->setValue(25);
    t.net.settle();
    QCOMPARE(sentTo(t.net, kKaraokePort, kB, &t.b->encryption()), QStringList{"25"});
    QVERIFY(sentTo(t.net, 7928, "127.0.0.1").isEmpty());
}

void TestKaraoke::portOfEachMode_data() {
    QTest::addColumn<int>("channel"); // item index
    QTest::addColumn<bool>("karaoke");
    QTest::addColumn<int>("port");
    QTest::newRow("1ch character colour") << 0 << false << 6716;
    QTest::newRow("1ch karaoke") << 0 << true << 6728;
    QTest::newRow("3ch karaoke") << 2 << true << 6928;
    QTest::newRow("3ch character colour") << 2 << false << 6916;
    QTest::newRow("12ch karaoke") << 11 << true << 7828;
}

void TestKaraoke::portOfEachMode() {
    QFETCH(int, channel);
    QFETCH(bool, karaoke);
    QFETCH(int, port);
    StationFixture f;
    Station& s = *f.station;
    TFmojikara& w = *s.karaoke();
    TNMUDP& ep = *s.endpoint("TFmojikara", "NMUDP1");
    // Ticked on the channel.
    s.main()->ComboBox2->setCurrentIndex(channel);
    (karaoke ? w.CheckBox1 : w.CheckBox59)->setChecked(true);
    QCOMPARE(ep.LocalPort(), port);
    QCOMPARE(ep.RemotePort, port);
    QCOMPARE(w.GroupBox2->isHidden(), karaoke);

    // Ticked first, then the channel changes: the endpoint follows.
    StationFixture g;
    Station& t = *g.station;
    TNMUDP& moved = *t.endpoint("TFmojikara", "NMUDP1");
    (karaoke ? t.karaoke()->CheckBox1 : t.karaoke()->CheckBox59)->setChecked(true);
    t.main()->ComboBox2->setCurrentIndex(channel);
    QCOMPARE(moved.LocalPort(), port);
    QCOMPARE(moved.RemotePort, port);
}

void TestKaraoke::boxesWithoutAPartner() {
    Alone t;
    Station& s = *t.f.station;
    TFmojikara& w = t.w();
    TNMUDP& ep = *s.endpoint("TFmojikara", "NMUDP1");
    s.state().settingsReady = true;
    for (QCheckBox* box : {w.CheckBox1, w.CheckBox59}) {
        t.f.messages.shown.clear();
        box->setChecked(true);
        QVERIFY(!box->isChecked());
        QCOMPARE(t.f.messages.shown, QStringList{KaraokeRemote::kNoPartner});
        QCOMPARE(ep.LocalPort(), kColourPort); // it stays where it was
        QVERIFY(!w.GroupBox2->isHidden());
    }
    // With messages off it only unticks.
    s.main()->CheckBox19->setChecked(false);
    t.f.messages.shown.clear();
    w.CheckBox1->setChecked(true);
    QVERIFY(!w.CheckBox1->isChecked());
    QVERIFY(t.f.messages.shown.isEmpty());

    // Before the start has finished a settings file may tick one.
    s.state().settingsReady = false;
    w.CheckBox1->setChecked(true);
    QVERIFY(w.CheckBox1->isChecked());
    QCOMPARE(ep.LocalPort(), kKaraokePort);
}

void TestKaraoke::onOffButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("文字ｶﾗ on")
        << "Button2"
        << QStringList{"$set$441:true:「文字カラオケ」ウインドの「自分の色を変える」のチェック",
                       "$set$443:true:「文字カラオケ」ウインドの「受信する」のチェック"};
    QTest::newRow("文字ｶﾗ off")
        << "Button4"
        << QStringList{"$set$441:false:「文字カラオケ」ウインドの「自分の色を変える」のチェック",
                       "$set$443:false:「文字カラオケ」ウインドの「受信する」のチェック"};
    QTest::newRow("ｶﾗｵｹ on") << "Button5"
                             << QStringList{"$set$174:on:「色変わり」表示する",
                                            "$set$176:on:「色変わり」受信する"};
    QTest::newRow("ｶﾗｵｹ off") << "Button6"
                              << QStringList{"$set$174:off:「色変わり」表示しない",
                                             "$set$176:off:「色変わり」受信しない"};
}

void TestKaraoke::onOffButtons() {
    QFETCH(QString, button);
    QFETCH(QStringList, lines);
    const QString header = QStringLiteral("$set$") + settings::kHeader;
    Team t;
    auto* b = t.w().findChild<QPushButton*>(button);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
    t.net.settle();
    QCOMPARE(sentTo(t.net, kLink, kB), QStringList{header} + lines + QStringList{"$end$"});
    QVERIFY(sentTo(t.net, kLink, kC).isEmpty());
    QVERIFY(t.net.messages(0).shown.isEmpty());
    // The partner took the message (its explanation page says so).
    QVERIFY(t.b->main()->RichEdit3->toPlainText().contains(lines.first()));

    // Scrambled like every message of the partner link.
    for (Station* s : {t.a, t.b})
        s->main()->CheckBox42->setChecked(true);
    t.net.lan.clearTraffic();
    QTest::mouseClick(b, Qt::LeftButton);
    t.net.settle();
    QCOMPARE(sentTo(t.net, kLink, kB, &t.b->encryption()),
             QStringList{header} + lines + QStringList{"$end$"});
    QVERIFY(!sentTo(t.net, kLink, kB).contains(lines.first()));
}

void TestKaraoke::colourButtons() {
    Team t;
    StationFixture& fa = *t.net.stations[0];
    const QString header = QStringLiteral("$set$") + settings::kHeader;
    // Character colour: blue confirmed; the note, the box, the message.
    fa.choosers.nextColor = QColor(0, 0, 255);
    QTest::mouseClick(t.w().Button3, Qt::LeftButton);
    t.net.settle();
    QCOMPARE(fa.messages.shown, QStringList{KaraokeRemote::kColourNote});
    QVERIFY(t.w().CheckBox59->isChecked());
    QCOMPARE(sentTo(t.net, kLink, kB),
             (QStringList{header, "$set$450:16711680:「文字カラオケ」ウインドの変化色",
                          "$set$619:true:再描画", "$end$"}));

    // Karaoke, dialog cancelled: no note, the colour chosen before, key 184,
    // and the karaoke box replaces the other.
    t.net.lan.clearTraffic();
    fa.messages.shown.clear();
    fa.choosers.nextColor.reset();
    QTest::mouseClick(t.w().Button1, Qt::LeftButton);
    t.net.settle();
    QVERIFY(fa.messages.shown.isEmpty());
    QVERIFY(t.w().CheckBox1->isChecked() && !t.w().CheckBox59->isChecked());
    QCOMPARE(sentTo(t.net, kLink, kB),
             (QStringList{header, "$set$184:16711680:「文字カラオケ」ウインドの変化色",
                          "$set$619:true:再描画", "$end$"}));
    // The colour is a setting of the station.
    QCOMPARE(t.a->settings().value(771), QStringLiteral("16711680"));
}

void TestKaraoke::buttonsWithoutAnyPartnerAddress() {
    Lan net;
    Station& a = net.add();
    a.karaoke()->show();
    net.settle();
    net.lan.clearTraffic();
    // Nobody was ever a partner: the on/off buttons say so and send nothing,
    // and no error follows.
    for (QPushButton* b : {a.karaoke()->Button2, a.karaoke()->Button6}) {
        net.messages(0).shown.clear();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(net.messages(0).shown, QStringList{KaraokeRemote::kPartnerMissing});
    }
    net.messages(0).shown.clear();
    net.stations[0]->choosers.nextColor = QColor(Qt::green);
    QTest::mouseClick(a.karaoke()->Button3, Qt::LeftButton);
    QCOMPARE(net.messages(0).shown, QStringList{KaraokeRemote::kColourNote});
    net.settle();
    for (const auto& d : net.lan.traffic())
        QVERIFY2(d.toPort != kLink, qPrintable(text::decode(d.data)));
}

void TestKaraoke::numberFields() {
    Alone t;
    TFmojikara& w = t.w();
    // Steps below 1 become 1; the arrows and the boxes follow each other.
    for (QLineEdit* e : {w.Edit2, w.Edit3}) {
        e->setText(QStringLiteral("0"));
        QCOMPARE(e->text(), QStringLiteral("1"));
        e->setText(QStringLiteral("-3"));
        QCOMPARE(e->text(), QStringLiteral("1"));
    }
    w.UpDown1->setValue(4);
    QCOMPARE(w.Edit2->text(), QStringLiteral("4"));
    w.Edit3->setText(QStringLiteral("6"));
    QCOMPARE(w.UpDown2->value(), 6);
    w.UpDown4->setValue(50);
    QCOMPARE(w.Edit4->text(), QStringLiteral("50"));
    // A new column count shows the column reached at once.
    w.TrackBar1->setValue(40);
    QCOMPARE(w.Edit5->text(), QStringLiteral("20"));
    w.Edit4->setText(QStringLiteral("10"));
    QCOMPARE(w.Edit5->text(), QStringLiteral("4"));
    // Text that is no number is reported, and the bar does not move.
    w.Edit2->setText(QStringLiteral("x"));
    QTest::keyClick(w.TrackBar1, Qt::Key_Right);
    QCOMPARE(w.TrackBar1->value(), 40);
    QCOMPARE(t.f.messages.shown.size(), 1);
}

void TestKaraoke::settingsKeys() {
    StationFixture f;
    Station& s = *f.station;
    TFmojikara& w = *s.karaoke();
    settings::SettingsRegistry& r = s.settings();
    QCOMPARE(r.value(444), QStringLiteral("1"));
    QCOMPARE(r.value(445), QStringLiteral("2"));
    QCOMPARE(r.value(446), QStringLiteral("20"));
    QCOMPARE(r.value(762), QStringLiteral("530"));
    QCOMPARE(r.value(763), QStringLiteral("218"));
    QCOMPARE(r.value(769), QStringLiteral("false"));
    QCOMPARE(r.value(770), QStringLiteral("90"));
    QCOMPARE(r.value(771), QStringLiteral("255"));

    // Each key read back as it was given.
    const QStringList given{"444:3",   "445:7",    "446:40",   "760:120", "761:33",   "762:600",
                            "763:250", "765:true", "769:true", "770:60",  "771:65280"};
    r.ApplySettings(QStringList{settings::kHeader} + given);
    for (const QString& line : given)
        QCOMPARE(line.section(':', 0, 0) + ':' + r.value(line.section(':', 0, 0).toInt()), line);
    QCOMPARE(w.Edit2->text(), QStringLiteral("3"));
    QCOMPARE(w.Edit3->text(), QStringLiteral("7"));
    QCOMPARE(w.Edit4->text(), QStringLiteral("40"));
    QVERIFY(w.isVisible());
    QCOMPARE(w.size(), QSize(600, 250));
    QVERIFY(w.CheckBox1->isChecked() && w.GroupBox2->isHidden());
    QCOMPARE(r.value(764), QStringLiteral("false"));
    QCOMPARE(s.endpoint("TFmojikara", "NMUDP1")->LocalPort(), kKaraokePort);
    QCOMPARE(w.panelHeight(), 60);
    QCOMPARE(s.karaokeRemote().colour(), QColor(0, 255, 0));

    // A column count of 0 from a file never reaches the arithmetic as 0.
    r.ApplySettings({settings::kHeader, "446:0", "769:false"});
    QVERIFY(!w.isVisible());
    QTest::keyClick(w.TrackBar1, Qt::Key_Right);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestKaraoke::shownByThePartner() {
    Team t;
    t.w().hide();
    // b is a's partner too: its settings message opens a's remote.
    t.b->remoteSettings().SendSettingsMessage(
        {"$set$769:true:「カラオケ送信リモコン」ウインドの表示有無"});
    QTRY_VERIFY(t.w().isVisible());
}

void TestKaraoke::usagePageIsSaved() {
    Alone t;
    TFmojikara& w = t.w();
    QVERIFY(w.RichEdit1->toPlainText().contains(QStringLiteral("矢印キー")));
    const QString path = t.f.dir.filePath(QStringLiteral("使い方.txt"));
    t.f.choosers.nextFile = path;
    QTest::mouseClick(w.Button7, Qt::LeftButton);
    QCOMPARE(t.f.choosers.offered,
             (QStringList{t.f.station->state().programDirectory, "説明ページ保存.txt",
                          "テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*", "txt"}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(text::decode(bytes),
             w.RichEdit1->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")) +
                 QStringLiteral("\r\n"));
    // Cancelled: nothing written, nothing said.
    t.f.choosers.nextFile.reset();
    QFile::remove(path);
    QTest::mouseClick(w.Button7, Qt::LeftButton);
    QVERIFY(!QFile::exists(path));
    QVERIFY(t.f.messages.shown.isEmpty());
}

QTEST_MAIN(TestKaraoke)
#include "tst_karaoke.moc"
