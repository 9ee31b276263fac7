#include "net/own_address.h"

#include "base/services.h"
#include "net/datagram_network.h"
#include "net/nmudp.h"
#include "wire/address.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorel {

namespace {

const QString kRemoteAddressWrong =
    QStringLiteral("%1番目のＩＰアドレスが間違っています。\nアドレスは、半角で「192.168.100."
                   "123」の様に入力します。");

const QString kRemoteExplanation =
    QStringLiteral("チェックを入れるとＶＰＮルーターなどを使って遠隔地から入力ができます。\n\n"
                   "下の枠に遠隔地のＩＰアドレスの一つを入力すると「メンバーを探す」ボタンを\n"
                   "押した時にそのネットワークにいるＱｕｏｒｅｌを探しに行きます。\n"
                   "「パートナー」ページのメンバー一覧に表示されれば、入力やモニターなど全てが、\n"
                   "同じネットワークに接続しているメンバーと同様に動作します。\n\n"
                   "グローバルアドレスを持っているパソコン同士なら、ＶＰＮルーターを使う必要\n"
                   "はありません。インターネットに接続して、下の枠にＩＰアドレスを入力すれば\n"
                   "探すことができます。\n\n"
                   "＜注意＞\n"
                   "インターネットとブロードバンドルーターを使って接続したり、ダイアルアップ\n"
                   "で接続している場合は、「 インターネット」ウィンドを使ってください。");

const QString kExactExplanation =
    QStringLiteral("チェックを入れると下の枠のＩＰアドレスそのものを探しに行きます。\n\n"
                   "チェックを外した場合は、ネットワークアドレスとしてブロードキャストで\n"
                   "ネットワーク全体を探します。\n\n"
                   "左の「下のネットワークアドレスも探す」のチェックを入れる必要があります。\n"
                   "入っていない時は、自動的にチェックが入ります。");

const QString kNameChanged = QStringLiteral(
    "「自分のパソコン」の「名前」を変えた時は、\n新しい名前を他のパソコンに表示するために\n"
    "「パートナー」ページで次の操作をしてください。\n\n"
    "１）「お休み」ボタンを押す\n２）「メンバーを捜す」ボタンを押す。");

const QString kWinipcfg =
    QStringLiteral("winipcfg.exeは、Windows95,98,MeでＩＰアドレスを表示します。\n"
                   "Windows2000,XPは、「ipconfig｣のボタンを押してください。\n\n"
                   "ＬＡＮで使用する時はＬＡＮカードのＩＰアドレスを見てください。\n"
                   "電話回線を使いダイアルアップでインターネットに接続している時は、\n"
                   "PPPのＩＰアドレスを見てください。");

const QString kIpconfig =
    QStringLiteral("ipconfig.exeは、Windows2000,XPでＩＰアドレスを表示します。\n"
                   "Windows95,98,Meは、「winipcfg｣のボタンを押してください。\n\n"
                   "イーサーネットケーブルで使用する時はローカルエリア接続を見てください。\n"
                   "無線ＬＡＮを使用するときは、ワイヤレスネットワーク接続を見てください。\n"
                   "電話回線を使いダイアルアップでインターネットに接続している時は、\n"
                   "PPPのＩＰアドレスを見てください。");

QString interfaceReport() {
    QString out;
    for (const QNetworkInterface& nif : QNetworkInterface::allInterfaces()) {
        out += nif.humanReadableName();
        out += (nif.flags() & QNetworkInterface::IsUp) ? QStringLiteral("  (up)")
                                                       : QStringLiteral("  (down)");
        if (!nif.hardwareAddress().isEmpty())
            out += QStringLiteral("  ") + nif.hardwareAddress();
        out += QLatin1Char('\n');
        for (const QNetworkAddressEntry& e : nif.addressEntries()) {
            out += QStringLiteral("    ") + e.ip().toString();
            if (e.prefixLength() >= 0)
                out += QLatin1Char('/') + QString::number(e.prefixLength());
            if (!e.broadcast().isNull())
                out += QStringLiteral("  broadcast ") + e.broadcast().toString();
            out += QLatin1Char('\n');
        }
    }
    return out;
}

} // namespace

OwnAddress::OwnAddress(const Controls& c, DatagramNetwork& network, StationState& state,
                       Messages& messages, QObject* parent)
    : QObject(parent), c_(c), network_(network), state_(state), messages_(messages) {
    auto on = [this](auto* sender, auto signal, void (OwnAddress::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(c_.Edit35, &QLineEdit::textChanged, &OwnAddress::Edit35Change);
    on(c_.ListBox2, &QListWidget::itemClicked, &OwnAddress::ListBox2Click);
    on(c_.Button39, &QPushButton::clicked, &OwnAddress::Button39Click);
    on(c_.Edit30, &QLineEdit::textEdited, &OwnAddress::Edit30Change);
    for (QLineEdit* e : {c_.Edit98, c_.Edit99, c_.Edit100})
        on(e, &QLineEdit::textChanged, &OwnAddress::RemoteBoxChange);
    on(c_.CheckBox71, &QCheckBox::toggled, &OwnAddress::CheckBox71Click);
    on(c_.CheckBox72, &QCheckBox::toggled, &OwnAddress::CheckBox72Click);
    on(c_.Button36, &QPushButton::clicked, &OwnAddress::Button36Click);
    on(c_.Button38, &QPushButton::clicked, &OwnAddress::Button38Click);
    c_.Edit30->installEventFilter(this);
}

bool OwnAddress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.Edit30 && event->type() == QEvent::FocusOut)
        reportErrors(messages_, [&] { Edit30Exit(); });
    return QObject::eventFilter(watched, event);
}

