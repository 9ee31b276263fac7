#include "windows/prepared/preroll_monitor.h"

#include "base/services.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "windows/prepared/preroll_window.h"

#include <QCheckBox>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTimer>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcPreroll)

const QString PrerollMonitor::kAllNote =
    QStringLiteral("「班全員に送信」のチェックを入れると、前ロール１，２，３で\n"
                   "前ロールのカーソル位置の前２行と後５行を入力班全員に送信します。\n"
                   "\n"
                   "行数は「補助Ｗ」ページの「前ロール」の「モニターの行数を２倍」\n"
                   "のチェックを入れると前４行と後１０行になります。\n"
                   "\n"
                   "＜注意＞\n"
                   "受信の指定はありません。\n"
                   "「テンプレート前ロールモニター」を表示すれば\n"
                   "送られて来た前ロールを自動的に表示します。 ");
const QString PrerollMonitor::kPartnerNote =
    QStringLiteral("「パートナーのみ」のチェックを入れると、前ロール１，２，３で\n"
                   "前ロールのカーソル位置の前２行と後５行をパートナーに送信します。\n"
                   "\n"
                   "行数は「補助Ｗ」ページの「前ロール」の「モニターの行数を２倍」\n"
                   "のチェックを入れると前４行と後１０行になります。\n"
                   "\n"
                   "＜注意＞\n"
                   "受信の指定はありません。\n"
                   "「テンプレート前ロールモニター」を表示すれば\n"
                   "送られて来た前ロールを自動的に表示します。 ");
const QString PrerollMonitor::kSelfNote =
    QStringLiteral("「自分に表示」のチェックを入れると、前ロール１，２，３で\n"
                   "前ロールのカーソル位置の前２行と後５行を\n"
                   "自分の「テンプレート前ロールモニター」に表示します。\n"
                   "\n"
                   "行数は「補助Ｗ」ページの「前ロール」の「モニターの行数を２倍」\n"
                   "のチェックを入れると前４行と後１０行になります。\n"
                   "\n"
                   "＜注意＞\n"
                   "この機能は、他の人にどのように表示されているか確認するためです。");
const QString PrerollMonitor::kSendNote =
    QStringLiteral("「送」(送信)のチェックを入れて、下のロールを指定すると、\n"
                   "入力班全員にカーソル位置の行番を送信します。\n"
                   "\n"
                   "＜注意＞\n"
                   "「モニターに送信」の様に送信先は選べません。 ");
const QString PrerollMonitor::kReceiveNote =
    QStringLiteral("「受」(受信)のチェックを入れて、下のロールを指定すると、\n"
                   "送信されて来た行番に前ロールをスクロールします。\n"
                   "\n"
                   "表示していない前ロールを指定した場合は、スクロールしません。\n"
                   "行番号を表示しておくと、どこを流しているか判り易いと思います。\n"
                   "表示する行を連動するだけですから、修正などは反映されません。\n"
                   "修正を見るためにモニターも表示すると良いと思います。 ");

PrerollMonitor::PrerollMonitor(TForm11& preroll, TForm3& window, const Controls& c,
                               MemberList& members, LinkEncryption& encryption,
                               const StationState& state, Messages& messages, Choosers& choosers,
                               QObject* parent)
    : QObject(parent), p_(preroll), w_(window), c_(c), members_(members), encryption_(encryption),
      state_(state), messages_(messages), choosers_(choosers) {
    c_.NMUDP1->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int port) {
        NMUDP1DataReceived(s, n, f, port);
    };
    c_.NMUDP2->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int port) {
        NMUDP2DataReceived(s, n, f, port);
    };
    c_.NMUDP5->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int port) {
        NMUDP5DataReceived(s, n, f, port);
    };
    for (int k = 0; k < 3; ++k)
        connect(p_.panes[std::size_t(k)], &PrerollPane::keyReleased, this,
                [this, k] { reportErrors(messages_, [&] { paneKeyReleased(k); }); });
    auto guarded = [this](void (PrerollMonitor::*handler)()) {
        return [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); };
    };
    connect(w_.Button1, &QPushButton::clicked, this, guarded(&PrerollMonitor::Button1Click));
    connect(w_.Button2, &QPushButton::clicked, this, guarded(&PrerollMonitor::Button2Click));
    connect(w_.CheckBox1, &QCheckBox::toggled, this, guarded(&PrerollMonitor::CheckBox1Click));
    connect(&w_, &TForm3::shown, this, [this] { showSections(); });

    // One destination for the monitor lines at a time.
    connect(p_.CheckBox9, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            p_.CheckBox11->setChecked(false);
    });
    connect(p_.CheckBox11, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            p_.CheckBox9->setChecked(false);
    });
    optionNote(p_.CheckBox9, kAllNote, true);
    optionNote(p_.CheckBox11, kPartnerNote, true);
    optionNote(p_.CheckBox10, kSelfNote, true);
    optionNote(p_.CheckBox19, kSendNote, false);
    optionNote(p_.CheckBox20, kReceiveNote, false);
}

