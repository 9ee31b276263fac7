#include "windows/info/chat.h"

#include "base/services.h"
#include "logs/display_log.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "net/own_address.h"
#include "settings/settings_file.h"
#include "text/cp932.h"
#include "windows/info/chat_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

namespace quorel {

Q_LOGGING_CATEGORY(lcChat, "quorel.chat", QtWarningMsg)

Chat::Chat(TForm6& window, TNMUDP& endpoint, MemberList& members, OwnAddress& own,
           LinkEncryption& encryption, const LumoLink& lumo, const StationState& state,
           const Clock& clock, Messages& messages, Choosers& choosers, QObject* parent)
    : QObject(parent), w_(window), endpoint_(endpoint), members_(members), own_(own),
      encryption_(encryption), lumo_(lumo), state_(state), clock_(clock), messages_(messages),
      choosers_(choosers) {
    endpoint_.OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP1DataReceived(s, n, f, p);
    };
    auto on = [this](auto* sender, auto signal, void (Chat::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(w_.Timer1, &QTimer::timeout, &Chat::Timer1Timer);
    on(w_.Timer2, &QTimer::timeout, &Chat::Timer2Timer);
    on(w_.CheckBox2, &QCheckBox::toggled, &Chat::CheckBox2Click);
    on(w_.Edit2, &QLineEdit::textChanged, &Chat::Edit2Change);
    on(w_.Button1, &QPushButton::clicked, &Chat::Button1Click);
    on(w_.Button2, &QPushButton::clicked, &Chat::Button2Click);
    on(w_.Button3, &QPushButton::clicked, &Chat::Button3Click);
    on(w_.Button4, &QPushButton::clicked, &Chat::Button4Click);
    connect(w_.RichEdit1, &ChatInput::enterPressed, this,
            [this] { reportErrors(messages_, [this] { SendChat(true); }); });
    // Closing the window stops the periodic note; coming back to it means
    // typing a note.
    connect(&w_, &TForm6::closing, this, [this] { w_.CheckBox2->setChecked(false); });
    connect(&w_, &TForm6::activated, this, [this] { w_.RichEdit1->setFocus(); });
}

void Chat::showWindow() {
    w_.show();
    w_.raise();
    w_.activateWindow();
    w_.RichEdit1->setFocus();
}

void Chat::log(const QString& text) {
    QString line = text;
    if (w_.CheckBox6->isChecked())
        line = QStringLiteral("[%1] ").arg(clock_.now().time().toString(QStringLiteral("H:m:s"))) +
               line;
    // A line count of its own: an empty first line leaves the editor looking
    // empty, yet it is a line of the log.
    if (logCount_ == 0)
        w_.RichEdit2->setPlainText(line);
    else
        w_.RichEdit2->appendPlainText(line);
    ++logCount_;
}

QStringList Chat::logLines() const {
    QStringList lines;
    if (logCount_ == 0)
        return lines;
    for (QTextBlock b = w_.RichEdit2->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

QStringList Chat::recordAtExit() const {
    return w_.CheckBox7->isChecked() ? logLines() : QStringList();
}

void Chat::SendChat(bool send) {
    QString note = w_.RichEdit1->toPlainText();
    note.remove(QLatin1Char('\n'));
    note.remove(QLatin1Char('\r'));
    note.prepend(w_.Edit1->text());
    // A note to everybody is logged when it comes back from the network, like
    // everybody else's.
    if (!w_.CheckBox1->isChecked())
        log(note);
    if (note.isEmpty())
        note = kEmptyNote;
    if (send) {
        const QByteArray bytes = encryption_.Scramble(text::encode(note));
        qCDebug(lcChat) << "note sent" << note << (w_.CheckBox1->isChecked() ? "to all" : "");
        if (w_.CheckBox1->isChecked()) {
            if (!own_.SendToOwnNetwork(endpoint_, bytes))
                return; // nothing went out: the note stays for another try
        } else {
            members_.SendToMembers(endpoint_, bytes);
        }
    }
    w_.RichEdit1->clear();
}

void Chat::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (NumberBytes >= kBound)
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw || lumo_.dropsFrom(FromIP))
        return;
    QString note = text::decode(encryption_.Unscramble(*raw));
    if (note == kEmptyNote)
        note.clear();
    qCDebug(lcChat) << "note from" << FromIP << note;
    log(note);
    flash();
}

void Chat::paint(const QColor& background) {
    for (QPlainTextEdit* e : {w_.RichEdit2, static_cast<QPlainTextEdit*>(w_.RichEdit1)}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, background);
        e->setPalette(pal);
    }
}

void Chat::flash() {
    paint(warning_);
    w_.Timer1->start(2000);
}

void Chat::Timer1Timer() {
    paint(normal_);
    w_.Timer1->stop();
}

void Chat::setNormalColour(const QColor& c) {
    normal_ = c;
    if (!w_.Timer1->isActive())
        paint(c);
}

QColor Chat::textColour() const {
    return w_.RichEdit1->palette().color(QPalette::Text);
}

void Chat::setTextColour(const QColor& c) {
    for (QPlainTextEdit* e : {w_.RichEdit2, static_cast<QPlainTextEdit*>(w_.RichEdit1)}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Text, c);
        e->setPalette(pal);
    }
}

