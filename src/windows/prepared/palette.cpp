#include "windows/prepared/palette.h"

#include "base/services.h"
#include "caption/input_part.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/nmudp.h"
#include "settings/settings_file.h"
#include "text/cp932.h"
#include "text/sanitise.h"
#include "windows/prepared/palette_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>

namespace quorel {

Q_LOGGING_CATEGORY(lcPalette, "quorel.palette", QtWarningMsg)

int paneNumberOf(const QString& body, QString* rest) {
    const qsizetype comma = body.indexOf(QLatin1Char(','));
    const QString head = comma < 0 ? body : body.left(comma);
    if (rest)
        *rest = comma < 0 ? QString() : body.mid(comma + 1);
    if (head.isEmpty())
        return -1;
    const QChar c = head.at(0);
    if (c < QLatin1Char('1') || c > QLatin1Char('6'))
        return -1;
    return c.unicode() - u'1';
}

Palette::Palette(TFkakunin& window, TFshusei_moni& monitor, const Controls& c, MemberList& members,
                 LinkEncryption& encryption, const StationState& state, Messages& messages,
                 Choosers& choosers, QObject* parent)
    : QObject(parent), w_(window), monitor_(monitor), c_(c), members_(members),
      encryption_(encryption), state_(state), messages_(messages), choosers_(choosers) {
    monitorLines_ = {kFirstMonitorLine,   QStringLiteral("2"), QStringLiteral("3"),
                     QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    showMonitor();
    c_.NMUDP1->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP1DataReceived(s, n, f, p);
    };
    c_.NMUDP2->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP2DataReceived(s, n, f, p);
    };
    c_.NMUDP3->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP3DataReceived(s, n, f, p);
    };
    auto guarded = [this](auto&& f) { return [this, f] { reportErrors(messages_, f); }; };
    for (int k = 0; k < kPanes; ++k) {
        PalettePane* p = w_.panes[std::size_t(k)];
        p->keyDown = [this, k](QKeyEvent* e) {
            bool taken = false;
            reportErrors(messages_, [&] { taken = takeKey(k, e); });
            return taken;
        };
        connect(p, &QTextEdit::textChanged, this, guarded([this, k] { paneChanged(k, false); }));
        connect(p, &PalettePane::keyReleased, this, [this, k](int key) {
            reportErrors(messages_, [&] { paneChanged(k, key == Qt::Key_Backspace); });
        });
    }
    connect(c_.CheckBox21, &QCheckBox::toggled, this, guarded([this] { CheckBox21Click(); }));
    connect(c_.Button23, &QPushButton::clicked, this, guarded([this] { Button23Click(); }));
    connect(c_.Button35, &QPushButton::clicked, this, guarded([this] { Button35Click(); }));
    connect(&w_, &TFkakunin::closed, this, guarded([this] { windowClosed(); }));
    // However the palette comes up (the button, a settings file), this
    // station is the corrector from then on.
    connect(&w_, &TFkakunin::shown, this, guarded([this] {
        c_.CheckBox21->setChecked(false);
        c_.CheckBox21->hide();
        w_.RichEdit1->setFocus();
    }));
    connect(w_.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(w_.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(w_.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(monitor_.Button1, &QPushButton::clicked, this, guarded([this] { monitorFont(); }));
    connect(monitor_.Button2, &QPushButton::clicked, this,
            guarded([this] { monitorBackground(); }));
}

bool Palette::linkOn() const {
    return w_.CheckBox30->isChecked();
}

QString Palette::paneText(int k) const {
    return w_.panes[std::size_t(k)]->toPlainText();
}

void Palette::send(TNMUDP& endpoint, const QString& body) {
    members_.SendToMembers(endpoint, encryption_.Scramble(text::encode(body)));
}

void Palette::SendToPalette(const QString& s) {
    send(*c_.NMUDP1, s);
}

std::optional<QString> Palette::receive(TNMUDP* sender, int numberBytes) {
    if (numberBytes >= kBound)
        return std::nullopt;
    const auto raw = sender->receiveText(numberBytes, kBound);
    if (!raw)
        return std::nullopt;
    return text::decode(text::sanitiseBytes(encryption_.Unscramble(*raw)));
}

// ---- the queue ------------------------------------------------------------------

void Palette::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (!w_.isVisible() || linkOn())
        return;
    const auto t = receive(Sender, NumberBytes);
    if (!t || t->isEmpty() || *t == kLineFeed)
        return;
    qCDebug(lcPalette) << "palette input from" << FromIP << *t;
    queue(*t);
}

void Palette::queue(const QString& received) {
    QString text = received;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Once sentences wait, a newcomer waits behind them: arrival order holds.
    if (overflow_.isEmpty()) {
        for (int k = 0; k < kPanes; ++k) {
            if (paneText(k).isEmpty()) {
                setPane(k, text);
                return;
            }
        }
        PalettePane& last = *w_.panes[kPanes - 1];
        if (last.bytes() + text::byteLength(received) <= kAppendLimit) {
            QTextCursor cur(last.document());
            cur.movePosition(QTextCursor::End);
            cur.insertText(text);
            return;
        }
    }
    // A full palette keeps the sentence instead of losing a typist's words.
    overflow_ << text;
    refill();
    showWaiting();
}

void Palette::refill() {
    while (!overflow_.isEmpty()) {
        int last = -1;
        for (int k = 0; k < kPanes; ++k)
            if (!paneText(k).isEmpty())
                last = k;
        // Only the panes below the last sentence: an emptied pane above a
        // waiting one would put the newcomer ahead of it.
        if (last == kPanes - 1)
            break;
        setPane(last + 1, overflow_.takeFirst());
    }
    showWaiting();
}

void Palette::showWaiting() {
    w_.LabelWaiting->setText(kWaiting.arg(overflow_.size()));
    w_.LabelWaiting->setVisible(!overflow_.isEmpty());
    w_.layoutPanes();
}

void Palette::setPane(int k, const QString& text) {
    w_.panes[std::size_t(k)]->setPlainText(text);
}

void Palette::compact() {
    for (int k = 0; k + 1 < kPanes; ++k) {
        if (paneText(k).isEmpty()) {
            setPane(k, paneText(k + 1));
            setPane(k + 1, QString());
        }
    }
}

// ---- keys -----------------------------------------------------------------------

bool Palette::takeKey(int k, QKeyEvent* e) {
    QTextEdit* pane = w_.panes[std::size_t(k)];
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Ctrl+Enter is a line break inside the sentence.
        if (e->modifiers() & Qt::ControlModifier)
            return false;
        enterIn(k);
        return true;
    case Qt::Key_Escape:
        escapeIn(k);
        return true;
    case Qt::Key_F12:
        F12();
        return true;
    case Qt::Key_F9:
        if (hooks_.undo)
            hooks_.undo(shift, pane);
        return true;
    case Qt::Key_F11:
        if (hooks_.f11 && hooks_.f11(shift))
            return true;
        return hooks_.functionKey && hooks_.functionKey(pane, e->key(), shift);
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_F6:
    case Qt::Key_F7:
    case Qt::Key_F8:
        return hooks_.functionKey && hooks_.functionKey(pane, e->key(), shift);
    default:
        return false;
    }
}

