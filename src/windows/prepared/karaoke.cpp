#include "windows/prepared/karaoke.h"

#include "base/int_text.h"
#include "base/services.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "settings/settings_file.h"
#include "settings/settings_values.h"
#include "text/cp932.h"
#include "windows/prepared/karaoke_window.h"
#include "wire/port_plan.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

namespace quorel {

Q_LOGGING_CATEGORY(lcKaraoke, "quorel.karaoke", QtWarningMsg)

const QString KaraokeRemote::kColourNote =
    QStringLiteral("バックコート＋英字で挿入された画は色が変わりません。\n"
                   "変化色は、従来のカラオケの様な「加算」ではなく直接塗ります。\n"
                   "背景に白以外を指定したり、背景画を指定することができます。");

const QString KaraokeRemote::kKaraokeNote =
    QStringLiteral("指定した色は、元の文字色に「加算」されます。\n"
                   "「加算」は、絵の具を混ぜるのではなく光線のそれです。\n"
                   "\n"
                   "元が黒ならば、指定した色がそのまま出ます。\n"
                   "元が白の場合は、どの様な色を加算しても白のままです。\n"
                   "\n"
                   "元の文字色は、黒を推奨します。\n"
                   "また、背景色は、白の固定です。\n"
                   "\n"
                   "変更した色はスライドバーを動かすと反映します。\n");

KaraokeRemote::KaraokeRemote(TFmojikara& window, const Controls& c, LinkEncryption& encryption,
                             const LumoLink& lumo, const StationState& state, Messages& messages,
                             Choosers& choosers, QObject* parent)
    : QObject(parent), w_(window), c_(c), encryption_(encryption), lumo_(lumo), state_(state),
      messages_(messages), choosers_(choosers) {
    hooks_.beep = [] { QApplication::beep(); };
    auto guarded = [this](auto handler) {
        return [this, handler] { reportErrors(messages_, handler); };
    };
    connect(w_.TrackBar1, &QSlider::valueChanged, this, guarded([this] { TrackBar1Change(); }));
    connect(w_.TrackBar1, &KaraokeTrackBar::arrowKey, this, [this](int key, bool shift) {
        reportErrors(messages_, [&] { TrackBar1KeyDown(key, shift); });
    });
    connect(w_.CheckBox59, &QCheckBox::toggled, this, guarded([this] { CheckBox59Click(); }));
    connect(w_.CheckBox1, &QCheckBox::toggled, this, guarded([this] { CheckBox1Click(); }));
    connect(w_.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(w_.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(w_.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(w_.Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(w_.Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
    connect(w_.Button6, &QPushButton::clicked, this, guarded([this] { Button6Click(); }));
    connect(w_.Button7, &QPushButton::clicked, this, guarded([this] { Button7Click(); }));
    connect(w_.Edit2, &QLineEdit::textChanged, this, guarded([this] { Edit2Change(); }));
    connect(w_.Edit3, &QLineEdit::textChanged, this, guarded([this] { Edit3Change(); }));
    // A new column count shows the column reached at once.
    connect(w_.Edit4, &QLineEdit::textChanged, this, [this] {
        reportErrors(messages_, [&] {
            if (w_.Edit4->text().trimmed().isEmpty())
                return;
            w_.Edit5->setText(QString::number(w_.TrackBar1->value() * columns() / 100));
        });
    });

    // The operator works with the arrow keys: after any button or arrow of
    // the remote, and whenever the window comes to the front, the track bar
    // has the keyboard.
    for (QPushButton* b : {w_.Button1, w_.Button2, w_.Button3, w_.Button4, w_.Button5, w_.Button6})
        connect(b, &QPushButton::clicked, this, [this] { focusTrackBar(); });
    for (QSpinBox* s : {w_.UpDown1, w_.UpDown2, w_.UpDown4})
        connect(s, &QSpinBox::valueChanged, this, [this] { focusTrackBar(); });
    connect(&w_, &TFmojikara::activated, this, [this] { focusTrackBar(); });
}

int KaraokeRemote::columns() const {
    // A line has at least one column: a count of 0 or less (typed, or from
    // a settings file) would otherwise divide by zero at the next arrow key.
    return std::max(1, toInt(w_.Edit4->text()));
}

bool KaraokeRemote::sending() const {
    return w_.CheckBox59->isChecked() || w_.CheckBox1->isChecked();
}

void KaraokeRemote::send(const QString& body) {
    if (!sending() || !hooks_.partnerNominated || !hooks_.partnerNominated())
        return;
    const QString to = hooks_.partnerAddress ? hooks_.partnerAddress() : QString();
    if (to.isEmpty())
        return;
    TNMUDP& ep = *c_.NMUDP1;
    const QByteArray bytes = encryption_.Scramble(text::encode(body));
    qCDebug(lcKaraoke) << "position" << body << "to" << to << ep.LocalPort();
    ep.RemoteHost = to;
    ep.RemotePort = ep.LocalPort();
    ep.SendDatagram(bytes);
    // The same-PC display listens on the copy port of the mode it shows.
    lumo_.SendLumoCopy(ep, bytes, w_.CheckBox1->isChecked() ? kKaraokePort : kKaraokeColourPort);
}

void KaraokeRemote::TrackBar1Change() {
    const int pos = w_.TrackBar1->value();
    w_.Edit5->setText(QString::number(pos * columns() / 100));
    send(QString::number(pos));
    // The end of the line starts the next one; going back past its start
    // goes to the end. Each jump is a move of its own and is sent as well.
    if (pos >= 100) {
        if (hooks_.beep)
            hooks_.beep();
        w_.TrackBar1->setValue(1);
    } else if (pos <= 0) {
        if (hooks_.beep)
            hooks_.beep();
        w_.TrackBar1->setValue(99);
    }
}

void KaraokeRemote::TrackBar1KeyDown(int key, bool shift) {
    QSlider& bar = *w_.TrackBar1;
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left: {
        const int columnsPerKey = toInt((shift ? w_.Edit3 : w_.Edit2)->text());
        const int step = columnsPerKey * 100 / columns();
        bar.setValue(bar.value() + (key == Qt::Key_Right ? step : -step));
        break;
    }
    case Qt::Key_Down:
    case Qt::Key_Up:
        bar.setValue(1);
        send(key == Qt::Key_Down ? kNext : kBefore);
        break;
    default:
        break;
    }
}

void KaraokeRemote::CheckBox59Click() {
    if (w_.CheckBox59->isChecked()) {
        w_.CheckBox1->setChecked(false);
        w_.GroupBox2->setVisible(true);
    }
    partnerCheck(w_.CheckBox59, kKaraokeColourPort);
}

void KaraokeRemote::CheckBox1Click() {
    if (w_.CheckBox1->isChecked())
        w_.CheckBox59->setChecked(false);
    // The karaoke display counts its columns itself.
    w_.GroupBox2->setVisible(!w_.CheckBox1->isChecked());
    partnerCheck(w_.CheckBox1, kKaraokePort);
}

void KaraokeRemote::partnerCheck(QCheckBox* box, int base) {
    if (!box->isChecked())
        return;
    // A settings file may tick the box before anybody is a partner; a user
    // is told at once that the remote has nobody to drive.
    if (state_.settingsReady && !(hooks_.partnerNominated && hooks_.partnerNominated())) {
        box->setChecked(false);
        showIfEnabled(messages_, c_.CheckBox19, kNoPartner);
        return;
    }
    moveEndpoint(base);
    if (state_.settingsReady)
        focusTrackBar();
}

void KaraokeRemote::moveEndpoint(int base) {
    const int port = base + channelOffset(hooks_.channelIndex ? hooks_.channelIndex() : 0);
    TNMUDP& ep = *c_.NMUDP1;
    if (ep.LocalPort() != port)
        ep.setLocalPort(port);
    ep.RemotePort = port;
}

void KaraokeRemote::focusTrackBar() {
    if (w_.isVisible() && w_.PageControl1->currentWidget() == w_.TabSheet1)
        w_.TrackBar1->setFocus();
}

void KaraokeRemote::sendSettings(const QStringList& lines) {
    // Without any partner address there is nobody to tell: the message is
    // not sent rather than failing half way.
    const QString to = hooks_.partnerAddress ? hooks_.partnerAddress() : QString();
    if (to.isEmpty() || !hooks_.sendSettingsMessage)
        return;
    hooks_.sendSettingsMessage(lines);
}

void KaraokeRemote::chooseColour(QCheckBox* box, int key, const QString& note) {
    if (const auto chosen = choosers_.color(colour_)) {
        colour_ = *chosen;
        showIfEnabled(messages_, c_.CheckBox19, note);
    }
    box->setChecked(true);
    sendSettings({QStringLiteral("$set$%1:%2:「文字カラオケ」ウインドの変化色")
                      .arg(key, 3, 10, QLatin1Char('0'))
                      .arg(settings::valueOf(colour_)),
                  QStringLiteral("$set$619:true:再描画")});
}

void KaraokeRemote::Button3Click() {
    chooseColour(w_.CheckBox59, 450, kColourNote);
}

void KaraokeRemote::Button1Click() {
    chooseColour(w_.CheckBox1, 184, kKaraokeNote);
}

void KaraokeRemote::onOff(const QStringList& lines) {
    if (!hooks_.partnerNominated || !hooks_.partnerNominated())
        showIfEnabled(messages_, c_.CheckBox19, kPartnerMissing);
    sendSettings(lines);
}

void KaraokeRemote::Button2Click() {
    onOff({QStringLiteral("$set$441:true:「文字カラオケ」ウインドの「自分の色を変える」のチェック"),
           QStringLiteral("$set$443:true:「文字カラオケ」ウインドの「受信する」のチェック")});
}

void KaraokeRemote::Button4Click() {
    onOff(
        {QStringLiteral("$set$441:false:「文字カラオケ」ウインドの「自分の色を変える」のチェック"),
         QStringLiteral("$set$443:false:「文字カラオケ」ウインドの「受信する」のチェック")});
}

void KaraokeRemote::Button5Click() {
    onOff({QStringLiteral("$set$174:on:「色変わり」表示する"),
           QStringLiteral("$set$176:on:「色変わり」受信する")});
}

void KaraokeRemote::Button6Click() {
    onOff({QStringLiteral("$set$174:off:「色変わり」表示しない"),
           QStringLiteral("$set$176:off:「色変わり」受信しない")});
}

void KaraokeRemote::Button7Click() {
    const auto path =
        choosers_.saveFile(state_.programDirectory, kSaveName, kSaveFilter, QStringLiteral("txt"));
    if (!path)
        return;
    QString error;
    if (!settings::writeLines(*path, settings::splitLines(w_.RichEdit1->toPlainText()), &error))
        messages_.show(error);
}

void KaraokeRemote::atLeastOne(QLineEdit* edit) {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (ok && v <= 0)
        edit->setText(QStringLiteral("1"));
}

void KaraokeRemote::Edit2Change() {
    atLeastOne(w_.Edit2);
}

void KaraokeRemote::Edit3Change() {
    atLeastOne(w_.Edit3);
}

} // namespace quorel
