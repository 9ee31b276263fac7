#include "caption/caption_link.h"

#include "caption/input_part.h"
#include "caption/screen_part.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "text/sanitise.h"
#include "wire/port_plan.h"

#include <QCheckBox>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcCaption)

CaptionLink::CaptionLink(const Controls& c, MemberList& members, ScreenPart& screen,
                         LinkEncryption& encryption, const LumoLink& lumo, QObject* parent)
    : QObject(parent), c_(c), members_(members), screen_(screen), encryption_(encryption),
      lumo_(lumo) {
    c_.NMUDP1->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP1DataReceived(s, n, f, p);
    };
    connect(c_.CheckBox85, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            c_.held->clear(); // a new correction starts with an empty list
            heldCount_ = 0;
        } else
            replayHeld();
    });
}

void CaptionLink::SendCaption(const QString& s) {
    // Scrambled once: the same bytes go to every member and to the copy.
    const QByteArray bytes = encryption_.Scramble(text::encode(s));
    members_.SendToMembers(*c_.NMUDP1, bytes);
    lumo_.SendLumoCopy(*c_.NMUDP1, bytes, kBasePort);
}

void CaptionLink::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (NumberBytes >= kBound || !c_.CheckBox22->isChecked())
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw || lumo_.dropsFrom(FromIP))
        return;
    const QString t = text::decode(text::sanitiseBytes(encryption_.Unscramble(*raw)));
    qCDebug(lcCaption) << "caption from" << FromIP << t;
    if (c_.CheckBox85->isChecked()) {
        hold(t);
    } else {
        screen_.appendSentence(t == InputPart::kLineFeedToken ? QString() : t, false);
    }
    // Forwarded as shown, never scrambled. (An empty text has nothing to
    // forward and would only raise an error.)
    if (!t.isEmpty())
        lumo_.SendLumoCopy(*c_.NMUDP1, text::encode(t), kBasePort);
}

void CaptionLink::hold(const QString& line) {
    c_.held->appendPlainText(line);
    ++heldCount_;
}

void CaptionLink::replayHeld() {
    // The list's text, line by line; a single empty held caption counts too.
    QStringList lines;
    if (heldCount_ > 0)
        for (QTextBlock b = c_.held->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
    c_.held->clear();
    heldCount_ = 0;
    for (const QString& line : lines) {
        if (line == QLatin1String("$undo$")) {
            if (hooks_.undo)
                hooks_.undo();
        } else if (line == QLatin1String("$del$")) {
            if (hooks_.del)
                hooks_.del();
        } else if (line == QLatin1String("$cls$")) {
            if (hooks_.cls)
                hooks_.cls();
        } else {
            screen_.appendSentence(line == InputPart::kLineFeedToken ? QString() : line, false);
        }
    }
    screen_.showEnd();
}

} // namespace quorel
