// A pair of typists and their group working as a team: the partner's live
// input in the monitor part, everybody's in the 8-person monitor, and taking
// sentences back on every screen.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/eight_person.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "caption/monitor.h"
#include "caption/screen_part.h"
#include "caption/undo.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "typing.h"

#include <QCheckBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace quorel;
using quorel::test::companions;
using quorel::test::Lan;
using quorel::test::Peer;
using quorel::test::tail;

namespace {

constexpr int kLink = 6712, kMonitor = 6721, kUndo = 6723;

QString monitorOf(Station& s) {
    return s.main()->RichEdit27->toPlainText();
}
QString paneOf(Station& s, int slot) {
    return s.eightPerson()->panes[std::size_t(slot)]->toPlainText();
}
int slotOf(Station& s, const QString& address) {
    for (int i = 0; i < 8; ++i)
        if (s.members().address(i) == address)
            return i;
    return -1;
}

// Three stations of one group; a and b are partners.
struct Team {
    Team() {
        a = &net.add();
        b = &net.add();
        c = &net.add();
        QTRY_VERIFY(companions(*a) == 2 && companions(*b) == 2 && companions(*c) == 2);
        net.settle();
        QTest::mouseClick(a->main()->memberBePartner[std::size_t(slotOf(*a, "192.168.1.11"))],
                          Qt::LeftButton);
        QTRY_VERIFY(a->partner().flag() && b->partner().flag());
        for (Station* s : {a, b, c})
            s->main()->RichEdit1->clear();
    }
    Lan net;
    Station *a, *b, *c;
};

} // namespace

class TestTeam : public QObject {
    Q_OBJECT
private slots:
    void typingAndBackspaceOnTheMonitors();
    void emptyInputAfterOtherKeys();
    void enterBlanksThePartnersMonitor();
    void lineBreaksAsSquares();
    void monitorMessagesFromStrangersAreDropped();
    void partnerLinkTextFromAnyStationIsShown();
    void settingsBodiesAreNotMonitorText();
    void eightPersonNamesFollowTheMemberList();
    void eightPersonRowsChangePlaces();
    void eightPersonReopenedKeepsItsRows();
    void eightPersonAutomaticOrder();
    void eightPersonRowHeight();
    void sixUndosRemoveFiveSentencesEverywhere();
    void undoRestoresTheRecord_data();
    void undoRestoresTheRecord();
    void receivedUndoRemovesAThirdMembersLine();
    void othersSentencesOnlyWhenAllowed();
    void undoneSentenceGoesBackIntoTheInput_data();
    void undoneSentenceGoesBackIntoTheInput();
    void delAndClsEverywhere();
    void commandsHeldInCorrectionModeApplyInOrder();
    void badCommands();
    void undoOptionRules();
    void commandCopiesForTheSamePcDisplay();
};

// ---- monitor ------------------------------------------------------------------------

void TestTeam::typingAndBackspaceOnTheMonitors() {
    Team t;
    t.c->eightPerson()->CheckBox1->setChecked(true); // c shows a blank instead
    const int slotAtB = slotOf(*t.b, "192.168.1.10");
    const int slotAtC = slotOf(*t.c, "192.168.1.10");
    test::type(t.a->main()->RichEdit1, QStringLiteral("あ"));
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral("あ"));
    QTRY_COMPARE(paneOf(*t.c, slotAtC), QStringLiteral("あ"));
    QCOMPARE(paneOf(*t.b, slotAtB), QStringLiteral("あ"));

    QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_Backspace);
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral("・"));
    QVERIFY(t.b->main()->Timer4->isActive());
    QCOMPARE(t.b->main()->Timer4->interval(), 500);
    QTRY_COMPARE(paneOf(*t.b, slotAtB), QStringLiteral("●消去●"));
    QTRY_COMPARE(paneOf(*t.c, slotAtC), QStringLiteral(" "));
    QTRY_VERIFY_WITH_TIMEOUT(monitorOf(*t.b).isEmpty(), 2000); // after half a second
}

