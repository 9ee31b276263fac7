#include "caption/monitor.h"

#include "base/int_text.h"
#include "base/services.h"
#include "caption/input_part.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "net/link_encryption.h"
#include "net/nmudp.h"
#include "text/cp932.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace quorel {

Q_LOGGING_CATEGORY(lcMonitor, "quorel.monitor", QtWarningMsg)

MonitorPart::MonitorPart(const Controls& c, MemberList& members, Partner& partner,
                         LinkEncryption& encryption, Messages& messages, QObject* parent)
    : QObject(parent), c_(c), members_(members), partner_(partner), encryption_(encryption),
      messages_(messages) {
    c_.NMUDP2->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP2DataReceived(s, n, f, p);
    };
    c_.NMUDP7->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP7DataReceived(s, n, f, p);
    };
    c_.Timer4->setSingleShot(true);
    connect(c_.Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
    connect(c_.Edit68, &QLineEdit::textChanged, this, [this] {
        reportErrors(messages_, [&] {
            if (c_.Edit68->text().isEmpty()) {
                c_.Edit68->setText(QStringLiteral("500"));
                return;
            }
            const int ms = toInt(c_.Edit68->text());
            if (c_.Timer4->isActive())
                c_.Timer4->start(ms);
        });
    });
    monitorViewport_ = c_.RichEdit27->viewport();
    c_.RichEdit27->viewport()->installEventFilter(this);
}

bool MonitorPart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == monitorViewport_ && event->type() == QEvent::MouseButtonRelease)
        RichEdit27Click();
    return QObject::eventFilter(watched, event);
}

void MonitorPart::RichEdit27Click() {
    c_.RichEdit1->setFocus();
}

QString MonitorPart::withSquares(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("■"));
}

QString MonitorPart::inputText(const QTextEdit* editor) {
    return wireText(editor->toPlainText());
}

bool MonitorPart::inputEmpty(const QTextEdit* editor) {
    return editor->document()->firstBlock().text().isEmpty();
}

void MonitorPart::SendOnSettingsSocket(const QString& text) {
    c_.NMUDP2->SendDatagram(encryption_.Scramble(text::encode(text)));
}

void MonitorPart::report(int key) {
    report(c_.RichEdit1, key);
}

void MonitorPart::report(const QTextEdit* editor, int key) {
    const bool clearing = key == Qt::Key_Backspace || key == Qt::Key_Escape;
    const bool empty = inputEmpty(editor);
    if (partner_.flag())
        SendOnSettingsSocket(empty ? (clearing ? kClear : kNull) : inputText(editor));
    if (!c_.CheckBox12->isChecked())
        return;
    const QString text = empty ? (clearing ? kErased : kLineFeed) : inputText(editor);
    const QByteArray body =
        encryption_.Scramble(text::encode(c_.Edit35->text() + QLatin1Char(',') + text));
    members_.SendToMembers(*c_.NMUDP7, body);
}

void MonitorPart::NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw)
        return;
    QString body = text::decode(encryption_.Unscramble(*raw));
    if (c_.CheckBox57->isChecked())
        body = withSquares(body);
    if (body == kNull) {
        qCDebug(lcMonitor) << "partner input" << body;
        c_.RichEdit27->clear();
    } else if (body == kClear) {
        qCDebug(lcMonitor) << "partner input" << body;
        c_.RichEdit27->setPlainText(c_.Edit66->text());
        c_.Timer4->start(intOfBox(c_.Edit68->text()).value_or(500));
    } else if (body.startsWith(QLatin1String("$set$")) || body == QLatin1String("$end$")) {
        // Settings from the partner, never monitor text.
        if (settingsBody)
            settingsBody(body, FromIP);
    } else {
        qCDebug(lcMonitor) << "partner input" << body;
        c_.RichEdit27->setPlainText(body);
        if (c_.CheckBox55->isChecked())
            c_.RichEdit27->moveCursor(QTextCursor::End);
    }
}

void MonitorPart::Timer4Timer() {
    c_.Timer4->stop();
    c_.RichEdit27->clear();
}

void MonitorPart::NMUDP7DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    if (!c_.CheckBox12->isChecked())
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw)
        return;
    QString body = text::decode(encryption_.Unscramble(*raw));
    if (c_.CheckBox49->isChecked())
        body = withSquares(body);
    const qsizetype comma = body.indexOf(QLatin1Char(','));
    if (comma < 0)
        return;
    const QString address = body.left(comma);
    QString text = body.mid(comma + 1);
    if (c_.eightBlank->isChecked() && (text == kErased || text == kLineFeed))
        text = QStringLiteral(" ");
    for (int k = 0; k < 8; ++k) {
        if (members_.address(k) != address)
            continue;
        QTextEdit* pane = c_.panes[static_cast<std::size_t>(k)];
        qCDebug(lcMonitor) << "member" << k + 1 << "input" << text;
        pane->setPlainText(text);
        if (c_.CheckBox56->isChecked())
            pane->moveCursor(QTextCursor::End);
        return;
    }
}

} // namespace quorel
