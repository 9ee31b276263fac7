#include "windows/info/telop.h"

#include "base/int_text.h"
#include "base/services.h"
#include "members/member_list.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "windows/fonts.h"
#include "windows/info/information_window.h"
#include "wire/address.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace quorel {

Q_LOGGING_CATEGORY(lcTelop, "quorel.telop", QtWarningMsg)
// Every tick of the ticker, apart, so that the telop's traffic can be watched
// without a line every 50 ms.
Q_LOGGING_CATEGORY(lcTelopTick, "quorel.telop.tick", QtWarningMsg)

namespace {

constexpr int kPlace = 16384; // window places and sizes stay within this

QString flag(bool on) {
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

QString line(int key, const QString& value, const QString& comment) {
    return QString::number(key) + QLatin1Char(':') + value + QLatin1Char(':') + comment;
}

QString line(int key, bool on, const char* yes, const char* no) {
    return line(key, flag(on), QString::fromUtf8(on ? yes : no));
}

QString faceOf(const QFont& f) {
    return f.families().isEmpty() ? f.family() : f.families().first();
}

// The first `bytes` code page 932 bytes of s, never half a character.
QString field(const QString& s) {
    return text::leftBytes(s, Telop::kFieldBytes);
}

} // namespace

Telop::Telop(TForm15& window, const Controls& c, MemberList& members, LinkEncryption& encryption,
             const LumoLink& lumo, Messages& messages, Choosers& choosers, QObject* parent)
    : QObject(parent), w_(window), c_(c), members_(members), encryption_(encryption), lumo_(lumo),
      messages_(messages), choosers_(choosers), font_(japaneseFont(kDefaultFace, 36)) {
    TForm15& w = w_;
    c_.NMUDP1->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP1DataReceived(s, n, f, p);
    };
    auto on = [this](QPushButton* b, void (Telop::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(w.Button1, &Telop::StartLocalTelop);
    on(w.Button2, &Telop::ClearLocalTelop);
    on(w.Button5, &Telop::SendTelopToNetwork);
    on(w.Button6, &Telop::StopTelopOnNetwork);
    on(w.Button7, &Telop::AddTelopToPreroll);
    on(w.Button3, &Telop::Button3Click);
    on(w.Button4, &Telop::Button4Click);
    connect(w.Timer1, &QTimer::timeout, this,
            [this] { reportErrors(messages_, [&] { Timer1Timer(); }); });
    connect(w.Edit77, &TelopKeyCatcher::f1, this,
            [this] { reportErrors(messages_, [&] { Edit77F1(); }); });
    connect(w.Image2, &TelopPicture::dragged, this, &Telop::Image2Drag);

    // The options that exclude each other.
    connect(w.CheckBox4, &QCheckBox::toggled, this, [&w](bool checked) {
        if (checked) {
            w.CheckBox14->setChecked(false);
            w.CheckBox6->setChecked(false);
        } else if (!w.CheckBox14->isChecked()) {
            w.CheckBox9->setChecked(false);
        }
    });
    connect(w.CheckBox14, &QCheckBox::toggled, this, [&w](bool checked) {
        if (checked) {
            w.CheckBox4->setChecked(false);
            w.CheckBox6->setChecked(false);
        } else if (!w.CheckBox4->isChecked()) {
            w.CheckBox9->setChecked(false);
        }
    });
    connect(w.CheckBox3, &QCheckBox::toggled, this, [&w](bool checked) {
        if (checked)
            w.CheckBox6->setChecked(false);
    });
    // A text held at the left end would vanish at once if the window hid.
    connect(w.CheckBox11, &QCheckBox::toggled, this, [&w](bool checked) {
        if (!checked)
            return;
        w.CheckBox5->setChecked(false);
        w.CheckBox9->setChecked(false);
        w.CheckBox10->setChecked(false);
        w.CheckBox8->setChecked(false);
    });
    connect(w.CheckBox2, &QCheckBox::toggled, this,
            [&w](bool checked) { w.setStaysOnTop(checked); });
    connect(w.CheckBox6, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            reportErrors(messages_, [&] { CheckBox6Click(); });
    });
    connect(w.Edit9, &QLineEdit::textChanged, this, [&w](const QString& t) {
        bool ok = false;
        const int step = t.toInt(&ok);
        if (!ok || step < 1)
            return;
        for (QSpinBox* u : {w.UpDown4, w.UpDown5, w.UpDown6, w.UpDown7})
            u->setSingleStep(step);
    });
    for (QLineEdit* e : {w.Edit5, w.Edit6, w.Edit7, w.Edit8})
        connect(e, &QLineEdit::textChanged, this, [this] {
            if (w_.CheckBox6->isChecked())
                reportErrors(messages_, [&] { sendPlaceToPartner(); });
        });
    // The main window's twin of "Do not receive  Telop.": each follows the
    // other (an unchanged box does not answer, so they never ping-pong).
    if (c_.CheckBox16) {
        c_.CheckBox16->setChecked(w.CheckBox12->isChecked());
        connect(w.CheckBox12, &QCheckBox::toggled, c_.CheckBox16, &QCheckBox::setChecked);
        connect(c_.CheckBox16, &QCheckBox::toggled, w.CheckBox12, &QCheckBox::setChecked);
    }

    w.setStaysOnTop(w.CheckBox2->isChecked());
    paintLook();
    w.Image2->fill();
    // At the top left, as wide as the main window; the saved place is the
    // setting-mode place a display-mode window of this place would have.
    place(0, 0, c_.main ? c_.main->width() : w.width(), 350);
    saved_ = QRect(0, -kModeShift, w.width(), w.height() + kModeShift);
    if (const auto n = intOfBox(w.Edit4->text()))
        repeatCounter_ = *n;
}

void Telop::setFont(const QFont& f) {
    font_ = f;
    paintLook();
}

void Telop::setFontColour(settings::WinColour c) {
    fontColour_ = c;
    paintLook();
}

void Telop::setBackground(settings::WinColour c) {
    background_ = c;
    paintLook();
}

void Telop::paintLook() {
    w_.Image2->setLook(font_, settings::colourOf(fontColour_, Qt::black),
                       settings::colourOf(background_, Qt::white));
}

int Telop::textWidth() const {
    return QFontMetrics(font_).horizontalAdvance(w_.Edit1->text());
}

// Places are client areas throughout: a border that comes and goes with the
// modes (and the time the desktop takes to draw it) never moves the telop.
void Telop::place(int left, int top, int width, int height) {
    w_.setGeometry(left, top, std::max(1, width), std::max(1, height));
    w_.fitChildren();
}

void Telop::toDisplayMode() {
    if (w_.displayMode())
        return;
    // The place is read before and set after the new border, which would
    // otherwise move the window by its frame.
    const QRect r = w_.geometry();
    w_.setDisplayMode(true);
    place(r.x(), r.y() + kModeShift, r.width(), r.height() - kModeShift);
}

void Telop::toSettingMode(bool shift) {
    if (!w_.displayMode())
        return;
    const QRect r = w_.geometry();
    w_.setDisplayMode(false);
    if (shift)
        place(r.x(), std::max(0, r.y() - kModeShift), r.width(), r.height() + kModeShift);
    else
        place(r.x(), r.y(), r.width(), r.height());
}

void Telop::StartLocalTelop() {
    TForm15& w = w_;
    const QRect main = c_.main ? c_.main->geometry() : QRect();
    const QRect* m = c_.main ? &main : nullptr;
    const int size = font_.pointSize();
    // Everything the start reads is read before the window moves.
    const int passes = toInt(w.Edit4->text());
    const int interval = toInt(w.Edit2->text());
    if (!w.displayMode()) {
        if (w.CheckBox3->isChecked())
            place(w.geometry().x(), w.geometry().y(), w.width(),
                  int(std::trunc(size * 1.29 + 8 + kModeShift)));
        saved_ = QRect(w.geometry().x(), w.geometry().y(), w.width(), w.height());
        if (m && w.CheckBox4->isChecked())
            place(m->x(), m->y() - kModeShift, m->width(), w.height());
        if (m && w.CheckBox14->isChecked())
            place(m->x(), m->y() + m->height() - w.height(), m->width(), w.height());
        toDisplayMode();
    } else {
        if (w.CheckBox3->isChecked())
            place(w.geometry().x(), w.geometry().y(), w.width(), int(std::trunc(size * 1.29 + 8)));
        saved_ = QRect(w.geometry().x(), w.geometry().y() - kModeShift, w.width(),
                       w.height() + kModeShift);
        if (m && w.CheckBox4->isChecked())
            place(m->x(), m->y(), m->width(), w.height());
        if (m && w.CheckBox14->isChecked())
            place(m->x(), m->y() + m->height() - w.height(), m->width(), w.height());
    }
    w.fitChildren();
    w.Edit77->setFocus();
    repeatCounter_ = passes;
    offset_ = 0;
    w.Image2->fill();
    // A period of 0 would make the timer fire without pause: such a telop
    // stands still instead.
    if (interval > 0)
        w.Timer1->start(interval);
    else
        w.Timer1->stop();
    qCDebug(lcTelop) << "telop started:" << w.Edit1->text() << "at" << w.geometry().x()
                     << w.geometry().y() << w.width() << w.height() << "every" << interval << "ms";
}

void Telop::Timer1Timer() {
    TForm15& w = w_;
    const QString text = w.Edit1->text();
    const int end = w.CheckBox11->isChecked() ? 0 : -(textWidth() + 20);
    const int x = w.Image2->width() + offset_;
    if (x > end) {
        w.Image2->drawText(text, x);
        offset_ -= toInt(w.Edit3->text());
        qCDebug(lcTelopTick) << "telop drawn at" << x;
        return;
    }
    offset_ = 0;
    if (w.CheckBox1->isChecked()) {
        if (repeatCounter_ == 0)
            return; // endless
        --repeatCounter_;
        if (repeatCounter_ > 0)
            return;
        repeatCounter_ = toInt(w.Edit4->text());
    }
    w.Timer1->stop();
    qCDebug(lcTelop) << "telop ended";
    endOperations();
}

void Telop::endOperations() {
    TForm15& w = w_;
    if (w.CheckBox5->isChecked())
        w.hide();
    else
        w.Image2->drawText(w.Edit1->text(), 0);
    const bool back = w.CheckBox9->isChecked();
    const bool settingPage = w.CheckBox8->isChecked();
    if (back && settingPage) {
        toSettingMode(false);
        place(saved_.x(), saved_.y(), saved_.width(), saved_.height());
    } else if (back) {
        place(saved_.x(), saved_.y() + kModeShift, saved_.width(), w.height());
    } else if (settingPage) {
        const bool wasDisplay = w.displayMode();
        toSettingMode(true);
        if (wasDisplay)
            place(w.geometry().x(), w.geometry().y(), w.width(), saved_.height());
    }
    if (w.CheckBox10->isChecked() && settingPage)
        place(w.geometry().x(), w.geometry().y(), w.width(), kEndHeight);
    if (w.geometry().y() < 0)
        place(w.geometry().x(), 0, w.width(), w.height());
}

void Telop::ClearLocalTelop() {
    w_.Timer1->stop();
    offset_ = 0;
    endOperations();
    w_.Image2->fill();
    qCDebug(lcTelop) << "telop cleared";
}

void Telop::Edit77F1() {
    if (!w_.displayMode()) {
        toDisplayMode();
        return;
    }
    w_.Timer1->stop();
    w_.Image2->fill();
    toSettingMode(true);
}

void Telop::Image2Drag(QPoint at) {
    auto step = [](int p) { return p < 10 ? -2 : (p > 20 ? 2 : 0); };
    const QRect r = w_.geometry();
    place(r.x() + step(at.x()), r.y() + step(at.y()), r.width(), r.height());
}

void Telop::SetTelopText(const QString& text) {
    w_.Edit1->setText(text);
}

void Telop::Button3Click() {
    const auto choice = choosers_.font(font_, settings::colourOf(fontColour_, Qt::black));
    if (!choice)
        return;
    font_ = choice->font;
    if (choice->color != settings::colourOf(fontColour_, Qt::black))
        fontColour_ = settings::valueOf(choice->color);
    paintLook();
}

void Telop::Button4Click() {
    const auto chosen = choosers_.color(settings::colourOf(background_, Qt::white));
    if (!chosen)
        return;
    setBackground(settings::valueOf(*chosen));
    w_.Image2->fill();
}

void Telop::CheckBox6Click() {
    TForm15& w = w_;
    if (!hooks_.partnerNominated || !hooks_.partnerNominated()) {
        w.CheckBox6->setChecked(false);
        showIfEnabled(messages_, c_.CheckBox19, kNoPartner);
        return;
    }
    w.CheckBox4->setChecked(false);
    w.CheckBox14->setChecked(false);
    w.CheckBox3->setChecked(false);
}

QStringList Telop::settingLines() const {
    const TForm15& w = w_;
    QStringList out{
        kHeader,
        line(500, w.Edit5->text(), QStringLiteral("ウィンドウの高さ")),
        line(501, w.Edit6->text(), QStringLiteral("ウィンドの幅")),
        line(502, w.Edit7->text(), QStringLiteral("ウィンドの縦位置")),
        line(503, w.Edit8->text(), QStringLiteral("ウィンドの横位置")),
        line(504, w.Edit1->text(), QStringLiteral("表示文字列")),
        line(505, w.CheckBox5->isChecked(), "終了時消す", "終了時消さない"),
        line(518, w.CheckBox4->isChecked(), "メインウィンドの上に表示",
             "メインウィンドの上ではない"),
        line(519, w.CheckBox9->isChecked(), "表示後元位置に戻る", "表示後そ元位置に戻らない"),
        line(520, w.CheckBox8->isChecked(), "表示後設定画面に戻る", "表示後設定画面に戻らない"),
        line(521, w.CheckBox11->isChecked(), "左端で止める", "左端で止めない"),
        line(522, w.CheckBox3->isChecked(), "表示高さの自動設定する", "表示高さの自動設定しない"),
        line(523, w.CheckBox10->isChecked(), "戻った時に高さを初期値にする",
             "戻った時に高さを初期値にしない"),
        line(524, w.CheckBox14->isChecked(), "メインウィンドの下に表示",
             "メインウィンドの下ではない")};
    if (w.CheckBox7->isChecked()) {
        out << line(506, w.CheckBox1->isChecked(), "loopする", "loopしない")
            << line(507, w.CheckBox2->isChecked(), "前面表示する", "前面表示しない")
            << line(508, w.Edit4->text(), QStringLiteral("ループ"))
            << line(509, w.Edit2->text(), QStringLiteral("スクロール間隔"))
            << line(510, w.Edit3->text(), QStringLiteral("スクロール移動量"))
            << line(511, faceOf(font_), QStringLiteral("表示のフォントの種類"))
            << line(512, QString::number(fontColour_), QStringLiteral("表示のフォントの色"))
            << line(513, QString::number(font_.pointSize()), QStringLiteral("表示のフォントサイズ"))
            << line(514, QString::number(background_), QStringLiteral("背景色"))
            << line(515, font_.bold() ? QStringLiteral("fsbold") : QStringLiteral("!fsbold"),
                    QStringLiteral("表示部のフォントスタイル：ｂｏｌｄ"))
            << line(516, font_.italic() ? QStringLiteral("fsItalic") : QStringLiteral("!fsItalic"),
                    QStringLiteral("表示部のフォントスタイル：Ｉｔａｌｉｃ"))
            << line(517,
                    font_.underline() ? QStringLiteral("fsUnderline")
                                      : QStringLiteral("!fsUnderline"),
                    QStringLiteral("表示部のフォントスタイル：ＵｎｄｅｒＬｉｎｅ"));
    }
    return out;
}

QString Telop::commaLine() const {
    const TForm15& w = w_;
    QString out = w.Edit1->text();
    auto add = [&out](int key, const QString& value) {
        out += QLatin1Char(',') + QString::number(key) + QLatin1Char(':') + value;
    };
    add(500, w.Edit5->text());
    add(501, w.Edit6->text());
    add(502, w.Edit7->text());
    add(503, w.Edit8->text());
    add(505, flag(w.CheckBox5->isChecked()));
    add(518, flag(w.CheckBox4->isChecked()));
    add(519, flag(w.CheckBox9->isChecked()));
    add(520, flag(w.CheckBox8->isChecked()));
    add(521, flag(w.CheckBox11->isChecked()));
    add(522, flag(w.CheckBox3->isChecked()));
    add(523, flag(w.CheckBox10->isChecked()));
    add(524, flag(w.CheckBox14->isChecked()));
    if (w.CheckBox7->isChecked()) {
        add(506, flag(w.CheckBox1->isChecked()));
        add(507, flag(w.CheckBox2->isChecked()));
        add(508, w.Edit4->text());
        add(509, w.Edit2->text());
        add(510, w.Edit3->text());
        add(511, faceOf(font_));
        add(512, QString::number(fontColour_));
        add(513, QString::number(font_.pointSize()));
        add(514, QString::number(background_));
        add(515, font_.bold() ? QStringLiteral("fsbold") : QStringLiteral("!fsbold"));
        add(516, font_.italic() ? QStringLiteral("fsItalic") : QStringLiteral("!fsItalic"));
        add(517,
            font_.underline() ? QStringLiteral("fsUnderline") : QStringLiteral("!fsUnderline"));
    }
    return out;
}

QStringList Telop::memberHosts() const {
    QStringList hosts;
    for (int i = 0; i < MemberList::kSlots; ++i)
        if (members_.companion(i))
            hosts << members_.address(i);
    return hosts;
}

void Telop::sendMessage(const QStringList& lines, const QStringList& hosts, bool samePcCopy) {
    TNMUDP& ep = *c_.NMUDP1;
    QStringList resolved;
    for (const QString& host : hosts) {
        const auto address = ep.lookUp(host);
        if (!address)
            throw UDPSockError(parseDottedIPv4(host) || host.trimmed().isEmpty()
                                   ? QStringLiteral("Null Remote Address")
                                   : QStringLiteral("Host Lookup Canceled"));
        resolved << formatIPv4(*address);
    }
    for (const QString& l : lines) {
        const QByteArray bytes = encryption_.Scramble(text::encode(l));
        for (const QString& host : resolved) {
            ep.RemoteHost = host;
            ep.SendDatagram(bytes);
        }
        if (samePcCopy)
            lumo_.SendLumoCopy(ep, bytes, kBasePort);
    }
}

void Telop::SendTelopToNetwork() {
    QStringList lines = settingLines();
    lines << kShow << kEnd;
    const bool longLinesGo = hooks_.sendCommaSettings && hooks_.sendCommaSettings();
    bool refused = false;
    if (!longLinesGo) {
        const auto tooLong = [](const QString& l) {
            return l.count(QLatin1Char(':')) > kSenderColons;
        };
        refused = std::any_of(lines.cbegin(), lines.cend(), tooLong);
        lines.removeIf(tooLong);
    }
    sendMessage(lines, memberHosts(), true);
    qCDebug(lcTelop) << "telop sent:" << w_.Edit1->text();
    // Told once the whole message is out: a box opened halfway would let
    // other events run between its lines.
    if (refused)
        showIfEnabled(messages_, c_.CheckBox19, kTooManyColons);
}

void Telop::StopTelopOnNetwork() {
    w_.Edit1->clear();
    QStringList lines = settingLines();
    lines << kStop << kEnd;
    sendMessage(lines, memberHosts(), true);
    qCDebug(lcTelop) << "telop stop sent";
}

void Telop::sendPlaceToPartner() {
    if (!hooks_.partnerNominated || !hooks_.partnerNominated() || !hooks_.partnerSlot)
        return;
    const int slot = hooks_.partnerSlot() - 1;
    if (slot < 0 || slot >= MemberList::kSlots || !members_.companion(slot))
        return;
    const TForm15& w = w_;
    const QStringList lines{kHeader,
                            QStringLiteral("518:false:メインウィンドの上ではない"),
                            QStringLiteral("522:false:表示高さの自動設定しない"),
                            QStringLiteral("524:false:メインウィンドの下ではない"),
                            line(500, w.Edit5->text(), QStringLiteral("ウィンドウの高さ")),
                            line(501, w.Edit6->text(), QStringLiteral("ウィンドの幅")),
                            line(502, w.Edit7->text(), QStringLiteral("ウィンドの縦位置")),
                            line(503, w.Edit8->text(), QStringLiteral("ウィンドの横位置")),
                            kShow,
                            kEnd};
    sendMessage(lines, {members_.address(slot)}, false);
}

void Telop::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int) {
    if (NumberBytes >= kBound)
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw || lumo_.dropsFrom(FromIP))
        return;
    const QByteArray plain = encryption_.Unscramble(*raw);
    // The same-PC display gets every telop, also one this station ignores.
    if (!plain.isEmpty())
        lumo_.SendLumoCopy(*c_.NMUDP1, plain, kBasePort);
    if (w_.CheckBox12->isChecked())
        return;
    const QString t = text::decode(plain);
    qCDebug(lcTelop) << "telop line from" << FromIP << t;
    if (t == kEnd) {
        applyBuffered();
        return;
    }
    if (bufferChars_ + t.size() > kBufferChars) {
        qCDebug(lcTelop) << "telop line dropped: the buffer is full";
        return;
    }
    buffer_ << t;
    bufferChars_ += t.size();
}