void Palette::enterIn(int k) {
    QString s = paneText(k);
    if (s.endsWith(QLatin1Char('\n')))
        s.chop(1);
    // The sentence goes out as it is, past the typist's own unsent text in the
    // input part; refused (too long), it stays in its pane to be shortened.
    if (hooks_.sendSentence && hooks_.sendSentence(wireText(s)) != 0)
        return;
    qCDebug(lcPalette) << "confirmed pane" << k + 1 << s;
    setPane(k, QString());
    if (k < kPanes - 1 && !linkOn())
        compact();
    refill();
}

void Palette::escapeIn(int k) {
    setPane(k, QString());
    if (k < kPanes - 1 && !linkOn())
        compact();
    refill();
}

void Palette::F12() {
    // A line feed on the screen; neither the pane nor the input part changes.
    if (hooks_.sendSentence)
        hooks_.sendSentence(QString());
}

// ---- monitor and link ---------------------------------------------------------------

QString Palette::monitorText(int k, bool backspace) const {
    const QString t = paneText(k);
    if (t.section(QLatin1Char('\n'), 0, 0).isEmpty())
        return backspace ? kErased : QString();
    return QString(t).remove(QLatin1Char('\n'));
}

void Palette::paneChanged(int k, bool backspace) {
    const QString number = QString::number(k + 1) + QLatin1Char(',');
    if (!c_.CheckBox21->isChecked())
        send(*c_.NMUDP2, number + monitorText(k, backspace));
    if (linkOn() && !receivingLink_)
        send(*c_.NMUDP3, number + QString(paneText(k)).remove(QLatin1Char('\n')));
}

