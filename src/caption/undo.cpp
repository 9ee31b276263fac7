#include "caption/undo.h"

#include "base/services.h"
#include "caption/input_part.h"
#include "caption/screen_part.h"
#include "members/member_list.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "wire/display_record.h"
#include "wire/port_plan.h"

#include <QCheckBox>
#include <QLoggingCategory>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace quorel {

Q_LOGGING_CATEGORY(lcUndo, "quorel.undo", QtWarningMsg)

Undo::Undo(const Controls& c, DisplayRecord& record, ScreenPart& screen, InputPart& input,
           MemberList& members, const LumoLink& lumo, StationState& state, Messages& messages,
           QObject* parent)
    : QObject(parent), c_(c), record_(record), screen_(screen), input_(input), members_(members),
      lumo_(lumo), state_(state), messages_(messages) {
    c_.NMUDP9->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP9DataReceived(s, n, f, p);
    };
    connect(c_.CheckBox47, &QCheckBox::toggled, this, [this](bool on) {
        reportErrors(messages_, [&] {
            // A jump to the bottom after Del/Cls and undo would confuse the
            // reader, so F11's users get the screen left as it is.
            if (on && c_.CheckBox40->isChecked()) {
                c_.CheckBox40->setChecked(false);
                if (state_.settingsReady)
                    showIfEnabled(messages_, c_.CheckBox19, kUndoF11Note);
            }
        });
    });
    connect(c_.CheckBox35, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            c_.CheckBox36->setChecked(false);
    });
    connect(c_.CheckBox36, &QCheckBox::toggled, this, [this](bool on) {
        reportErrors(messages_, [&] {
            if (on && !c_.CheckBox35->isChecked()) {
                c_.CheckBox36->setChecked(false);
                showIfEnabled(messages_, c_.CheckBox19, kNeeds35);
            }
        });
    });
}

bool Undo::removeNewest() {
    auto& g = record_.growthHistory();
    if (g[0] <= 0)
        return false;
    const bool markers = c_.CheckBox50->isChecked();
    const bool nullLineOnly = c_.CheckBox8->isChecked();
    const std::int64_t L = record_.textLength();
    std::int64_t count = 0, start = 0;
    int dropped = 1;
    int window = 5; // five appends can be taken back
    if (markers && nullLineOnly) {
        count = g[0] - 2;
        start = L - count - 4;
        dropped = 2;
        window = 10;
    } else if (markers) {
        count = g[1];
        start = L - g[1] - g[0] - 2;
        dropped = 3;
        window = 15;
    } else if (nullLineOnly) {
        count = g[0];
        start = L - g[0] - 2;
    } else {
        count = g[0];
        start = L - g[0];
    }
    record_.removeBytes(start, count);
    for (int i = 0; i < window; ++i)
        g[static_cast<std::size_t>(i)] =
            i + dropped < window ? g[static_cast<std::size_t>(i + dropped)] : 0;
    record_.setLastLength(record_.textLength());
    return true;
}

void Undo::putBack(const QString& s, bool shift, QTextEdit* editor) {
    QTextDocument* doc = editor->document();
    QTextCursor cur(doc);
    const bool empty = editor->toPlainText().isEmpty();
    // The editor holds line breaks as blocks.
    QString text = s;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!c_.CheckBox35->isChecked()) {
        if (shift) {
            cur.setPosition(doc->firstBlock().position() + doc->firstBlock().length() - 1);
            cur.insertText(text);
        } else {
            cur.setPosition(0);
            cur.insertText(text);
        }
    } else if (empty) {
        cur.insertText(text);
    } else if (!c_.CheckBox36->isChecked() || text.isEmpty()) {
        if (shift) {
            cur.movePosition(QTextCursor::End);
            cur.insertText(QStringLiteral("\n") + text);
        } else {
            cur.setPosition(0);
            cur.insertText(text + QStringLiteral("\n"));
        }
    } else if (shift) {
        cur.movePosition(QTextCursor::End);
        cur.insertText(text);
    } else {
        cur.setPosition(0);
        cur.insertText(text);
    }
    editor->setTextCursor(cur);
}