void OwnAddress::show(const QString& text) {
    showIfEnabled(messages_, c_.CheckBox19, text);
}

void OwnAddress::setListRed(bool red) {
    c_.ListBox2->setStyleSheet(red ? QStringLiteral("QListWidget { color: red; }") : QString());
    c_.ListBox2->setProperty("red", red);
}

bool OwnAddress::listIsRed() const {
    return c_.ListBox2->property("red").toBool();
}

void OwnAddress::DetectOwnAddress() {
    const std::optional<QString> name = network_.hostName();
    if (!name)
        return;
    c_.Edit30->setText(*name);
    const QStringList addresses = network_.localAddresses();
    if (addresses.isEmpty()) {
        c_.Button39->hide();
        c_.ListBox2->clear();
        c_.ListBox2->addItem(kNoAddress);
        c_.ListBox2->show();
        setListRed(true);
        return;
    }
    c_.Edit35->setText(addresses.first());
    c_.ListBox2->clear();
    c_.ListBox2->addItems(addresses);
    if (addresses.size() > 1) {
        c_.Button39->hide();
        c_.ListBox2->show();
        setListRed(true);
    }
}

void OwnAddress::Edit35Change() {
    if (CheckAddress(c_.Edit35->text()) != 0) {
        c_.Edit35->setText(kReplacement);
        show(kReplacedMessage);
    }
}

void OwnAddress::ListBox2Click() {
    if (QListWidgetItem* item = c_.ListBox2->currentItem())
        c_.Edit35->setText(item->text());
    c_.ListBox2->hide();
    setListRed(false);
    c_.Button39->show();
}

void OwnAddress::Button39Click() {
    DetectOwnAddress();
    if (readStartupName)
        readStartupName();
}

void OwnAddress::Edit30Change() {
    nameEdited_ = true;
}

void OwnAddress::Edit30Exit() {
    if (!nameEdited_)
        return;
    nameEdited_ = false;
    show(kNameChanged);
}

void OwnAddress::RemoteBoxChange() {
    c_.CheckBox71->setChecked(false);
}

void OwnAddress::CheckBox71Click() {
    if (!c_.CheckBox71->isChecked()) {
        c_.CheckBox72->setChecked(false);
        return;
    }
    QLineEdit* boxes[] = {c_.Edit98, c_.Edit99, c_.Edit100};
    const QString ordinals[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３")};
    for (int i = 0; i < 3; ++i) {
        if (CheckAddress(boxes[i]->text()) == 1) {
            show(kRemoteAddressWrong.arg(ordinals[i]));
            boxes[i]->clear(); // unticks CheckBox71 again
            return;
        }
    }
    if (state_.settingsReady)
        show(kRemoteExplanation);
}

void OwnAddress::CheckBox72Click() {
    if (!c_.CheckBox72->isChecked())
        return;
    if (state_.settingsReady)
        show(kExactExplanation);
    c_.CheckBox71->setChecked(true);
}

bool OwnAddress::SendToOwnNetwork(TNMUDP& endpoint, const QByteArray& bytes) {
    const QString own = c_.Edit35->text();
    if (CheckAddress(own) != 0) {
        show(kWrongOwnAddress);
        return false;
    }
    const std::optional<QString> broadcast = BroadcastAddressOf(own);
    if (!broadcast)
        return true; // a loopback own address reaches nobody, and that is no error
    endpoint.RemoteHost = *broadcast;
    endpoint.SendDatagram(bytes);
    return true;
}

void OwnAddress::showNetworkWindow(const QString& title, const QString& text) {
    // A window of its own, like the platform tool would open: the typist reads
    // the addresses while the station keeps running.
    auto* dialog = new QDialog(c_.Edit35->window());
    dialog->setObjectName(QStringLiteral("networkReport"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    auto* layout = new QVBoxLayout(dialog);
    auto* view = new QPlainTextEdit(text, dialog);
    view->setReadOnly(true);
    view->setFont(QFont(QStringLiteral("monospace")));
    layout->addWidget(view);
    dialog->resize(560, 360);
    dialog->show();
}

void OwnAddress::Button36Click() {
    show(kWinipcfg);
    showNetworkWindow(QStringLiteral("winipcfg"), interfaceReport());
}

void OwnAddress::Button38Click() {
    show(kIpconfig);
    // The platform's own tool, when it is there; our own report otherwise.
    QProcess ip;
    ip.start(QStringLiteral("ip"), {QStringLiteral("address"), QStringLiteral("show")});
    QString text;
    if (ip.waitForFinished(3000) && ip.exitStatus() == QProcess::NormalExit && ip.exitCode() == 0)
        text = QString::fromLocal8Bit(ip.readAllStandardOutput());
    else
        text = interfaceReport();
    showNetworkWindow(QStringLiteral("ipconfig"), text);
}

} // namespace quorel