void TestTeam::emptyInputAfterOtherKeys() {
    Team t;
    Peer& watcher = t.net.peer("192.168.1.40");
    t.a->main()->memberAddress[2]->setText(watcher.address()); // a third member slot
    t.a->main()->memberCompanion[2]->setChecked(true);
    t.b->main()->RichEdit27->setPlainText(QStringLiteral("old"));
    QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_Left);
    QTRY_VERIFY(monitorOf(*t.b).isEmpty());
    QTRY_COMPARE(watcher.texts(kMonitor), QStringList{"192.168.1.10,$改行$"});
}

void TestTeam::enterBlanksThePartnersMonitor() {
    Team t;
    test::type(t.a->main()->RichEdit1, QStringLiteral("送ります"));
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral("送ります"));
    QTest::keyPress(t.a->main()->RichEdit1, Qt::Key_Return); // the release would report again
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral(" "));
}

void TestTeam::lineBreaksAsSquares() {
    Team t;
    t.b->main()->CheckBox57->setChecked(true);
    t.a->main()->RichEdit1->setPlainText(QStringLiteral("上\n下"));
    t.a->monitor().report(0);
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral("上■下"));
    // Members' panes: CheckBox49 is ticked by default.
    QTRY_COMPARE(paneOf(*t.c, slotOf(*t.c, "192.168.1.10")), QStringLiteral("上■下"));
    QCOMPARE(MonitorPart::withSquares("a\r\nb").size(), QString("a■b").size());
}

void TestTeam::monitorMessagesFromStrangersAreDropped() {
    Team t;
    Peer& stranger = t.net.peer("192.168.1.66");
    QStringList before;
    for (int i = 0; i < 8; ++i)
        before << paneOf(*t.c, i);
    stranger.send("192.168.1.12", kMonitor, "192.168.1.66,こっそり");
    stranger.send("192.168.1.12", kMonitor, "no comma at all");
    t.net.settle();
    QStringList after;
    for (int i = 0; i < 8; ++i)
        after << paneOf(*t.c, i);
    QCOMPARE(after, before);
}

void TestTeam::partnerLinkTextFromAnyStationIsShown() {
    Team t;
    t.net.peer("192.168.1.66").send("192.168.1.11", kLink, "誰からでも");
    QTRY_COMPARE(monitorOf(*t.b), QStringLiteral("誰からでも"));
}

void TestTeam::settingsBodiesAreNotMonitorText() {
    Team t;
    Peer& p = t.net.peer("192.168.1.66");
    t.b->main()->RichEdit27->setPlainText(QStringLiteral("keep"));
    p.send("192.168.1.11", kLink, "$set$001:640");
    p.send("192.168.1.11", kLink, "$end$");
    t.net.settle();
    QCOMPARE(monitorOf(*t.b), QStringLiteral("keep"));
}

void TestTeam::eightPersonNamesFollowTheMemberList() {
    Team t;
    TForm2& eight = *t.c->eightPerson();
    const int slot = slotOf(*t.c, "192.168.1.10");
    QCOMPARE(eight.names[std::size_t(slot)]->text(), QStringLiteral("host-10"));
    eight.panes[std::size_t(slot)]->setPlainText(QStringLiteral("typing"));
    t.c->main()->memberName[std::size_t(slot)]->setText(QStringLiteral("山田"));
    QCOMPARE(eight.names[std::size_t(slot)]->text(), QStringLiteral("山田"));
    QVERIFY(eight.panes[std::size_t(slot)]->toPlainText().isEmpty());
}

