// A station's network identity and port set as its users see them: the
// endpoints of the port plan, channels, the own address and its rules, the
// copies for the same-PC display, link encryption, and a station that keeps
// working under a flood of garbage on every port.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_part.h"
#include "net/channels.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "net/own_address.h"
#include "station_fixture.h"
#include "windows/info/info_windows.h"
#include "windows/prepared/prepared_windows.h"
#include "windows/titles.h"
#include "wire/port_plan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace quorel;
using quorel::test::StationFixture;

namespace {

QList<int> localPorts(Station& s) {
    QList<int> ports;
    for (TNMUDP* e : s.endpoints())
        ports << e->LocalPort();
    return ports;
}

QList<int> planPorts(int offset) {
    QList<int> ports;
    for (const PortPlanEntry& e : kPortPlan)
        ports << (e.moves == PortPlanEntry::WithChannel ? e.base + offset : e.base);
    return ports;
}

} // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private slots:
    void everyEndpointOfThePlanIsBoundAtStart();
    void channelMovesPortsAndTitles_data();
    void channelMovesPortsAndTitles();
    void noChannelChangeWithoutAValidOwnAddress();
    void ownAddressRule();
    void ownAddressRuleIsSilentWithMessagesOff();
    void severalAddressesMakeTheListRed();
    void noAddressAtAll();
    void remoteNetworkBoxes();
    void stationNameReminder();
    void lumoCopiesAndLoopbackFilter();
    void sendToOwnNetworkUsesTheBroadcastAddress();
    void encryptionSwitchAndPassword();
    void garbageOnEveryPortNeverStopsTheStation();
    void networkToolsShowTheAddresses();
};

void TestNetwork::everyEndpointOfThePlanIsBoundAtStart() {
    StationFixture f;
    Station& s = *f.station;
    QCOMPARE(localPorts(s), planPorts(0));
    for (TNMUDP* e : s.endpoints()) {
        QVERIFY2(e->isBound(), qPrintable(e->parent()->objectName() + e->objectName()));
        QCOMPARE(e->RemotePort, e->LocalPort());
    }
    QCOMPARE(s.endpoint("TForm6", "NMUDP1")->parent(), s.chat());
    QCOMPARE(s.main()->Edit35->text(), QStringLiteral("192.168.1.10"));
    QVERIFY(f.messages.shown.isEmpty());
}

void TestNetwork::channelMovesPortsAndTitles_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("chatTitle");
    QTest::newRow("3ch") << QStringLiteral("3ch") << 200 << QStringLiteral("3 : 連絡(ctrl+r)");
    QTest::newRow("12ch") << QStringLiteral("12ch") << 1100 << QStringLiteral("12 : 連絡(ctrl+r)");
    QTest::newRow("typed text") << QStringLiteral("zz") << 0 << QStringLiteral("0 : 連絡(ctrl+r)");
}

void TestNetwork::channelMovesPortsAndTitles() {
    QFETCH(QString, choice);
    QFETCH(int, offset);
    QFETCH(QString, chatTitle);
    StationFixture f;
    Station& s = *f.station;
    s.Timer2Timer();
    const int index = s.main()->ComboBox2->findText(choice);
    if (index >= 0)
        s.main()->ComboBox2->setCurrentIndex(index);
    else
        s.main()->ComboBox2->setEditText(choice);
    QCOMPARE(localPorts(s), planPorts(offset));
    QCOMPARE(s.endpoint("TForm11", "NMUDP5")->LocalPort(), 6720); // the pre-roll link stays
    QCOMPARE(s.endpoint("TForm6", "NMUDP1")->RemotePort, 6727 + offset);
    QCOMPARE(s.chat()->windowTitle(), chatTitle);
    const QString n = chatTitle.section(QLatin1Char(' '), 0, 0);
    QCOMPARE(s.main()->windowTitle(), n + QStringLiteral(" : Quorel"));
    QCOMPARE(s.subInput()->windowTitle(), n + QStringLiteral(" : サブ入力ウィンド(ctrl+i)"));
}

