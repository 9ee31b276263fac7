// Corrections of lines already on every screen: the corrected block leaves the
// typist's station line by line and every member appends it below its lines.

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/corrections.h"
#include "caption/input_part.h"
#include "caption/screen_part.h"
#include "caption/undo.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "text/cp932.h"

#include <QCheckBox>
#include <QHostAddress>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

using namespace quorel;
using quorel::test::companions;
using quorel::test::Lan;
using quorel::test::Peer;
using quorel::test::tail;

namespace {

constexpr int kCorrection = 6713;
const QString kEnd = Corrections::kEndLine;

// What crossed the LAN to `port`, as "to=text".
QStringList sentTo(Lan& net, int port) {
    QStringList out;
    for (const auto& d : net.lan.traffic())
        if (d.toPort == port)
            out << QHostAddress(d.to).toString() + '=' + text::decode(d.data);
    return out;
}

// The typist's way onto the word-processor screen with the screen stopped.
void startCorrecting(Station& s) {
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // "ワ"
    QTest::mouseClick(s.main()->Button12, Qt::LeftButton); // "止"
    QVERIFY(s.screen().correctionMode());
}

// Replaces line `line` of the word-processor screen as typing would.
void editLine(Station& s, int line, const QString& text) {
    QTextCursor c(s.main()->RichEdit2->document()->findBlockByNumber(line));
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(text);
}

// Three stations of one group; the first corrects.
struct Group {
    Group() {
        for (int i = 0; i < 3; ++i)
            s[i] = &net.add();
        QTRY_VERIFY(companions(*s[0]) == 2 && companions(*s[1]) == 2 && companions(*s[2]) == 2);
        net.settle();
    }
    Lan net;
    Station* s[3];
};

} // namespace

class TestCorrections : public QObject {
    Q_OBJECT
private slots:
    void correctedBlockReachesEveryMember();
    void heldCaptionsFollowTheBlockOnce();
    void receivedBlocks_data();
    void receivedBlocks();
    void sndReadsItsCountBeforeChangingAnything_data();
    void sndReadsItsCountBeforeChangingAnything();
    void scrambledBlockAndSamePcCopies();
};

void TestCorrections::correctedBlockReachesEveryMember() {
    Group g;
    Station& a = *g.s[0];
    const QStringList lines{"A", "B", "", "D", "E", "F"};
    for (const QString& l : lines)
        a.input().sendSentence(l);
    g.net.settle();
    for (Station* m : {g.s[1], g.s[2]})
        QCOMPARE(tail(m->record(), 6), lines);
    const int before = g.s[1]->record().lineCount();

    startCorrecting(a);
    editLine(a, a.record().lineCount() - 1, QStringLiteral("F'"));
    a.main()->Edit8->setText(QStringLiteral("6"));
    g.net.lan.clearTraffic();
    QTest::mouseClick(a.main()->Button14, Qt::LeftButton);
    g.net.settle();

    // One datagram per line to each member, the empty line as "$null$", then
    // the end line.
    const QStringList block{"A", "B", "$null$", "D", "E", "F'", kEnd};
    QStringList expected;
    for (const QString& l : block)
        expected << "192.168.1.11=" + l << "192.168.1.12=" + l;
    QCOMPARE(sentTo(g.net, kCorrection), expected);
    QVERIFY(!a.screen().correctionMode());
    QCOMPARE(a.main()->Button12->text(), QStringLiteral("止"));
    QCOMPARE(tail(a.record(), 6), (QStringList{"A", "B", "", "D", "E", "F'"}));

    // Members keep their lines and show the corrected block below them, at
    // once and without scrolling.
    const QStringList corrected{"A", "B", "", "D", "E", "F'"};
    for (Station* m : {g.s[1], g.s[2]}) {
        QCOMPARE(m->record().lineCount(), before + 6);
        QCOMPARE(tail(m->record(), 12), lines + corrected);
        QCOMPARE(m->screen().state().shownIndex, m->record().lineCount());
        QCOMPARE(m->screen().state().targetCount, m->record().lineCount());
        QVERIFY(!m->main()->Timer1->isActive());
        QVERIFY(m->corrections().collected().isEmpty());
        // Corrected text is nobody's to take back.
        const QString form = m->record().textForm();
        m->undo().undo(false);
        QCOMPARE(m->record().textForm(), form);
    }
}