void TestTeam::eightPersonRowsChangePlaces() {
    Lan net;
    Station& s = net.add();
    TForm2& w = *s.eightPerson();
    EightPersonMonitor& rows = s.eightRows();
    QTest::mouseClick(w.names[1], Qt::LeftButton); // row 2 ...
    QVERIFY(w.names[1]->isHidden());
    QTest::mouseClick(w.panes[4]->viewport(), Qt::LeftButton); // ... to row 5's place
    QCOMPARE(rows.rowAt(1), 4);
    QCOMPARE(rows.rowAt(4), 1);
    QVERIFY(!w.names[1]->isHidden());
    // The next message for slot 2 lands in row 2, now standing fifth.
    s.main()->memberAddress[1]->setText("192.168.1.31");
    net.peer("192.168.1.31").send("192.168.1.10", kMonitor, "192.168.1.31,入力中");
    QTRY_COMPARE(w.panes[1]->toPlainText(), QStringLiteral("入力中"));
    QCOMPARE(w.panes[1]->y(), 4 * (rows.rowHeight() + 4));
    QCOMPARE(w.panes[4]->y(), 1 * (rows.rowHeight() + 4));

    QTest::mouseClick(w.names[0], Qt::LeftButton); // picked, then cancelled
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(w.width() - 2, w.height() - 2));
    QCOMPARE(rows.pendingRow(), -1);
    QVERIFY(!w.names[0]->isHidden());
}

void TestTeam::eightPersonReopenedKeepsItsRows() {
    Lan net;
    Station& s = net.add();
    TForm2& w = *s.eightPerson();
    EightPersonMonitor& rows = s.eightRows();
    QTest::mouseClick(s.main()->Button45, Qt::LeftButton);
    QTest::mouseClick(w.names[1], Qt::LeftButton);
    QTest::mouseClick(w.names[4], Qt::LeftButton);
    QTest::mouseClick(w.names[6], Qt::LeftButton); // picked for the next move
    w.close();
    s.main()->CheckBox12->setChecked(false);

    QTest::mouseClick(s.main()->Button45, Qt::LeftButton);
    QVERIFY(w.isVisible());
    QVERIFY(s.main()->CheckBox12->isChecked());
    QCOMPARE(rows.rowAt(1), 4);
    QCOMPARE(rows.rowAt(4), 1);
    QCOMPARE(rows.pendingRow(), 6);
    QVERIFY(w.names[6]->isHidden());
    QVERIFY(!w.bePartner[6]->isVisible());
    QVERIFY(w.bePartner[5]->isVisible());

    s.main()->Edit20->setText(QStringLiteral("2")); // a new layout puts them back
    QCOMPARE(rows.rowAt(1), 1);
    QCOMPARE(rows.rowAt(4), 4);
    QCOMPARE(rows.pendingRow(), -1);
}

void TestTeam::eightPersonAutomaticOrder() {
    Lan net;
    Station& s = net.add();
    TForm2& w = *s.eightPerson();
    EightPersonMonitor& rows = s.eightRows();
    w.CheckBox2->click();
    w.panes[3]->setPlainText(QStringLiteral("四が入力"));
    QCOMPARE(rows.rowAt(0), 3);
    w.panes[0]->setPlainText(QStringLiteral("一が入力"));
    QCOMPARE(rows.rowAt(0), 3);
    QCOMPARE(rows.rowAt(1), 0);
    w.panes[3]->setPlainText(QStringLiteral(" ")); // member 4 pressed Enter
    QCOMPARE(rows.rowAt(0), 0);
    QCOMPARE(rows.rowAt(1), 3);
}

void TestTeam::eightPersonRowHeight() {
    Lan net;
    Station& s = net.add();
    QFont f = s.eightPerson()->panes[0]->font();
    f.setPointSize(12);
    s.eightPerson()->panes[0]->setFont(f);
    s.main()->Edit20->setText(QStringLiteral("3"));
    QCOMPARE(s.eightRows().rowHeight(), 74);
    QCOMPARE(s.eightPerson()->panes[7]->height(), 74);
}

// ---- undo, del, cls ---------------------------------------------------------------------

void TestTeam::sixUndosRemoveFiveSentencesEverywhere() {
    Team t;
    for (int i = 1; i <= 6; ++i)
        t.a->input().sendSentence(QStringLiteral("文%1").arg(i));
    QTRY_COMPARE(tail(t.b->record(), 1), QStringList{"文6"});
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_F9);
    QCOMPARE(tail(t.a->record(), 1), QStringList{"文1"});
    for (Station* s : {t.b, t.c})
        QTRY_COMPARE(tail(s->record(), 1), QStringList{"文1"});
}