// ---- the periodic note ---------------------------------------------------------

qint64 Chat::periodMs() const {
    // The arrows stop at one minute; a box emptied or set to 0 by hand counts
    // as one minute too, or a note would go out at every tick.
    bool ok = false;
    const int minutes = w_.Edit2->text().trimmed().toInt(&ok);
    return qint64(ok ? std::max(1, minutes) : 1) * 60000;
}

void Chat::CheckBox2Click() {
    if (w_.CheckBox2->isChecked()) {
        due_ = clock_.monotonicMs() + periodMs();
        advancePending_ = true;
        w_.Timer2->start(1000);
    } else {
        w_.Timer2->stop();
        w_.Label3->setText(kStopped);
        advancePending_ = false;
    }
}

void Chat::Edit2Change() {
    const QString t = w_.Edit2->text().trimmed();
    bool ok = false;
    t.toInt(&ok);
    if (t.isEmpty()) {
        w_.Edit2->setText(QStringLiteral("0"));
        return; // the box's change restarts the count
    }
    if (!ok) {
        w_.Edit2->setText(QStringLiteral("5"));
        return;
    }
    if (w_.CheckBox2->isChecked())
        due_ = clock_.monotonicMs() + periodMs();
}

void Chat::prepareNote(const QString& text) {
    QStringList lines = w_.RichEdit1->toPlainText().split(QLatin1Char('\n'));
    lines[0] = text;
    if (w_.CheckBox5->isChecked()) {
        const QTime t = clock_.now().time();
        lines << QStringLiteral("（%1時%2分%3秒)").arg(t.hour()).arg(t.minute()).arg(t.second());
    }
    w_.RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
}

void Chat::Timer2Timer() {
    const qint64 now = clock_.monotonicMs();
    if (now >= due_) {
        flash();
        prepareNote(w_.Edit3->text());
        SendChat(w_.CheckBox4->isChecked());
        // One note for the moment that came; a stalled station does not make
        // up for the ones it missed.
        while (due_ <= now)
            due_ += periodMs();
        advancePending_ = true;
    }
    if (w_.CheckBox3->isChecked() && advancePending_ && now >= due_ - kAdvanceMs) {
        advancePending_ = false;
        prepareNote(w_.Edit4->text());
        flash();
        SendChat(w_.CheckBox4->isChecked());
    }
    const qint64 left = due_ - now;
    w_.Label3->setText(
        QStringLiteral("Time left: %1min %2sec").arg(left / 60000).arg((left / 1000) % 60));
}

// ---- buttons ---------------------------------------------------------------------

void Chat::Button1Click() {
    const QString proposal = DisplayLog::automaticStem(clock_.now()) + kNameTail;
    const auto path =
        choosers_.saveFile(state_.programDirectory, proposal, kFilter, QStringLiteral("txt"));
    if (!path)
        return;
    // The log is emptied only once it is safely in the file.
    QString error;
    if (!settings::writeLines(*path, logLines(), &error)) {
        messages_.show(error);
        return;
    }
    w_.RichEdit2->clear();
    logCount_ = 0;
    w_.RichEdit1->setFocus();
}

void Chat::Button2Click() {
    const auto choice = choosers_.font(w_.RichEdit1->font(), textColour());
    if (!choice)
        return;
    w_.RichEdit1->setFont(choice->font);
    w_.RichEdit2->setFont(choice->font);
    setTextColour(choice->color);
}

void Chat::Button3Click() {
    if (const auto c = choosers_.color(normal_))
        setNormalColour(*c);
}

void Chat::Button4Click() {
    if (const auto c = choosers_.color(warning_))
        warning_ = *c;
}

} // namespace quorel
