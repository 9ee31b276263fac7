// Stations forming an input group on one LAN: the member search and list,
// partners, and captions travelling between members.

#include "app/main_console.h"
#include "app/screen_modes.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>

using namespace quorel;
using quorel::test::Lan;
using quorel::test::Peer;

namespace {

constexpr int kCaption = 6711, kAnswer = 6718, kPartnerPort = 6719, kRequest = 6722, kLeave = 6724;

// The member list as "name@address" of the ticked slots, in slot order.
QStringList members(Station& s) {
    QStringList out;
    for (int i = 0; i < 8; ++i)
        if (s.members().companion(i))
            out << s.members().name(i) + QLatin1Char('@') + s.members().address(i);
    return out;
}

void setSlot(Station& s, int slot, const QString& name, const QString& address) {
    TMainConsole& m = *s.main();
    m.memberAddress[std::size_t(slot)]->setText(address);
    m.memberName[std::size_t(slot)]->setText(name);
    m.memberCompanion[std::size_t(slot)]->setChecked(true);
}

const QString& lastLine(Station& s) {
    return s.record().line(s.record().lineCount() - 1);
}

QString explanation(Station& s) {
    return s.main()->RichEdit3->toPlainText();
}

} // namespace

class TestGroup : public QObject {
    Q_OBJECT
private slots:
    // member search and list
    void stationsOfOneGroupFindEachOther();
    void searchForMembersRebuildsTheList();
    void knownRequesterIsAnsweredButNotAddedTwice();
    void ninthStationHearsTheGroupIsFull();
    void messageBoxesShowReceivedNamesAsTheyCame();
    void untickedSlotIsReused();
    void leaveClearsOnlyTheFirstSlot();
    void answerCorrectsTheOwnAddress();
    void fixMembersIgnoresEverything();
    void groupNumbers();
    void restLeavesAndIgnoresRequests();
    void searchReachesRemoteNetworks();
    void malformedMembershipMessages_data();
    void malformedMembershipMessages();
    void explanationPageKeepsItsNewestLines();
    // partners
    void partnersFormAndEnd();
    void bePartnerOnAnUnflaggedSlotDoesNothing();
    void fixPartnerIgnoresRequests();
    void switchingPartnersKeepsTheNewOne();
    void sameAddressInTwoSlots();
    void startupAsksALoneMember();
    void closingTellsPartnerAndGroup();
    // captions
    void captionsReachOnlyTickedMembers();
    void receivedCaptionRules_data();
    void receivedCaptionRules();
    void lanSwitchStopsReception();
    void captionsAreHeldDuringCorrection();
    void copiesForTheSamePcDisplay();
    void scrambledCaptionsBetweenStations();
};

// ---- member search and list ---------------------------------------------------

void TestGroup::stationsOfOneGroupFindEachOther() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    Station& c = net.add();
    QTRY_COMPARE(members(a).size(), 2);
    net.settle(); // the last answers of the search are still on their way
    // c moves to group B: it leaves, and a search of group B finds nobody.
    c.main()->groupButtons[1]->click();
    net.settle();
    QCOMPARE(members(a), QStringList{"host-11@192.168.1.11"});
    QCOMPARE(members(b), QStringList{"host-10@192.168.1.10"});
    QVERIFY(members(c).isEmpty());
    QCOMPARE(c.members().groupNumber(), 2);
}

void TestGroup::searchForMembersRebuildsTheList() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_COMPARE(members(b).size(), 1);
    a.members().ClearMemberList();
    b.members().ClearMemberList();
    QTest::mouseClick(a.main()->Button47, Qt::LeftButton);
    QTRY_COMPARE(members(a), QStringList{"host-11@192.168.1.11"});
    QTRY_COMPARE(members(b), QStringList{"host-10@192.168.1.10"});
    QVERIFY(a.main()->memberCompanion[0]->isChecked() && b.main()->memberCompanion[0]->isChecked());
}