void TestCorrections::heldCaptionsFollowTheBlockOnce() {
    Group g;
    Station &a = *g.s[0], &b = *g.s[1], &c = *g.s[2];
    a.input().sendSentence(QStringLiteral("誤字です"));
    g.net.settle();
    startCorrecting(a);
    b.input().sendSentence(QStringLiteral("その間の字幕"));
    g.net.settle();
    QCOMPARE(a.wordProcessorStopMonitor()->Memo2->toPlainText(), QStringLiteral("その間の字幕"));
    QCOMPARE(tail(a.record(), 1), QStringList{"誤字です"});

    editLine(a, a.record().lineCount() - 1, QStringLiteral("正しい字です"));
    a.main()->Edit8->setText(QStringLiteral("1"));
    QTest::mouseClick(a.main()->Button14, Qt::LeftButton);
    g.net.settle();

    // The typist's station: the correction in place, the held caption below.
    QCOMPARE(tail(a.record(), 2), (QStringList{"正しい字です", "その間の字幕"}));
    QVERIFY(a.wordProcessorStopMonitor()->Memo2->toPlainText().isEmpty());
    // A member saw the caption when it was sent and gets only the block.
    QCOMPARE(tail(c.record(), 3), (QStringList{"誤字です", "その間の字幕", "正しい字です"}));
    QCOMPARE(c.record().textForm().count(QStringLiteral("その間の字幕")), 1);
}

void TestCorrections::receivedBlocks_data() {
    QTest::addColumn<QStringList>("datagrams");
    QTest::addColumn<int>("markers"); // 0 none, 1 "■" lines, 2 "◆" at the end
    QTest::addColumn<QStringList>("tail");

    const QString longLine = 'a' + QString(150, QChar(u'あ')); // 301 bytes
    QTest::newRow("empty line, second end form")
        << QStringList{"一", "$null$", "三", "`@"} << 0 << QStringList{"old", "一", "", "三"};
    QTest::newRow("discard drops what came before")
        << QStringList{"x", "y", "`*", "一", kEnd} << 0 << QStringList{"old", "一"};
    QTest::newRow("lost end line: both blocks at the next end")
        << QStringList{"一", "二", kEnd.left(3), "三", kEnd} << 0
        << QStringList{"old", "一", "二", kEnd.left(3), "三"};
    QTest::newRow("long line cut between characters")
        << QStringList{longLine, kEnd} << 0 << QStringList{"old", longLine.left(128)};
    QTest::newRow("new-line markers")
        << QStringList{"一", kEnd} << 1 << QStringList{"old", "", "一", "■"};
    QTest::newRow("continue markers") << QStringList{"一", kEnd} << 2 << QStringList{"old", "一◆"};
    QTest::newRow("end line alone") << QStringList{kEnd} << 0 << QStringList{"old"};
}

void TestCorrections::receivedBlocks() {
    QFETCH(QStringList, datagrams);
    QFETCH(int, markers);
    QFETCH(QStringList, tail);
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    s.main()->CheckBox8->setChecked(markers == 2);
    s.main()->CheckBox50->setChecked(markers != 0);
    s.screen().appendSentence(QStringLiteral("old"), true);
    for (const QString& d : datagrams) {
        p.send("192.168.1.10", kCorrection, d);
        net.settle();
    }
    QCOMPARE(test::tail(s.record(), int(tail.size())), tail);
    QCOMPARE(s.screen().state().shownIndex, s.record().lineCount());
    // The old sentence is no longer the newest: undo leaves the screen alone.
    const QString form = s.record().textForm();
    s.undo().undo(false);
    QCOMPARE(s.record().textForm(), form);
}

void TestCorrections::sndReadsItsCountBeforeChangingAnything_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("markers"); // 0 none, 1 "■" lines, 2 "◆" at the end
    QTest::addColumn<bool>("markerDeleted");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("tail");

    QTest::newRow("not a number: nothing happens")
        << "六" << 1 << false << QStringList{} << QStringList{"一", "二", "■"};
    QTest::newRow("none") << "0" << 0 << false << QStringList{kEnd} << QStringList{"一", "二"};
    QTest::newRow("more than the record")
        << "100000" << 0 << false << QStringList{"テスト"} << QStringList{"一", "二"};
    QTest::newRow("new-line marker is not text")
        << "2" << 1 << false << QStringList{"一", "二", kEnd} << QStringList{"一", "二", "■"};
    QTest::newRow("continue marker is not text")
        << "1" << 2 << false << QStringList{"一二", kEnd} << QStringList{"一二◆"};
    QTest::newRow("marker deleted while editing comes back")
        << "2" << 1 << true << QStringList{"一", "二", kEnd} << QStringList{"一", "二", "■"};
    QTest::newRow("continue marker deleted comes back, text kept")
        << "1" << 2 << true << QStringList{"一二", kEnd} << QStringList{"一二◆"};
}