void TestNetwork::noChannelChangeWithoutAValidOwnAddress() {
    StationFixture f;
    Station& s = *f.station;
    // The rule of the address box would repair it; set the bad text behind it.
    const QSignalBlocker block(s.main()->Edit35);
    s.main()->Edit35->setText(QStringLiteral("読込み失敗"));
    s.channels().ApplyChannel();
    s.main()->ComboBox2->setCurrentIndex(4);
    QCOMPARE(localPorts(s), planPorts(0));
    QCOMPARE(s.chat()->windowTitle(), QStringLiteral("Chat Window (ctrl+r)"));
}

void TestNetwork::ownAddressRule() {
    StationFixture f;
    QLineEdit* e = f.station->main()->Edit35;
    e->setFocus();
    e->end(false);
    QTest::keyClick(e, Qt::Key_Backspace); // "192.168.1.1" is still valid
    QCOMPARE(e->text(), QStringLiteral("192.168.1.1"));
    QTest::keyClick(e, Qt::Key_Backspace); // "192.168.1." is not
    QCOMPARE(e->text(), OwnAddress::kReplacement);
    QCOMPARE(f.messages.shown, QStringList{OwnAddress::kReplacedMessage});
    e->setText(QStringLiteral("10.014.1.1")); // leading zeros are fine
    QCOMPARE(e->text(), QStringLiteral("10.014.1.1"));
}

void TestNetwork::ownAddressRuleIsSilentWithMessagesOff() {
    StationFixture f;
    f.station->main()->CheckBox19->setChecked(false);
    f.station->main()->Edit35->clear();
    QCOMPARE(f.station->main()->Edit35->text(), OwnAddress::kReplacement);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestNetwork::severalAddressesMakeTheListRed() {
    // A PC with two network cards.
    VirtualLan lan;
    StationFixture f(lan.addHost(QStringLiteral("192.168.1.10"), QStringLiteral("pc"),
                                 QStringList{"192.168.1.10", "10.0.0.5"}));
    Station& s = *f.station;
    const test::RecordingMessages& messages = f.messages;
    TMainConsole& m = *s.main();
    QCOMPARE(m.Edit35->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(m.Edit30->text(), QStringLiteral("pc"));
    QCOMPARE(m.ListBox2->count(), 2);
    QVERIFY(!m.ListBox2->isHidden());
    QVERIFY(m.Button39->isHidden());
    QVERIFY(s.ownAddress().listIsRed());

    m.CheckBox19->setChecked(false); // this one is shown all the same
    s.Timer2Timer();
    QCOMPARE(m.PageControl1->currentWidget(), m.partner);
    QCOMPARE(messages.shown, QStringList{OwnAddress::kSeveralAddresses});

    m.ListBox2->setCurrentRow(1);
    QTest::mouseClick(m.ListBox2->viewport(), Qt::LeftButton, {},
                      m.ListBox2->visualItemRect(m.ListBox2->item(1)).center());
    QCOMPARE(m.Edit35->text(), QStringLiteral("10.0.0.5"));
    QVERIFY(m.ListBox2->isHidden());
    QVERIFY(!m.Button39->isHidden());
}

void TestNetwork::noAddressAtAll() {
    VirtualLan lan;
    StationFixture f(
        lan.addHost(QStringLiteral("192.168.1.10"), QStringLiteral("pc"), QStringList{}));
    Station& s = *f.station;
    const test::RecordingMessages& messages = f.messages;
    TMainConsole& m = *s.main();
    QCOMPARE(m.ListBox2->item(0)->text(), OwnAddress::kNoAddress);
    // "読込み失敗" is repaired by the address rule; the start stops there.
    QCOMPARE(m.Edit35->text(), OwnAddress::kReplacement);
    QCOMPARE(messages.shown,
             (QStringList{OwnAddress::kReplacedMessage, OwnAddress::kReadFailedMessage}));
    QVERIFY(!m.Timer2->isActive());
    QVERIFY(!s.state().settingsReady);
}

void TestNetwork::remoteNetworkBoxes() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    f.station->Timer2Timer();
    m.Edit99->setText(QStringLiteral("192.168.100.300"));
    m.CheckBox71->setChecked(true);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(
        f.messages.shown[0].startsWith(QStringLiteral("２番目のＩＰアドレスが間違っています。")));
    QVERIFY(m.Edit99->text().isEmpty());
    QVERIFY(!m.CheckBox71->isChecked());

    m.Edit98->setText(QStringLiteral("192.168.100.123"));
    m.CheckBox72->setChecked(true); // explains, then ticks the search itself
    QVERIFY(m.CheckBox71->isChecked());
    QCOMPARE(f.messages.shown.size(), 3);
    m.Edit100->setText(QStringLiteral("1")); // editing unticks the search
    QVERIFY(!m.CheckBox71->isChecked());
    QVERIFY(!m.CheckBox72->isChecked());
}

void TestNetwork::stationNameReminder() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.show();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    m.PageControl1->setCurrentWidget(m.partner);
    m.Edit30->setFocus();
    QTest::keyClicks(m.Edit30, "room-2");
    m.Edit35->setFocus();
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(
        f.messages.shown[0].startsWith(QStringLiteral("「自分のパソコン」の「名前」を変えた時は")));
    m.Edit30->setFocus();
    m.Edit35->setFocus(); // no typing, no reminder
    QCOMPARE(f.messages.shown.size(), 1);
}