void TestGroup::knownRequesterIsAnsweredButNotAddedTwice() {
    Lan net;
    Station& s = net.add();
    Peer& p1 = net.peer("192.168.1.31");
    Peer& p2 = net.peer("192.168.1.32");
    Peer& p3 = net.peer("192.168.1.33");
    for (Peer* p : {&p1, &p2, &p3})
        p->send("192.168.1.10", kRequest, p->address() + ",PC" + p->address().right(2) + ",Req,1");
    QTRY_COMPARE(members(s).size(), 3);
    p3.send("192.168.1.10", kRequest, "192.168.1.33,PC33,Req,1");
    QTRY_COMPARE(p3.on(kAnswer).size(), std::size_t(2));
    QCOMPARE(p3.texts(kAnswer)[1], QStringLiteral("192.168.1.10,192.168.1.33,host-10,Ans"));
    QCOMPARE(members(s),
             (QStringList{"PC31@192.168.1.31", "PC32@192.168.1.32", "PC33@192.168.1.33"}));
}

void TestGroup::ninthStationHearsTheGroupIsFull() {
    Lan net;
    Station& s = net.add();
    std::vector<Peer*> peers;
    for (int i = 0; i < 9; ++i)
        peers.push_back(&net.peer(QStringLiteral("192.168.1.%1").arg(40 + i)));
    for (int i = 0; i < 8; ++i)
        peers[std::size_t(i)]->send("192.168.1.10", kRequest,
                                    peers[std::size_t(i)]->address() + ",P,Req,1");
    QTRY_COMPARE(members(s).size(), 8);
    peers[8]->send("192.168.1.10", kRequest, "192.168.1.48,P9,Req,1");
    QTRY_COMPARE(peers[8]->texts(kAnswer), QStringList{"192.168.1.10,192.168.1.48,host-10,Ful"});
    QCOMPARE(members(s).size(), 8);

    // The typist of a station that is told so sees who said it.
    Station& late = net.add();
    net.settle();
    Peer& full = net.peer("192.168.1.31");
    full.send(late.main()->Edit35->text(), kAnswer,
              QStringLiteral("192.168.1.31,192.168.1.11,PC-B,Ful"));
    QTRY_COMPARE(net.messages(1).notified.size(), 2); // s answered its search with "Ful" too
    QVERIFY(late.state().groupFull);
    // Any host can send this: a notice that leaves the keyboard to the typist.
    QVERIFY(net.messages(1).shown.isEmpty());
    QCOMPARE(net.messages(1).notified.last(),
             QStringLiteral("PC-B(192.168.1.31)です。\n今この入力班は満員です。\n"
                            "どうしてもこの班に入りたい時は、連絡してください。"));
    QVERIFY(explanation(late).contains(QRegularExpression(
        QStringLiteral("\\d{4}/\\d\\d/\\d\\d-\\d+:\\d\\d:\\d\\d:満員通知受信：192\\.168\\.1\\.31,"
                       "192\\.168\\.1\\.11,PC-B,Ful"))));

    // Nothing may cover the captions of a borderless display: there the
    // notice is a line on the explanation page only.
    late.modes().setPersons(0);
    late.modes().toggleFrameless();
    full.send(late.main()->Edit35->text(), kAnswer,
              QStringLiteral("192.168.1.31,192.168.1.11,PC-C,Ful"));
    QTRY_VERIFY(explanation(late).contains(QStringLiteral("PC-C(192.168.1.31)です。")));
    QCOMPARE(net.messages(1).notified.size(), 2);
    QCOMPARE(net.messages(1).shown.size(), 1); // the explanation of "For Display"
}

void TestGroup::messageBoxesShowReceivedNamesAsTheyCame() {
    // The full notice quotes the answering station's name.
    const QString text = QStringLiteral("<b>PC-B</b>(192.168.1.31)です。");
    QtMessages messages;
    std::optional<Qt::TextFormat> format;
    QString shown;
    QTimer::singleShot(0, this, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (auto* label =
                box ? box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")) : nullptr) {
            format = label->textFormat();
            shown = label->text();
        }
        if (box)
            box->close();
    });
    messages.show(text);
    QCOMPARE(format, std::optional<Qt::TextFormat>(Qt::PlainText));
    QCOMPARE(shown, text);

    // A notice from the network: no modal loop, one box, the newest text.
    messages.notify(text);
    messages.notify(QStringLiteral("<i>newer</i>"));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
            boxes << b;
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->text(), QStringLiteral("<i>newer</i>"));
    QCOMPARE(boxes.first()->textFormat(), Qt::PlainText);
    QVERIFY(boxes.first()->testAttribute(Qt::WA_ShowWithoutActivating));
}