void TestCorrections::sndReadsItsCountBeforeChangingAnything() {
    QFETCH(QString, count);
    QFETCH(int, markers);
    QFETCH(bool, markerDeleted);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, tail);
    Lan net;
    Station& s = net.add();
    Peer& p = net.peer("192.168.1.31");
    TMainConsole& m = *s.main();
    m.memberAddress[0]->setText(p.address());
    m.memberCompanion[0]->setChecked(true);
    m.CheckBox8->setChecked(markers == 2);
    m.CheckBox50->setChecked(markers != 0);
    s.input().sendSentence(QStringLiteral("一"));
    s.input().sendSentence(QStringLiteral("二"));
    net.settle();
    startCorrecting(s);
    if (markerDeleted) {
        // Backspace over the marker (and, for a marker line, its line break).
        const QString marker = markers == 2 ? QStringLiteral("◆") : QStringLiteral("■");
        QTextCursor c = m.RichEdit2->document()->find(
            marker, m.RichEdit2->document()->characterCount(), QTextDocument::FindBackward);
        QVERIFY(!c.isNull());
        if (markers == 1)
            c.setPosition(c.selectionEnd() - 2, QTextCursor::MoveAnchor),
                c.setPosition(c.position() + 2, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        QCOMPARE(s.record().textForm().count(marker), 0);
    }
    m.Edit8->setText(count);
    p.on(kCorrection).clear();
    QTest::mouseClick(m.Button14, Qt::LeftButton);
    net.settle();

    if (sent.size() == 1 && sent[0] == "テスト") { // every line of the record
        QCOMPARE(p.texts(kCorrection).size(), s.record().lineCount() + 1);
        QCOMPARE(p.texts(kCorrection).first(), QStringLiteral("テスト"));
    } else {
        QCOMPARE(p.texts(kCorrection), sent);
    }
    QCOMPARE(test::tail(s.record(), int(tail.size())), tail);
    if (sent.isEmpty()) {
        // (The box itself already complained while it was typed.)
        QCOMPARE(net.messages(0).shown.last(), QStringLiteral("'六' は整数ではありません"));
        QVERIFY(s.screen().correctionMode()); // the typist can fix the count
    }
}

void TestCorrections::scrambledBlockAndSamePcCopies() {
    Lan net;
    Station& a = net.add();
    Station& b = net.add();
    QTRY_VERIFY(companions(a) == 1 && companions(b) == 1);
    for (Station* s : {&a, &b}) {
        s->main()->CheckBox42->setChecked(true);
        s->main()->CheckBox60->setChecked(true);
    }
    a.input().sendSentence(QStringLiteral("前"));
    net.settle();
    startCorrecting(a);
    // Longer than a scrambled line can carry: cut where the characters allow.
    const QString longLine = 'a' + QString(120, QChar(u'字')); // 241 bytes
    editLine(a, a.record().lineCount() - 1, longLine);
    a.main()->Edit8->setText(QStringLiteral("1"));
    net.lan.clearTraffic();
    QTest::mouseClick(a.main()->Button14, Qt::LeftButton);
    net.settle();

    QCOMPARE(tail(b.record(), 2), (QStringList{"前", longLine.left(96)}));
    QStringList toB, copies;
    for (const auto& d : net.lan.traffic()) {
        const QString to = QHostAddress(d.to).toString();
        if (d.toPort == kCorrection && to == "192.168.1.11") {
            QVERIFY(d.data.size() <= Corrections::kLineBytes);
            toB << QString::fromLatin1(d.data);
        } else if (d.toPort == 7913)
            copies << to + ':' + text::decode(d.data);
    }
    QCOMPARE(toB.size(), 2);
    QVERIFY(!toB.contains(QStringLiteral("前"))); // scrambled on the wire
    // The sender's copies are the scrambled bytes, the receiver's are the
    // plain text it shows.
    const QStringList plainCopies{"127.0.0.1:" + longLine.left(96), "127.0.0.1:" + kEnd};
    QCOMPARE(copies.size(), 4);
    QCOMPARE(copies.mid(0, 1), QStringList{"127.0.0.1:" + toB[0]});
    QVERIFY(copies.contains(plainCopies[0]) && copies.contains(plainCopies[1]));
}

QTEST_MAIN(TestCorrections)
#include "tst_corrections.moc"