void Undo::afterUndo() {
    if (!screen_.wordProcessorMode() && c_.CheckBox40->isChecked())
        screen_.showEnd();
}

void Undo::undo(bool shift, QTextEdit* into) {
    input_.setAutoSendSuppressed(true);
    if (!screen_.lastAppendWasOwn() && !c_.CheckBox11->isChecked())
        return;
    record_.setGrowthSuspended(true);
    if (!removeNewest())
        return;
    putBack(record_.recent()[0], shift, into ? into : c_.RichEdit1);
    record_.dropNewestRecent();
    if (c_.CheckBox22->isChecked())
        sendCommand(QStringLiteral("undo"));
    afterUndo();
}

void Undo::undoReceived() {
    record_.setGrowthSuspended(true);
    screen_.setLastAppendWasOwn(true);
    if (!removeNewest())
        return;
    record_.dropNewestRecent();
    afterUndo();
}

void Undo::Del() {
    // One edit, then nothing of it can be undone.
    record_.setGrowthSuspended(true);
    const bool markers = c_.CheckBox50->isChecked();
    const int first = std::max(0, record_.lineCount() - 2);
    QByteArray t = record_.tailBytes(first);
    if (markers && t.endsWith("\r\n") && t.size() >= 4)
        t.remove(t.size() - 4, 2);
    if (t.endsWith("\r\n"))
        t.chop(2);
    if (!t.isEmpty()) {
        // The last character: two bytes when its first byte is a lead byte.
        int i = 0, lastStart = 0;
        while (i < t.size()) {
            lastStart = i;
            i += text::isLeadByte(static_cast<unsigned char>(t[i])) && i + 1 < t.size() ? 2 : 1;
        }
        t.truncate(lastStart);
    }
    if (!t.endsWith("\r\n") && !(t.isEmpty() && first == 0))
        t += "\r\n";
    if (markers) {
        t.chop(2);
        t += text::encode(QStringLiteral("◆")) + "\r\n";
    }
    record_.replaceTail(first, t);
    record_.resetUndoState();
    screen_.showEnd();
}

void Undo::Cls() {
    record_.setGrowthSuspended(true);
    const int n = screen_.state().displayLines;
    if (c_.CheckBox8->isChecked()) {
        record_.addLine(QString());
        record_.resetUndoState();
        screen_.blankScreen(record_.lineCount() + n - 1);
    } else {
        record_.resetUndoState();
        screen_.blankScreen(record_.lineCount() + n);
    }
}

void Undo::sendCommand(const QString& word) {
    // Never scrambled: every station must understand it.
    const QByteArray bytes = word.toLatin1();
    members_.SendToMembers(*c_.NMUDP9, bytes);
    lumo_.SendLumoCopy(*c_.NMUDP9, bytes, kBasePort);
}

bool Undo::f11(bool shift) {
    if (!c_.CheckBox47->isChecked())
        return false;
    if (shift)
        Cls();
    else
        Del();
    if (c_.CheckBox22->isChecked())
        sendCommand(shift ? QStringLiteral("cls") : QStringLiteral("del"));
    return true;
}

void Undo::NMUDP9DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (!c_.CheckBox22->isChecked())
        return;
    const auto body = Sender->receiveText(NumberBytes, kBound);
    if (!body || lumo_.dropsFrom(FromIP))
        return;
    if (!body->isEmpty())
        lumo_.SendLumoCopy(*c_.NMUDP9, *body, kBasePort); // forwarded unchanged
    const bool holding = c_.CheckBox85->isChecked();
    qCDebug(lcUndo) << "command" << *body << (holding ? "held" : "applied");
    if (*body == "undo") {
        if (holding && hold)
            hold(QStringLiteral("$undo$"));
        else if (!holding)
            undoReceived();
    } else if (*body == "del") {
        if (holding && hold)
            hold(QStringLiteral("$del$"));
        else if (!holding)
            Del();
    } else if (*body == "cls") {
        if (holding && hold)
            hold(QStringLiteral("$cls$"));
        else if (!holding)
            Cls();
    }
}

} // namespace quorel