void TestGroup::untickedSlotIsReused() {
    Lan net;
    Station& s = net.add();
    setSlot(s, 0, "old", "192.168.1.50");
    setSlot(s, 1, "kept", "192.168.1.51");
    s.main()->memberCompanion[0]->setChecked(false); // the typist drops slot 1
    net.peer("192.168.1.52").send("192.168.1.10", kRequest, "192.168.1.52,new,Req,1");
    QTRY_COMPARE(members(s), (QStringList{"new@192.168.1.52", "kept@192.168.1.51"}));
}

void TestGroup::leaveClearsOnlyTheFirstSlot() {
    Lan net;
    Station& s = net.add();
    setSlot(s, 0, "a", "192.168.1.31");
    setSlot(s, 1, "b", "192.168.1.31");
    setSlot(s, 2, "c", "192.168.1.32");
    net.peer("192.168.1.31").send("192.168.1.10", kLeave, "192.168.1.31,a,離脱");
    QTRY_COMPARE(members(s), (QStringList{"b@192.168.1.31", "c@192.168.1.32"}));
    QVERIFY(s.main()->memberAddress[0]->text().isEmpty());
    QVERIFY(s.main()->memberName[0]->text().isEmpty());
}

void TestGroup::answerCorrectsTheOwnAddress() {
    Lan net;
    Station& s = net.add();
    // The other card of a two-card PC, chosen while the station's own search
    // request is still on its way: its own request must not make it a member
    // of itself.
    s.main()->Edit35->setText("10.0.0.5");
    Peer& b = net.peer("192.168.1.31");
    b.send("192.168.1.10", kAnswer, "192.168.1.31,192.168.1.10,PC-B,Ans");
    QTRY_COMPARE(s.main()->Edit35->text(), QStringLiteral("192.168.1.10"));
    QCOMPARE(members(s), QStringList{"PC-B@192.168.1.31"});
    QTRY_COMPARE(b.texts(kAnswer), QStringList{"192.168.1.10,192.168.1.31,host-10,Ans"});
}

void TestGroup::fixMembersIgnoresEverything() {
    Lan net;
    Station& s = net.add();
    setSlot(s, 0, "a", "192.168.1.31");
    s.main()->CheckBox6->setChecked(true);
    Peer& p = net.peer("192.168.1.31");
    p.send("192.168.1.10", kRequest, "192.168.1.32,x,Req,1");
    p.send("192.168.1.10", kAnswer, "192.168.1.33,192.168.1.10,y,Ans");
    p.send("192.168.1.10", kLeave, "192.168.1.31,a,離脱");
    net.settle();
    QCOMPARE(members(s), QStringList{"a@192.168.1.31"});
    QVERIFY(p.on(kAnswer).empty());
}

void TestGroup::groupNumbers() {
    Lan net;
    Station& j = net.add();
    j.main()->groupButtons[6]->setChecked(true);
    j.main()->ComboBox1->setCurrentIndex(3); // "Ｊ"
    QCOMPARE(j.members().groupNumber(), 10);
    j.members().ClearMemberList();
    Peer& p = net.peer("192.168.1.31");
    p.send("192.168.1.10", kRequest, "192.168.1.31,three,Req,3");
    p.send("192.168.1.10", kRequest, "192.168.1.32,ten,Req,10");
    p.send("192.168.1.10", kRequest, "192.168.1.33,any,Req");
    QTRY_COMPARE(members(j), (QStringList{"ten@192.168.1.32", "any@192.168.1.33"}));

    // With no item chosen beside "G-Z" the group is G.
    j.main()->ComboBox1->setCurrentIndex(-1);
    QCOMPARE(j.members().groupNumber(), 7);
}

void TestGroup::restLeavesAndIgnoresRequests() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_COMPARE(members(a).size(), 1);
    QTest::mouseClick(a.main()->Button53, Qt::LeftButton);
    QTRY_VERIFY(members(b).isEmpty()); // told at once
    QVERIFY(members(a).isEmpty());
    QVERIFY(a.main()->CheckBox6->isChecked());
    QTest::mouseClick(b.main()->Button47, Qt::LeftButton);
    net.settle();
    QVERIFY(members(a).isEmpty()); // resting
    QVERIFY(members(b).isEmpty());
}

