#include "caption/corrections.h"

#include "base/int_text.h"
#include "base/services.h"
#include "caption/screen_part.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "text/sanitise.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcCaption)

Corrections::Corrections(const Controls& c, MemberList& members, ScreenPart& screen,
                         LinkEncryption& encryption, const LumoLink& lumo, Messages& messages,
                         QObject* parent)
    : QObject(parent), c_(c), members_(members), screen_(screen), encryption_(encryption),
      lumo_(lumo), messages_(messages) {
    c_.NMUDP3->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP3DataReceived(s, n, f, p);
    };
    connect(c_.Button14, &QPushButton::clicked, this,
            [this] { reportErrors(messages_, [this] { Button14Click(); }); });
}

bool Corrections::markersOn() const {
    return c_.CheckBox50->isChecked();
}

void Corrections::SendCorrectionLine(const QString& text) {
    // Receivers keep the first 256 bytes of what arrives, scrambled or not: a
    // longer line is cut here, where the cut can respect the characters (and a
    // scrambled line is cut so that its Base64 form still fits).
    const int limit = encryption_.enabled() ? kLineBytes / 4 * 3 : kLineBytes;
    const QByteArray bytes = encryption_.Scramble(text::cutBytes(text::encode(text), limit));
    members_.SendToMembers(*c_.NMUDP3, bytes);
    lumo_.SendLumoCopy(*c_.NMUDP3, bytes, kBasePort);
}

QStringList Corrections::takeBlock(int n) const {
    const DisplayRecord& r = screen_.record();
    int end = r.lineCount();
    QString last = end > 0 ? r.line(end - 1) : QString();
    bool cutLast = false;
    if (markersOn() && end > 0) {
        if (c_.CheckBox8->isChecked()) {
            cutLast = DisplayRecord::endsWithMarker(last);
        } else if (last == DisplayRecord::kNewLineMarker) {
            --end; // the marker line is not part of the text
            last = end > 0 ? r.line(end - 1) : QString();
        }
    }
    n = std::min(n, end);
    QStringList block;
    block.reserve(n);
    for (int i = end - n; i < end; ++i)
        block << r.line(i);
    if (cutLast && !block.isEmpty())
        block.last().chop(1);
    return block;
}

void Corrections::putMarkerBack() {
    if (!markersOn())
        return;
    DisplayRecord& r = screen_.record();
    const QString last = r.lineCount() > 0 ? r.line(r.lineCount() - 1) : QString();
    if (c_.CheckBox8->isChecked()) {
        if (r.lineCount() == 0 || !DisplayRecord::endsWithMarker(last))
            r.setLastLine(last + DisplayRecord::kContinueMarker);
    } else if (r.lineCount() == 0 || last != DisplayRecord::kNewLineMarker) {
        r.addLine(QString(DisplayRecord::kNewLineMarker));
    }
}

void Corrections::Button14Click() {
    DisplayRecord& record = screen_.record();
    // Everything is read before anything changes: a count that is not a
    // number costs neither the marker nor the held captions.
    const int n = std::clamp(toInt(c_.Edit8->text()), 0, record.lineCount());
    // The block is the corrected text as the typist sees it now. The captions
    // held meanwhile join the record below it when correction mode ends; they
    // reached every member directly and must not go out again inside the block.
    const QStringList block = takeBlock(n);
    screen_.endCorrectionModeByEnter();
    for (const QString& line : block)
        SendCorrectionLine(line.isEmpty() ? kEmptyLine : line);
    SendCorrectionLine(kEndLine);
    // The typist may have deleted the marker while editing.
    putMarkerBack();
    record.resetUndoState();
    c_.RichEdit1->setFocus();
}

void Corrections::NMUDP3DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (NumberBytes >= kBound)
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw || lumo_.dropsFrom(FromIP))
        return;
    const QString t =
        text::decode(text::sanitiseBytes(encryption_.Unscramble(text::cutBytes(*raw, kLineBytes))));
    qCDebug(lcCaption) << "correction line from" << FromIP << t;
    if (!t.isEmpty())
        lumo_.SendLumoCopy(*c_.NMUDP3, text::encode(t), kBasePort);

    collected_ << t;
    if (collected_.size() > kCollectedLines)
        collected_.remove(0, collected_.size() - kCollectedLines);
    if (t == kDiscard)
        collected_.clear();
    else if (t == kEndLine || t == kEndLine2)
        appendCollected();
    // Corrected text is not the station's own sentence: undo cannot take it.
    screen_.record().resetUndoState();
}

void Corrections::appendCollected() {
    screen_.setLastAppendWasOwn(false);
    DisplayRecord& r = screen_.record();
    const bool markers = markersOn();
    if (markers && r.lineCount() > 0 && DisplayRecord::endsWithMarker(r.line(r.lineCount() - 1)))
        r.setLastLine(r.line(r.lineCount() - 1).chopped(1));
    QStringList block;
    for (qsizetype i = 0; i + 1 < collected_.size(); ++i)
        block << (collected_[i] == kEmptyLine ? QString() : collected_[i]);
    qCDebug(lcCaption) << "corrected block shown:" << block;
    for (const QString& line : block)
        r.addLine(line);
    if (markers) {
        if (c_.CheckBox8->isChecked())
            r.setLastLine((r.lineCount() > 0 ? r.line(r.lineCount() - 1) : QString()) +
                          DisplayRecord::kContinueMarker);
        else
            r.addLine(QString(DisplayRecord::kNewLineMarker));
    }
    collected_.clear();
    screen_.showEnd();
}

} // namespace quorel