void TestNetwork::lumoCopiesAndLoopbackFilter() {
    VirtualLan lan;
    test::StationFixture f(lan, QStringLiteral("192.168.1.10"));
    Station& s = *f.station;
    s.Timer2Timer();
    s.main()->CheckBox60->setChecked(true);
    QCOMPARE(f.messages.shown, QStringList{Channels::kLumoNote});
    s.main()->ComboBox2->setCurrentIndex(2); // the copy port does not move
    TNMUDP* captions = s.endpoint("TMainConsole", "NMUDP1");
    lan.clearTraffic();
    captions->RemoteHost = QStringLiteral("192.168.1.20");
    captions->SendDatagram("caption");
    s.lumo().SendLumoCopy(*captions, "caption", 6711);
    QCOMPARE(captions->RemotePort, 6911); // put back
    QCOMPARE(lan.traffic().size(), std::size_t(2));
    QCOMPARE(lan.traffic()[1].to, 0x7F000001u);
    QCOMPARE(lan.traffic()[1].toPort, quint16(7911));
    QCOMPARE(lan.traffic()[1].data, QByteArray("caption"));
    QVERIFY(s.lumo().dropsFrom(QStringLiteral("127.0.0.1")));
    QVERIFY(!s.lumo().dropsFrom(QStringLiteral("192.168.1.20")));
    s.main()->CheckBox60->setChecked(false);
    s.lumo().SendLumoCopy(*captions, "not copied", 6711);
    QCOMPARE(lan.traffic().size(), std::size_t(2));
    QVERIFY(!s.lumo().dropsFrom(QStringLiteral("127.0.0.1")));
}