void TestGroup::searchReachesRemoteNetworks() {
    Lan net;
    Station& s = net.add();
    TMainConsole& m = *s.main();
    m.Edit98->setText("10.20.30.40");
    m.Edit99->setText("172.16.5.4");
    m.CheckBox71->setChecked(true);
    net.lan.clearTraffic();
    QTest::mouseClick(m.Button47, Qt::LeftButton);
    QStringList to;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == kRequest)
            to << QHostAddress(d.to).toString();
    QCOMPARE(to, (QStringList{"192.168.1.255", "10.255.255.255", "172.16.255.255"}));

    m.CheckBox72->setChecked(true); // the addresses themselves
    net.lan.clearTraffic();
    QTest::mouseClick(m.Button47, Qt::LeftButton);
    to.clear();
    for (const auto& d : net.lan.traffic())
        if (d.toPort == kRequest)
            to << QHostAddress(d.to).toString();
    QCOMPARE(to, (QStringList{"192.168.1.255", "10.20.30.40", "172.16.5.4"}));
}

void TestGroup::malformedMembershipMessages_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("noted");
    QTest::newRow("bad requester address") << kRequest << QByteArray("192.168.1.300,x,Req,1")
                                           << QStringLiteral("不正ＩＰ受信：192.168.1.300");
    QTest::newRow("missing fields")
        << kRequest << QByteArray("") << QStringLiteral("不正ＩＰ受信：");
    QTest::newRow("bad answerer") << kAnswer << QByteArray("x,192.168.1.10,y,Ans")
                                  << QStringLiteral("不正ＩＰ受信：x");
    QTest::newRow("bad addressee")
        << kAnswer << QByteArray("192.168.1.31,10.1,y,Ans") << QStringLiteral("不正ＩＰ受信：10.1");
    // Received text is noted as it came, never read as markup.
    QTest::newRow("markup") << kRequest << QByteArray("<b>x</b>,n,Req,1")
                            << QStringLiteral("不正ＩＰ受信：<b>x</b>");
    QTest::newRow("picture") << kAnswer << QByteArray("<img src=x>,192.168.1.10,y,Ans")
                             << QStringLiteral("不正ＩＰ受信：<img src=x>");
    QTest::newRow("entity") << kRequest << QByteArray("&lt;x&gt;,n,Req,1")
                            << QStringLiteral("不正ＩＰ受信：&lt;x&gt;");
    QTest::newRow("eleven fields")
        << kRequest << QByteArray("192.168.1.31,a,Req,1,,,,,,,") << QString();
    QTest::newRow("over-long field")
        << kRequest << ("192.168.1.31," + QByteArray(100, 'n') + ",Req,1") << QString();
    QTest::newRow("comma in a name")
        << kRequest << QByteArray("192.168.1.31,PC,A,Req,1") << QString();
    QTest::newRow("not Shift-JIS")
        << kRequest << QByteArray("192.168.1.31,\xff\xfe\x80,Req,1") << QStringLiteral("valid");
    QTest::newRow("256 bytes") << kRequest << ("192.168.1.31,n,Req,1," + QByteArray(234, 'x'))
                               << QString();
}

void TestGroup::malformedMembershipMessages() {
    QFETCH(int, port);
    QFETCH(QByteArray, message);
    QFETCH(QString, noted);
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    p.send("192.168.1.10", port, message.isEmpty() ? QByteArray(1, '\0') : message);
    net.settle();
    if (noted == QLatin1String("valid")) {
        // Undecodable bytes become stand-ins; the entry itself is sound.
        QCOMPARE(members(s).size(), 1);
        QCOMPARE(s.members().address(0), QStringLiteral("192.168.1.31"));
        return;
    }
    QVERIFY(members(s).isEmpty());
    QCOMPARE(s.main()->Edit35->text(), QStringLiteral("192.168.1.10"));
    if (noted.isEmpty())
        QVERIFY(!explanation(s).contains(QStringLiteral("不正ＩＰ受信")));
    else
        QVERIFY2(explanation(s).split('\n').last().endsWith(":" + noted),
                 qPrintable(explanation(s)));
}

void TestGroup::explanationPageKeepsItsNewestLines() {
    // A day of notes, or a flood of bad requests, must not fill the memory.
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    const int limit = TMainConsole::kExplanationLines;
    for (int i = 0; i < limit + 50; ++i) {
        p.send("192.168.1.10", kRequest, QStringLiteral("1.2.3.%1x,a,Req,1").arg(i));
        if (i % 100 == 0)
            net.settle();
    }
    net.settle();
    QCOMPARE(s.main()->RichEdit3->document()->blockCount(), limit);
    QVERIFY(explanation(s).endsWith(QStringLiteral("1.2.3.%1x").arg(limit + 49)));
}