void PrerollMonitor::optionNote(QCheckBox* box, const QString& text, bool onlyWhenReady) {
    connect(box, &QCheckBox::toggled, this, [this, text, onlyWhenReady](bool on) {
        if (on && (state_.settingsReady || !onlyWhenReady))
            showIfEnabled(messages_, c_.CheckBox19, text);
    });
}

void PrerollMonitor::showWindow() {
    w_.show();
    w_.raise();
}

QPlainTextEdit* PrerollMonitor::section(Section s) const {
    return s == Upper ? w_.RichEdit2 : w_.RichEdit1;
}

void PrerollMonitor::clearSection(Section s) {
    lines_[s].clear();
    scheduleShow();
}

void PrerollMonitor::addLine(Section s, const QString& line) {
    lines_[s].push_back(line);
    if (lines_[s].size() > kSectionLines)
        lines_[s].pop_front();
    scheduleShow();
}

QStringList PrerollMonitor::lines(bool upper) const {
    const auto& l = lines_[upper ? Upper : Lower];
    return QStringList(l.begin(), l.end());
}

void PrerollMonitor::scheduleShow() {
    if (showPending_ || !w_.isVisible())
        return;
    showPending_ = true;
    QTimer::singleShot(0, this, [this] { showSections(); });
}

void PrerollMonitor::showSections() {
    showPending_ = false;
    if (!w_.isVisible())
        return;
    for (Section s : {Lower, Upper}) {
        // Plain text: what arrives is never read as markup.
        const QString text = lines(s == Upper).join(QLatin1Char('\n'));
        if (section(s)->toPlainText() != text)
            section(s)->setPlainText(text);
    }
}

// ---- sending -------------------------------------------------------------------------

void PrerollMonitor::paneKeyReleased(int k) {
    sendMonitor(k);
    sendLink(k);
}

void PrerollMonitor::sendLine(Section s, const QString& line) {
    const QByteArray bytes = encryption_.Scramble(text::encode(line.isEmpty() ? kEmptyLine : line));
    TNMUDP& ep = s == Upper ? *c_.NMUDP2 : *c_.NMUDP1;
    if (p_.CheckBox11->isChecked()) {
        // Only to the partner; without one, to nobody.
        const QString partner = hooks_.partnerAddress ? hooks_.partnerAddress() : QString();
        if (!partner.isEmpty()) {
            ep.RemoteHost = partner;
            ep.SendDatagram(bytes);
        }
        return;
    }
    if (p_.CheckBox9->isChecked())
        members_.SendToMembers(ep, bytes);
}

void PrerollMonitor::sendMonitor(int k) {
    const PrerollPane& pane = *p_.panes[std::size_t(k)];
    const bool self = p_.CheckBox10->isChecked();
    const bool sending = p_.CheckBox9->isChecked() || p_.CheckBox11->isChecked();
    if (!self && !sending)
        return;
    const QTextDocument* doc = pane.document();
    const int c = pane.textCursor().blockNumber();
    const int n = doc->blockCount();
    const int d = c_.CheckBox48->isChecked() ? 2 : 1;
    auto lineAt = [doc, n](int index) {
        if (index == n)
            return QString();
        const QString t = doc->findBlockByNumber(index).text();
        return text::byteLength(t) >= kLineLimit ? kTooLong : t;
    };
    auto put = [&](Section s, const QString& line) {
        if (self)
            addLine(s, line);
        if (sending)
            sendLine(s, line);
    };
    auto start = [&](Section s) {
        if (self)
            clearSection(s);
        if (sending)
            sendLine(s, kClear);
    };

    start(Lower);
    for (int i = 0; i < 5 * d; ++i) {
        const int index = c + i;
        if (index > n)
            continue;
        put(Lower, lineAt(index));
    }
    start(Upper);
    for (int i = 0; i < 2 * d; ++i) {
        const int index = c - 2 * d + i;
        put(Upper, index < 0 ? QStringLiteral(" ") : lineAt(index));
    }
}