void Telop::applyBuffered() {
    // The buffer is empty afterwards however the apply ends.
    QStringList lines;
    lines.swap(buffer_);
    bufferChars_ = 0;
    if (lines.isEmpty() || lines.first() != kHeader)
        return;
    w_.show();
    lines.removeFirst();
    applyLines(lines, Target::Window, w_.CheckBox13->isChecked());
}

void Telop::ApplyTelopCommaLine(const QString& commaLine) {
    w_.show();
    QStringList pieces = commaLine.split(QLatin1Char(','));
    // The text is the first piece as it stands, colons and all.
    SetTelopText(pieces.takeFirst());
    applyLines(pieces, Target::Boxes, false);
}

void Telop::applyLines(const QStringList& lines, Target target, bool onlyText) {
    TForm15& w = w_;
    for (const QString& l : lines) {
        const qsizetype colons = l.count(QLatin1Char(':'));
        const int first = int(l.indexOf(QLatin1Char(':')));
        const QString key = field(first < 0 ? l : l.left(first));
        if (key == QLatin1String("504") && first >= 0) {
            // The text is everything between the key and the comment the
            // sender always adds, so a colon in the text ("12:00") stays, and
            // it is never cut to the width of one field.
            const int last = int(l.lastIndexOf(QLatin1Char(':')));
            SetTelopText(last > first ? l.mid(first + 1, last - first - 1) : l.mid(first + 1));
            continue;
        }
        if (colons > kReceiverColons)
            return;
        const QString value = first < 0 ? QString() : field(l.section(QLatin1Char(':'), 1, 1));
        const bool yes = value == QLatin1String("true");
        const int k = key.toInt();
        if (key != QString::number(k))
            continue; // not a key of the telop
        if (onlyText && k != 900 && k != 901)
            continue;
        switch (k) {
        case 500:
        case 501:
        case 502:
        case 503: {
            if (target == Target::Boxes) {
                QLineEdit* box = k == 500   ? w.Edit5
                                 : k == 501 ? w.Edit6
                                 : k == 502 ? w.Edit7
                                            : w.Edit8;
                box->setText(value);
                break;
            }
            const int v = settings::parseInt(value);
            // Any host can send this: a window larger than the desktop shows
            // nothing more and would only cost memory.
            const QSize desk = w.screen() ? w.screen()->virtualSize() : QSize(kPlace, kPlace);
            if (k == 500)
                place(w.geometry().x(), w.geometry().y(), w.width(),
                      std::clamp(v, 1, std::max(1, desk.height())));
            else if (k == 501)
                place(w.geometry().x(), w.geometry().y(),
                      std::clamp(v, 1, std::max(1, desk.width())), w.height());
            else if (k == 502)
                place(w.geometry().x(), std::clamp(v, -kPlace, kPlace), w.width(), w.height());
            else
                place(std::clamp(v, -kPlace, kPlace), w.geometry().y(), w.width(), w.height());
            break;
        }
        case 505:
            w.CheckBox5->setChecked(yes);
            break;
        case 506:
            w.CheckBox1->setChecked(yes);
            break;
        case 507:
            w.CheckBox2->setChecked(yes);
            break;
        case 518:
            w.CheckBox4->setChecked(yes);
            break;
        case 519:
            w.CheckBox9->setChecked(yes);
            break;
        case 520:
            w.CheckBox8->setChecked(yes);
            break;
        case 521:
            w.CheckBox11->setChecked(yes);
            break;
        case 522:
            w.CheckBox3->setChecked(yes);
            break;
        case 523:
            w.CheckBox10->setChecked(yes);
            break;
        case 524:
            w.CheckBox14->setChecked(yes);
            break;
        case 508:
            w.Edit4->setText(QString::number(settings::parseInt(value)));
            break;
        case 509:
            w.Edit2->setText(QString::number(settings::parseInt(value)));
            break;
        case 510:
            w.Edit3->setText(QString::number(settings::parseInt(value)));
            break;
        case 511: {
            QFont f = japaneseFont(value, font_.pointSize());
            f.setBold(font_.bold());
            f.setItalic(font_.italic());
            f.setUnderline(font_.underline());
            setFont(f);
            break;
        }
        case 512:
            setFontColour(settings::parseInt(value));
            break;
        case 513: {
            QFont f = font_;
            f.setPointSize(std::clamp(settings::parseInt(value), 1, 500));
            setFont(f);
            break;
        }
        case 514:
            setBackground(settings::parseInt(value));
            w.Image2->fill();
            break;
        case 515: {
            QFont f = font_;
            f.setBold(value == QLatin1String("fsbold"));
            setFont(f);
            break;
        }
        case 516: {
            QFont f = font_;
            f.setItalic(value == QLatin1String("fsItalic"));
            setFont(f);
            break;
        }
        case 517: {
            QFont f = font_;
            f.setUnderline(value == QLatin1String("fsUnderline"));
            setFont(f);
            break;
        }
        case 900:
            if (yes && target == Target::Window)
                StartLocalTelop();
            break;
        case 901:
            if (yes && target == Target::Window)
                ClearLocalTelop();
            break;
        default:
            break;
        }
    }
}

void Telop::AddTelopToPreroll() {
    if (hooks_.addToPreroll)
        hooks_.addToPreroll(commaLine());
}

} // namespace quorel