// ---- partners --------------------------------------------------------------------

void TestGroup::partnersFormAndEnd() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_COMPARE(members(b).size(), 1);
    net.settle();
    QVERIFY(!a.partner().flag() && !b.partner().flag());

    QTest::mouseClick(a.main()->memberBePartner[0], Qt::LeftButton);
    QVERIFY(!a.partner().flag()); // nothing shown before the acceptance
    QTRY_VERIFY(a.partner().flag());
    QVERIFY(b.partner().flag());
    QCOMPARE(a.partner().slot(), 1);
    QVERIFY(a.main()->memberBePartner[0]->isHidden());
    QVERIFY(!a.main()->memberPartner[0]->isHidden());
    QCOMPARE(a.main()->windowTitle(), QStringLiteral("Quorel  <host-11>"));
    QCOMPARE(b.main()->windowTitle(), QStringLiteral("Quorel  <host-10>"));
    QCOMPARE(a.endpoint("TMainConsole", "NMUDP2")->RemoteHost, QStringLiteral("192.168.1.11"));

    QVERIFY(a.eightPerson()->bePartner[0]->isHidden()); // the twins follow
    QVERIFY(!a.eightPerson()->partner[0]->isHidden());

    QTest::mouseClick(a.eightPerson()->partner[0], Qt::LeftButton); // "P" ends it as well
    QVERIFY(!a.partner().flag());
    QVERIFY(!a.eightPerson()->bePartner[0]->isHidden());
    QTRY_COMPARE(b.main()->windowTitle(), QStringLiteral("Quorel"));
    QTRY_COMPARE(a.main()->windowTitle(), QStringLiteral("Quorel"));
    QVERIFY(!b.partner().flag());
    QVERIFY(!b.main()->memberBePartner[0]->isHidden());
}

void TestGroup::bePartnerOnAnUnflaggedSlotDoesNothing() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    s.main()->memberAddress[2]->setText("192.168.1.31");
    net.lan.clearTraffic();
    QTest::mouseClick(s.main()->memberBePartner[2], Qt::LeftButton);
    QTest::mouseClick(s.main()->memberBePartner[5], Qt::LeftButton);
    net.settle();
    QVERIFY(p.on(kPartnerPort).empty());
    QVERIFY(net.lan.traffic().empty());
    s.partner().CancelPartner(0); // out of range: nothing, no crash
    s.partner().NominatePartner(9);
}

void TestGroup::fixPartnerIgnoresRequests() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    setSlot(s, 0, "P", "192.168.1.31");
    s.main()->CheckBox7->setChecked(true);
    p.send("192.168.1.10", kPartnerPort, "192.168.1.31,192.168.1.10,P,Req-Partner,Req");
    net.settle();
    QVERIFY(!s.partner().flag());
    QVERIFY(p.on(kPartnerPort).empty());
}

void TestGroup::switchingPartnersKeepsTheNewOne() {
    Lan net;
    Station& s = net.add();
    Peer& b = net.peer("192.168.1.31");
    Peer& x = net.peer("192.168.1.32");
    setSlot(s, 0, "B", "192.168.1.31");
    setSlot(s, 1, "X", "192.168.1.32");
    b.send("192.168.1.10", kPartnerPort, "192.168.1.31,192.168.1.10,B,Req-Partner,Req");
    QTRY_COMPARE(s.partner().slot(), 1);
    QTRY_COMPARE(b.texts(kPartnerPort),
                 QStringList{"192.168.1.10,192.168.1.31,host-10,Req-Partner,Ans"});

    x.send("192.168.1.10", kPartnerPort, "192.168.1.32,192.168.1.10,X,Req-Partner,Req");
    QTRY_COMPARE(s.partner().slot(), 2);
    QTRY_COMPARE(b.texts(kPartnerPort).size(), 2);
    QCOMPARE(b.texts(kPartnerPort)[1],
             QStringLiteral("192.168.1.10,192.168.1.31,host-10,Can-Partner,Ans"));
    QCOMPARE(x.texts(kPartnerPort),
             QStringList{"192.168.1.10,192.168.1.32,host-10,Req-Partner,Ans"});
    QCOMPARE(s.main()->windowTitle(), QStringLiteral("Quorel  <X>"));

    // B answers the cancel with its own; that must not end the pair with X.
    b.send("192.168.1.10", kPartnerPort, "192.168.1.31,192.168.1.10,B,Can-Partner,Ans");
    net.settle();
    QCOMPARE(s.partner().slot(), 2);
    QVERIFY(s.partner().flag());
    QCOMPARE(x.texts(kPartnerPort).size(), 1);
    QCOMPARE(s.main()->windowTitle(), QStringLiteral("Quorel  <X>"));
}