void PrerollMonitor::sendLink(int k) {
    if (!p_.CheckBox19->isChecked())
        return;
    const std::array<QRadioButton*, 3> send{p_.RadioButton9, p_.RadioButton10, p_.RadioButton11};
    if (!send[std::size_t(k)]->isChecked())
        return;
    // The line number is never scrambled.
    const int line = p_.panes[std::size_t(k)]->textCursor().blockNumber();
    members_.SendToMembers(*c_.NMUDP5, QByteArray::number(line));
}

// ---- receiving ------------------------------------------------------------------------

void PrerollMonitor::received(Section s, TNMUDP* Sender, int NumberBytes) {
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw)
        return;
    const QString line = text::decode(encryption_.Unscramble(*raw));
    if (line == kClear) {
        clearSection(s);
        return;
    }
    addLine(s, line == kEmptyLine ? QString() : line);
}

void PrerollMonitor::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    received(Lower, Sender, NumberBytes);
}

void PrerollMonitor::NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    received(Upper, Sender, NumberBytes);
}

void PrerollMonitor::NMUDP5DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP,
                                        int) {
    const auto raw = Sender->receiveText(NumberBytes, kLinkBound);
    if (!raw || !p_.isVisible() || !p_.CheckBox20->isChecked())
        return;
    // The port is the same on every channel and open to any host: what is not
    // a line number is noted, never put in front of the operator.
    bool ok = false;
    const qlonglong n = QString::fromLatin1(*raw).trimmed().toLongLong(&ok);
    if (!ok) {
        if (hooks_.note)
            hooks_.note(kNotANumber + FromIP);
        return;
    }
    int k = -1;
    if (p_.RadioButton12->isChecked())
        k = 0;
    else if (p_.RadioButton13->isChecked())
        k = 1;
    else if (p_.RadioButton14->isChecked())
        k = 2;
    if (k < 0 || !p_.paneShown(k))
        return;
    PrerollPane& pane = *p_.panes[std::size_t(k)];
    const int last = pane.document()->blockCount() - 1;
    const int line = int(std::clamp<qlonglong>(n, 0, last));
    QTextCursor cur = pane.textCursor();
    cur.setPosition(pane.document()->findBlockByNumber(line).position());
    pane.setTextCursor(cur);
    pane.ensureCursorVisible();
    qCDebug(lcPreroll) << "link from" << FromIP << "to line" << line << "of pane" << k + 1;
}

// ---- the monitor window -----------------------------------------------------------------

void PrerollMonitor::Button1Click() {
    const auto choice =
        choosers_.font(w_.RichEdit1->font(), w_.RichEdit1->palette().color(QPalette::Text));
    if (!choice)
        return;
    for (QPlainTextEdit* e : {w_.RichEdit1, w_.RichEdit2}) {
        e->setFont(choice->font);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Text, choice->color);
        e->setPalette(pal);
    }
}

void PrerollMonitor::Button2Click() {
    const auto c = choosers_.color(w_.RichEdit1->palette().color(QPalette::Base));
    if (!c)
        return;
    for (QPlainTextEdit* e : {w_.RichEdit1, w_.RichEdit2}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, *c);
        e->setPalette(pal);
    }
}

void PrerollMonitor::CheckBox1Click() {
    const auto mode =
        w_.CheckBox1->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    w_.RichEdit1->setLineWrapMode(mode);
    w_.RichEdit2->setLineWrapMode(mode);
}

} // namespace quorel