void Palette::NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    if (!monitor_.isVisible())
        return;
    const auto t = receive(Sender, NumberBytes);
    if (!t || t->isEmpty())
        return;
    QString rest;
    const int k = paneNumberOf(*t, &rest);
    if (k < 0)
        return;
    // One line per pane, whatever the sender put in.
    rest.remove(QLatin1Char('\r'));
    rest.remove(QLatin1Char('\n'));
    monitorLines_[std::size_t(k)] = rest;
    showMonitor();
}

void Palette::showMonitor() {
    QStringList lines(monitorLines_.begin(), monitorLines_.end());
    monitor_.RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
}

void Palette::NMUDP3DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (!linkOn())
        return;
    const auto t = receive(Sender, NumberBytes);
    if (!t || t->isEmpty())
        return;
    QString rest;
    const int k = paneNumberOf(*t, &rest);
    if (k < 0)
        return;
    qCDebug(lcPalette) << "palette link from" << FromIP << k + 1 << rest;
    rest.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Not sent back on the link; the monitors still hear of it.
    const QScopedValueRollback<bool> receiving(receivingLink_, true);
    setPane(k, rest);
}

// ---- roles and buttons --------------------------------------------------------------

void Palette::CheckBox21Click() {
    if (c_.CheckBox21->isChecked()) {
        w_.hide();
        c_.Button23->hide();
        c_.CheckBox11->setChecked(true);
        w_.CheckBox30->setChecked(false);
    } else {
        c_.Button23->show();
    }
}

void Palette::Button23Click() {
    w_.PageControl1->setCurrentWidget(w_.TabSheet1);
    w_.show();
    w_.raise();
    w_.activateWindow();
    w_.RichEdit1->setFocus();
}

void Palette::Button35Click() {
    monitor_.show();
    monitor_.raise();
}

void Palette::windowClosed() {
    c_.CheckBox21->show();
    w_.CheckBox30->setChecked(false);
}

void Palette::Button1Click() {
    const auto choice =
        choosers_.font(w_.RichEdit1->font(), w_.RichEdit1->palette().color(QPalette::Text));
    if (!choice)
        return;
    for (PalettePane* p : w_.panes) {
        p->setFont(choice->font);
        QPalette pal = p->palette();
        pal.setColor(QPalette::Text, choice->color);
        p->setPalette(pal);
    }
}

void Palette::Button2Click() {
    const auto c = choosers_.color(w_.RichEdit1->palette().color(QPalette::Base));
    if (!c)
        return;
    for (PalettePane* p : w_.panes) {
        QPalette pal = p->palette();
        pal.setColor(QPalette::Base, *c);
        p->setPalette(pal);
    }
}

void Palette::monitorFont() {
    QTextEdit* e = monitor_.RichEdit1;
    const auto choice = choosers_.font(e->font(), e->palette().color(QPalette::Text));
    if (!choice)
        return;
    e->setFont(choice->font);
    QPalette pal = e->palette();
    pal.setColor(QPalette::Text, choice->color);
    e->setPalette(pal);
}

void Palette::monitorBackground() {
    QTextEdit* e = monitor_.RichEdit1;
    const auto c = choosers_.color(e->palette().color(QPalette::Base));
    if (!c)
        return;
    QPalette pal = e->palette();
    pal.setColor(QPalette::Base, *c);
    e->setPalette(pal);
}

void Palette::Button3Click() {
    const auto path =
        choosers_.saveFile(state_.programDirectory, kFileName, kFilter, QStringLiteral("txt"));
    if (!path)
        return;
    QString error;
    if (!settings::writeLines(*path, w_.RichEdit7->toPlainText().split(QLatin1Char('\n')), &error))
        messages_.show(error);
}

} // namespace quorel