void TestGroup::sameAddressInTwoSlots() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    setSlot(s, 1, "first", "192.168.1.31");
    setSlot(s, 4, "second", "192.168.1.31");
    p.send("192.168.1.10", kPartnerPort, "192.168.1.31,192.168.1.10,P,Req-Partner,Req");
    QTRY_COMPARE(s.partner().slot(), 5);
    QVERIFY(!s.main()->memberPartner[1]->isHidden());
    QVERIFY(!s.main()->memberPartner[4]->isHidden());
    QTRY_COMPARE(p.texts(kPartnerPort).size(), 2); // one acceptance per matching slot
}

void TestGroup::startupAsksALoneMember() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    setSlot(s, 0, "P", "192.168.1.31");
    s.Timer2Timer();
    QTRY_COMPARE(p.texts(kPartnerPort),
                 QStringList{"192.168.1.10,192.168.1.31,host-10,Req-Partner,Req"});
}

void TestGroup::closingTellsPartnerAndGroup() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    Peer& q = net.peer("192.168.1.32");
    setSlot(s, 0, "P", "192.168.1.31");
    setSlot(s, 1, "Q", "192.168.1.32");
    p.send("192.168.1.10", kPartnerPort, "192.168.1.31,192.168.1.10,P,Req-Partner,Req");
    QTRY_VERIFY(s.partner().flag());
    s.main()->close();
    QTRY_COMPARE(p.texts(kLeave), QStringList{"192.168.1.10,host-10,離脱"});
    QCOMPARE(q.texts(kLeave), QStringList{"192.168.1.10,host-10,離脱"});
    QCOMPARE(p.texts(kPartnerPort).last(),
             QStringLiteral("192.168.1.10,192.168.1.31,host-10,Can-Partner,Ans"));
}

// ---- captions ----------------------------------------------------------------------

void TestGroup::captionsReachOnlyTickedMembers() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    Station& c = net.add();
    QTRY_COMPARE(members(a).size(), 2);
    a.main()->RichEdit1->clear();
    test::type(a.main()->RichEdit1, QStringLiteral("皆さんこんにちは"));
    QTest::keyClick(a.main()->RichEdit1, Qt::Key_Return);
    QTRY_COMPARE(lastLine(b), QStringLiteral("皆さんこんにちは"));
    QTRY_COMPARE(lastLine(c), QStringLiteral("皆さんこんにちは"));

    const int slotOfC = a.members().address(0) == QLatin1String("192.168.1.12") ? 0 : 1;
    a.main()->memberCompanion[std::size_t(slotOfC)]->setChecked(false);
    a.input().sendSentence(QStringLiteral("Ｂさんだけに"));
    QTRY_COMPARE(lastLine(b), QStringLiteral("Ｂさんだけに"));
    net.settle();
    QCOMPARE(lastLine(c), QStringLiteral("皆さんこんにちは"));
}

void TestGroup::receivedCaptionRules_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QStringList>("appended"); // empty: nothing appended
    QTest::newRow("1023 bytes") << QByteArray(1023, 'a') << QStringList{QString(1023, 'a')};
    QTest::newRow("1024 bytes") << QByteArray(1024, 'a') << QStringList{};
    QTest::newRow("tab") << QByteArray("a\tb") << QStringList{"a b"};
    QTest::newRow("bell") << QByteArray("a\x07z") << QStringList{"a@z"};
    QTest::newRow("line feed token") << text::encode(QStringLiteral("$改行$")) << QStringList{""};
    QTest::newRow("two lines") << QByteArray("up\r\ndown") << QStringList{"up", "down"};
    QTest::newRow("text ends at NUL") << QByteArray("kept\0lost", 9) << QStringList{"kept"};
}

void TestGroup::receivedCaptionRules() {
    QFETCH(QByteArray, datagram);
    QFETCH(QStringList, appended);
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    net.settle();
    const int before = s.record().lineCount();
    p.send("192.168.1.10", kCaption, datagram);
    net.settle();
    QCOMPARE(s.record().lineCount(), before + int(appended.size()));
    for (int i = 0; i < appended.size(); ++i)
        QCOMPARE(s.record().line(before + i), appended[i]);
}