void TestNetwork::sendToOwnNetworkUsesTheBroadcastAddress() {
    VirtualLan lan;
    lan.addBroadcastAddress(QStringLiteral("192.168.1.255"));
    test::StationFixture a(lan, QStringLiteral("192.168.1.10"));
    test::StationFixture b(lan, QStringLiteral("192.168.1.20"));
    QStringList got;
    b.station->endpoint("TForm6", "NMUDP1")->OnDataReceived = [&](TNMUDP* e, int n,
                                                                  const QString& from, int) {
        got << QString::fromLatin1(e->receiveText(n, 1024).value_or("?")) + QLatin1Char('@') + from;
    };
    a.station->ownAddress().SendToOwnNetwork(*a.station->endpoint("TForm6", "NMUDP1"), "to all");
    QTRY_COMPARE(got, QStringList{"to all@192.168.1.10"});
    const auto chat = std::find_if(lan.traffic().begin(), lan.traffic().end(),
                                   [](const VirtualLan::Sent& d) { return d.toPort == 6727; });
    QVERIFY(chat != lan.traffic().end());
    QCOMPARE(chat->to, QHostAddress(QStringLiteral("192.168.1.255")).toIPv4Address());
}

void TestNetwork::encryptionSwitchAndPassword() {
    StationFixture f;
    Station& s = *f.station;
    TMainConsole& m = *s.main();
    s.Timer2Timer();
    m.ComboBox2->setCurrentIndex(2);
    m.CheckBox42->setChecked(true);
    QCOMPARE(m.windowTitle(), QStringLiteral("3 : Quorel【暗号化通信中】"));
    QCOMPARE(s.subInput()->windowTitle(),
             QStringLiteral("3 : サブ入力ウィンド(ctrl+i)【暗号化通信中】"));
    QCOMPARE(f.messages.shown, QStringList{LinkEncryption::kExplanation});
    const QByteArray wire = s.encryption().Scramble("A");
    QVERIFY(wire.endsWith("=="));
    QCOMPARE(s.encryption().Unscramble(wire), QByteArray("A"));

    m.Edit1->clear();
    QCOMPARE(m.Edit1->text(), LinkEncryption::kStandInPassword);
    QVERIFY(s.encryption().Scramble("A") != wire); // a new key

    m.CheckBox42->setChecked(false); // the mark and the channel prefix go
    QCOMPARE(m.windowTitle(), QStringLiteral("Quorel"));
    QCOMPARE(s.encryption().Scramble("plain"), QByteArray("plain"));
}

void TestNetwork::garbageOnEveryPortNeverStopsTheStation() {
    VirtualLan lan;
    lan.addBroadcastAddress(QStringLiteral("192.168.1.255"));
    test::StationFixture f(lan, QStringLiteral("192.168.1.10"));
    DatagramNetwork& attacker = lan.addHost(QStringLiteral("192.168.1.66"));
    TNMUDP noise(attacker, {});
    QRandomGenerator rng(7);
    const int sizes[] = {0, 1, 255, 256, 1023, 1024, 2048, 2049, 65507};
    for (const PortPlanEntry& e : kPortPlan) {
        for (int size : sizes) {
            QByteArray junk(size, '\0');
            for (char& c : junk)
                c = static_cast<char>(rng.bounded(256));
            noise.RemoteHost = QStringLiteral("192.168.1.10");
            noise.RemotePort = e.base;
            if (!junk.isEmpty())
                noise.SendDatagram(junk);
        }
    }
    QTest::qWait(50);
    QVERIFY(f.messages.shown.isEmpty());
    const int lines = f.station->record().lineCount();
    QCOMPARE(f.station->input().sendSentence(QStringLiteral("まだ動いています")), 0);
    QCOMPARE(f.station->record().lineCount(), lines + 1);
}

void TestNetwork::networkToolsShowTheAddresses() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    for (QPushButton* b : {m.Button36, m.Button38}) {
        QTest::mouseClick(b, Qt::LeftButton);
        auto* report = m.findChild<QWidget*>(QStringLiteral("networkReport"));
        QVERIFY(report && report->isVisible());
        auto* view = report->findChild<QPlainTextEdit*>();
        QVERIFY(view->toPlainText().contains(QStringLiteral("127.0.0.1")));
        report->close();
        QTRY_VERIFY(m.findChild<QWidget*>(QStringLiteral("networkReport")) == nullptr);
    }
    QCOMPARE(f.messages.shown.size(), 2); // what the button is for, each time
}

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