void TestTeam::undoRestoresTheRecord_data() {
    QTest::addColumn<bool>("nullLineOnly");
    QTest::addColumn<bool>("markers");
    QTest::newRow("plain") << false << false;
    QTest::newRow("null line only") << true << false;
    QTest::newRow("markers") << false << true;
    QTest::newRow("markers, null line only") << true << true;
}

void TestTeam::undoRestoresTheRecord() {
    QFETCH(bool, nullLineOnly);
    QFETCH(bool, markers);
    Lan net;
    Station& s = net.add();
    s.main()->CheckBox8->setChecked(nullLineOnly);
    s.main()->CheckBox50->setChecked(markers);
    s.input().sendSentence(QStringLiteral("前の文"));
    const QString before = s.record().textForm();
    s.input().sendSentence(QStringLiteral("取り消す文"));
    QVERIFY(s.record().textForm() != before);
    s.main()->RichEdit1->clear();
    s.undo().undo(false);
    QCOMPARE(s.record().textForm(), before);
    QCOMPARE(s.main()->RichEdit1->toPlainText(), QStringLiteral("取り消す文"));
}

void TestTeam::receivedUndoRemovesAThirdMembersLine() {
    Team t;
    t.c->input().sendSentence(QStringLiteral("Ｃの文"));
    QTRY_COMPARE(tail(t.b->record(), 1), QStringList{"Ｃの文"});
    const int lines = t.b->record().lineCount();
    t.net.peer("192.168.1.66").send("192.168.1.11", kUndo, "undo");
    QTRY_COMPARE(t.b->record().lineCount(), lines - 1);
}

void TestTeam::othersSentencesOnlyWhenAllowed() {
    Team t;
    t.a->main()->CheckBox11->setChecked(false);
    t.a->input().sendSentence(QStringLiteral("自分の"));
    t.c->input().sendSentence(QStringLiteral("他人の"));
    QTRY_COMPARE(tail(t.a->record(), 1), QStringList{"他人の"});
    t.a->undo().undo(false);
    QCOMPARE(tail(t.a->record(), 1), QStringList{"他人の"});
    t.a->input().sendSentence(QStringLiteral("もう一つ"));
    t.a->undo().undo(false);
    QCOMPARE(tail(t.a->record(), 1), QStringList{"他人の"});
}

void TestTeam::undoneSentenceGoesBackIntoTheInput_data() {
    QTest::addColumn<bool>("ownLine");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in front") << false << false << QStringLiteral("戻る続き");
    QTest::newRow("shift: after") << false << true << QStringLiteral("続き戻る");
    QTest::newRow("own line first") << true << false << QStringLiteral("戻る\n続き");
    QTest::newRow("own line last") << true << true << QStringLiteral("続き\n戻る");
}

void TestTeam::undoneSentenceGoesBackIntoTheInput() {
    QFETCH(bool, ownLine);
    QFETCH(bool, shift);
    QFETCH(QString, expected);
    Lan net;
    Station& s = net.add();
    s.main()->CheckBox35->setChecked(ownLine);
    s.input().sendSentence(QStringLiteral("戻る"));
    s.main()->RichEdit1->setPlainText(QStringLiteral("続き"));
    QTest::keyClick(s.main()->RichEdit1, Qt::Key_F9, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(s.main()->RichEdit1->toPlainText(), expected);
    QVERIFY(s.input().autoSendSuppressed());
}

void TestTeam::delAndClsEverywhere() {
    Team t;
    t.a->main()->CheckBox47->setChecked(true);
    QVERIFY(!t.a->main()->CheckBox40->isChecked()); // unticked with it
    t.a->input().sendSentence(QStringLiteral("消える字"));
    QTRY_COMPARE(tail(t.b->record(), 1), QStringList{"消える字"});
    QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_F11);
    QCOMPARE(tail(t.a->record(), 1), QStringList{"消える"});
    QTRY_COMPARE(tail(t.b->record(), 1), QStringList{"消える"});
    t.a->undo().undo(false); // nothing to take back after Del
    QCOMPARE(tail(t.a->record(), 1), QStringList{"消える"});

    const int lines = t.c->record().lineCount();
    QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_F11, Qt::ShiftModifier);
    QTRY_COMPARE(t.c->screen().state().shownIndex, lines + t.c->screen().state().displayLines);
    QCOMPARE(t.c->record().lineCount(), lines);           // the lines stay, the screen is blank
    QTest::keyClick(t.a->main()->RichEdit1, Qt::Key_F11); // Del after Cls still works
    QCOMPARE(tail(t.a->record(), 1), QStringList{"消え"});
}