void TestGroup::lanSwitchStopsReception() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_COMPARE(members(a).size(), 1);
    b.main()->CheckBox22->setChecked(false);
    const int before = b.record().lineCount();
    a.input().sendSentence(QStringLiteral("届かない"));
    b.input().sendSentence(QStringLiteral("出さない"));
    net.settle();
    QCOMPARE(b.record().lineCount(), before + 1); // only its own
    QCOMPARE(lastLine(a), QStringLiteral("届かない"));
}

void TestGroup::captionsAreHeldDuringCorrection() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // word-processor screen
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // correction mode
    QVERIFY(s.main()->CheckBox85->isChecked());
    const int before = s.record().lineCount();
    p.send("192.168.1.10", kCaption, QStringLiteral("一つ目"));
    p.send("192.168.1.10", kCaption, QStringLiteral("$改行$"));
    p.send("192.168.1.10", kCaption, QStringLiteral("二つ目"));
    net.settle();
    QCOMPARE(s.record().lineCount(), before);
    QCOMPARE(s.wordProcessorStopMonitor()->Memo2->toPlainText(),
             QStringLiteral("一つ目\n$改行$\n二つ目"));
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // "動": correction ends
    QCOMPARE(s.record().lineCount(), before + 3);
    QCOMPARE(s.record().line(before), QStringLiteral("一つ目"));
    QCOMPARE(s.record().line(before + 1), QString());
    QCOMPARE(s.record().line(before + 2), QStringLiteral("二つ目"));
    QVERIFY(s.wordProcessorStopMonitor()->Memo2->toPlainText().isEmpty());
}

void TestGroup::copiesForTheSamePcDisplay() {
    Lan net;
    Station& s = net.add();
    setSlot(s, 0, "P", "192.168.1.31");
    setSlot(s, 1, "Q", "192.168.1.32");
    Peer& p = net.peer("192.168.1.31");
    net.peer("192.168.1.32");
    s.main()->CheckBox60->setChecked(true);
    net.settle();
    net.lan.clearTraffic();
    s.input().sendSentence(QStringLiteral("三つ"));
    QStringList sent;
    for (const auto& d : net.lan.traffic())
        sent << QHostAddress(d.to).toString() + QLatin1Char(':') + QString::number(d.toPort);
    QCOMPARE(sent, (QStringList{"192.168.1.31:6711", "192.168.1.32:6711", "127.0.0.1:7911"}));

    // A received caption is shown and forwarded; one from the display
    // program itself is dropped.
    net.lan.clearTraffic();
    const int before = s.record().lineCount();
    p.send("192.168.1.10", kCaption, QStringLiteral("受信"));
    net.settle();
    QCOMPARE(lastLine(s), QStringLiteral("受信"));
    QCOMPARE(net.lan.traffic().back().toPort, quint16(7911));
    QCOMPARE(net.lan.traffic().back().data, text::encode(QStringLiteral("受信")));
    s.endpoint("TMainConsole", "NMUDP1")->RemoteHost = QStringLiteral("127.0.0.1");
    s.endpoint("TMainConsole", "NMUDP1")->RemotePort = kCaption;
    s.endpoint("TMainConsole", "NMUDP1")->SendDatagram(text::encode(QStringLiteral("自分宛")));
    net.settle();
    QCOMPARE(s.record().lineCount(), before + 1);
}

void TestGroup::scrambledCaptionsBetweenStations() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    Station& c = net.add();
    QTRY_COMPARE(members(a).size(), 2);
    for (Station* s : {&a, &b})
        s->main()->CheckBox42->setChecked(true);
    a.input().sendSentence(QStringLiteral("秘密の字幕"));
    QTRY_COMPARE(lastLine(b), QStringLiteral("秘密の字幕"));
    QTRY_VERIFY(lastLine(c) != QStringLiteral("秘密の字幕")); // letters and digits only
    QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9+/=]+$")).match(lastLine(c)).hasMatch());
    c.input().sendSentence(QStringLiteral("平文")); // not Base64: an empty line at b
    QTRY_COMPARE(lastLine(b), QString());
}

QTEST_MAIN(TestGroup)
#include "tst_group.moc"