void TestTeam::commandsHeldInCorrectionModeApplyInOrder() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    s.screen().appendSentence(QStringLiteral("一"), false);
    s.screen().appendSentence(QStringLiteral("二三"), false);
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton);
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // correction mode
    p.send("192.168.1.10", kUndo, "del");
    p.send("192.168.1.10", kUndo, "undo");
    net.settle();
    QCOMPARE(s.wordProcessorStopMonitor()->Memo2->toPlainText(), QStringLiteral("$del$\n$undo$"));
    QCOMPARE(tail(s.record(), 1), QStringList{"二三"});
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // correction ends
    // Del took the last character and reset the history, so the undo after
    // it has nothing to take back.
    QCOMPARE(tail(s.record(), 2), (QStringList{"一", "二"}));
}

void TestTeam::badCommands() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    s.screen().appendSentence(QStringLiteral("残る"), false);
    const QString before = s.record().textForm();
    p.send("192.168.1.10", kUndo, QByteArray("undo") + QByteArray(296, ' '));
    p.send("192.168.1.10", kUndo, "UNDO");
    p.send("192.168.1.10", kUndo, "undo ");
    net.settle();
    QCOMPARE(s.record().textForm(), before);
}

void TestTeam::undoOptionRules() {
    Lan net;
    Station& s = net.add();
    TMainConsole& m = *s.main();
    s.Timer2Timer();
    m.CheckBox36->setChecked(true); // needs CheckBox35
    QVERIFY(!m.CheckBox36->isChecked());
    QCOMPARE(net.messages(0).shown, QStringList{Undo::kNeeds35});
    m.CheckBox35->setChecked(true);
    m.CheckBox36->setChecked(true);
    QVERIFY(m.CheckBox36->isChecked());
    m.CheckBox35->setChecked(false); // takes its refinement with it
    QVERIFY(!m.CheckBox36->isChecked());
    m.CheckBox47->setChecked(true);
    QVERIFY(!m.CheckBox40->isChecked());
    QCOMPARE(net.messages(0).shown.last(), Undo::kUndoF11Note);
}

void TestTeam::commandCopiesForTheSamePcDisplay() {
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    TMainConsole& m = *s.main();
    m.memberAddress[0]->setText(p.address());
    m.memberCompanion[0]->setChecked(true);
    m.CheckBox60->setChecked(true);
    s.input().sendSentence(QStringLiteral("取り消す"));
    net.settle();
    net.lan.clearTraffic();
    s.undo().undo(false);
    QStringList sent;
    for (const auto& d : net.lan.traffic())
        sent << QHostAddress(d.to).toString() + ':' + QString::number(d.toPort) + '=' + d.data;
    QCOMPARE(sent, (QStringList{"192.168.1.31:6723=undo", "127.0.0.1:7923=undo"}));

    // A member's command is applied and forwarded unchanged; the display
    // program's own is dropped.
    net.lan.clearTraffic();
    p.send("192.168.1.10", kUndo, "cls");
    net.settle();
    QCOMPARE(net.lan.traffic().back().toPort, quint16(7923));
    QCOMPARE(net.lan.traffic().back().data, QByteArray("cls"));
}

QTEST_MAIN(TestTeam)
#include "tst_team.moc"
