#include "members/member_list.h"

#include "base/services.h"
#include "net/nmudp.h"
#include "net/own_address.h"
#include "wire/address.h"
#include "wire/membership.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace quorel {

Q_LOGGING_CATEGORY(lcMembers, "quorel.members", QtWarningMsg)

using namespace membership;

namespace {
const QString kBadIp = QStringLiteral("不正ＩＰ受信：");
const QString kFullReceived = QStringLiteral("満員通知受信：");
const QString kRemoteWrong = QStringLiteral(
    "「パートナー」ページの「遠隔地で使う」の\n%1番目のＩＰアドレスが間違っています。");
const QString kPeerWrong = QStringLiteral("相手のＩＰアドレスが間違っています。");
} // namespace

MemberList::MemberList(const Controls& c, StationState& state, Messages& messages,
                       const Clock& clock, QObject* parent)
    : QObject(parent), c_(c), state_(state), messages_(messages), clock_(clock) {
    auto guarded = [this](auto fn) { return [this, fn] { reportErrors(messages_, fn); }; };
    for (int i = 0; i < kSlots; ++i) {
        const Slot& s = c_.rows[static_cast<std::size_t>(i)];
        // A slot whose address is not an address sends nowhere.
        connect(s.address, &QLineEdit::textChanged, this, [s](const QString& t) {
            if (CheckAddress(t) != 0)
                s.companion->setChecked(false);
        });
        connect(s.name, &QLineEdit::textChanged, this, [this, i](const QString& t) {
            if (hooks_.nameChanged)
                hooks_.nameChanged(i, t);
        });
    }
    connect(c_.Button47, &QPushButton::clicked, this, guarded([this] { Button47Click(); }));
    connect(c_.Button53, &QPushButton::clicked, this, guarded([this] { Button53Click(); }));
    for (QRadioButton* r : c_.groups)
        connect(r, &QRadioButton::clicked, this, guarded([this] { groupChanged(); }));
    connect(c_.ComboBox1, &QComboBox::currentIndexChanged, this, guarded([this] {
                if (c_.groups[6]->isChecked())
                    groupChanged();
            }));
    c_.NMUDP8->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP8DataReceived(s, n, f, p);
    };
    c_.NMUDP6->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP6DataReceived(s, n, f, p);
    };
    c_.NMUDP10->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP10DataReceived(s, n, f, p);
    };
}

int MemberList::groupNumber() const {
    for (int i = 0; i < 6; ++i)
        if (c_.groups[static_cast<std::size_t>(i)]->isChecked())
            return i + 1;
    if (c_.groups[6]->isChecked()) {
        const int index = c_.ComboBox1->findText(c_.ComboBox1->currentText());
        return index < 0 ? 7 : index + 7;
    }
    return 1;
}

bool MemberList::companion(int slot) const {
    return c_.rows[static_cast<std::size_t>(slot)].companion->isChecked();
}
QString MemberList::address(int slot) const {
    return c_.rows[static_cast<std::size_t>(slot)].address->text();
}
QString MemberList::name(int slot) const {
    return c_.rows[static_cast<std::size_t>(slot)].name->text();
}

bool MemberList::ownAddressValid() const {
    return CheckAddress(c_.Edit35->text()) == 0;
}

void MemberList::show(const QString& text) {
    showIfEnabled(messages_, c_.CheckBox19, text);
}

void MemberList::note(const QString& text) {
    appendExplanationLine(c_.RichEdit3, explanationStamp(clock_.now()) + text);
}

int MemberList::slotHolding(const QString& address) const {
    for (int i = 0; i < kSlots; ++i)
        if (companion(i) && this->address(i) == address)
            return i;
    return -1;
}

bool MemberList::isThisPc(const QString& address) const {
    return address == c_.Edit35->text() ||
           (hooks_.pcAddresses && hooks_.pcAddresses().contains(address));
}

int MemberList::freeSlot() const {
    for (int i = 0; i < kSlots; ++i)
        if (!companion(i))
            return i;
    return -1;
}

void MemberList::sendRequest(const QString& destination) {
    c_.NMUDP8->RemoteHost = destination;
    c_.NMUDP8->SendDatagram(request(c_.Edit35->text(), c_.Edit30->text(), groupNumber()));
}

void MemberList::SearchMembers() {
    if (!ownAddressValid()) {
        show(OwnAddress::kWrongOwnAddress);
        return;
    }
    if (auto broadcast = BroadcastAddressOf(c_.Edit35->text()))
        sendRequest(*broadcast);
    if (!c_.CheckBox71->isChecked())
        return;
    QLineEdit* boxes[] = {c_.Edit98, c_.Edit99, c_.Edit100};
    const QString ordinals[] = {QStringLiteral("１"), QStringLiteral("２"), QStringLiteral("３")};
    if (c_.CheckBox19->isChecked()) {
        for (int i = 0; i < 3; ++i) {
            if (CheckAddress(boxes[i]->text()) == 1) {
                messages_.show(kRemoteWrong.arg(ordinals[i]));
                return;
            }
        }
    }
    for (QLineEdit* box : boxes) {
        const QString a = box->text();
        if (a.isEmpty())
            continue;
        if (c_.CheckBox72->isChecked()) {
            // A mistyped box is reported above; an unreadable destination is
            // not sent to rather than stopping the search.
            if (parseDottedIPv4(a))
                sendRequest(a);
            continue;
        }
        if (CheckAddress(a) != 0 && !a.startsWith(QLatin1String("127."))) {
            show(kPeerWrong);
            continue;
        }
        if (auto broadcast = BroadcastAddressOf(a))
            sendRequest(*broadcast);
    }
}

void MemberList::SendToMembers(TNMUDP& endpoint, const QByteArray& bytes) {
    for (int i = 0; i < kSlots; ++i) {
        if (!companion(i))
            continue;
        endpoint.RemoteHost = address(i);
        endpoint.SendDatagram(bytes);
    }
}

void MemberList::SendLeave() {
    SendToMembers(*c_.NMUDP10, leave(c_.Edit35->text(), c_.Edit30->text()));
}

void MemberList::ClearMemberList() {
    for (const Slot& s : c_.rows)
        s.companion->setChecked(false);
    for (const Slot& s : c_.rows) {
        s.name->clear();
        s.address->clear();
    }
}

void MemberList::takeSlot(int slot, const QString& address, const QString& name) {
    const Slot& s = c_.rows[static_cast<std::size_t>(slot)];
    s.address->setText(address);
    s.name->setText(name);
    s.companion->setChecked(true);
    answerTo(address);
}

void MemberList::endPartnership() {
    if (hooks_.releasePartner)
        hooks_.releasePartner();
    if (hooks_.restoreTitles)
        hooks_.restoreTitles();
}

void MemberList::answerTo(const QString& address) {
    c_.NMUDP6->RemoteHost = address;
    c_.NMUDP6->SendDatagram(answer(c_.Edit35->text(), address, c_.Edit30->text()));
}

std::optional<QStringList> MemberList::receive(TNMUDP* sender, int numberBytes,
                                               bool needOwnAddress) {
    // "Fix Members" freezes the list against everything others send.
    const auto text = sender->receiveText(numberBytes, kBound);
    if (!text || (needOwnAddress && !ownAddressValid()) || c_.CheckBox6->isChecked())
        return std::nullopt;
    return splitFields(*text);
}

void MemberList::NMUDP8DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    const auto f = receive(Sender, NumberBytes, true);
    if (!f)
        return;
    const QString from = field(*f, 0);
    qCDebug(lcMembers) << "request" << *f;
    if (CheckAddress(from) != 0) {
        note(kBadIp + from);
        return;
    }
    if (isThisPc(from))
        return; // our own broadcast
    if (f->size() > 3 && field(*f, 3) != QString::number(groupNumber()))
        return;
    if (int slot = slotHolding(from); slot >= 0) {
        if (field(*f, 2) == kReq)
            answerTo(address(slot));
        return;
    }
    const int slot = freeSlot();
    if (slot < 0) {
        c_.NMUDP6->RemoteHost = from;
        c_.NMUDP6->SendDatagram(full(c_.Edit35->text(), from, c_.Edit30->text()));
        return;
    }
    takeSlot(slot, from, field(*f, 1));
}

void MemberList::NMUDP6DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    const auto f = receive(Sender, NumberBytes, false);
    if (!f)
        return;
    qCDebug(lcMembers) << "answer" << *f;
    const QString from = field(*f, 0);
    const QString addressee = field(*f, 1);
    if (field(*f, 3) == kFul) {
        state_.groupFull = true;
        const QString text = field(*f, 2) + QLatin1Char('(') + from + kFullTail;
        if (c_.CheckBox19->isChecked())
            hooks_.notice ? hooks_.notice(text) : messages_.show(text);
        note(kFullReceived + f->join(QLatin1Char(',')));
        return;
    }
    if (CheckAddress(from) != 0) {
        note(kBadIp + from);
        return;
    }
    if (CheckAddress(addressee) != 0) {
        note(kBadIp + addressee);
        return;
    }
    // The answerer reached us at this address: it is ours.
    c_.Edit35->setText(addressee);
    if (isThisPc(from))
        return;
    if (f->size() > 4 && field(*f, 4) != QString::number(groupNumber()))
        return;
    if (slotHolding(from) >= 0)
        return;
    const int slot = freeSlot();
    if (slot < 0)
        return;
    takeSlot(slot, from, field(*f, 2));
}

void MemberList::NMUDP10DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    const auto f = receive(Sender, NumberBytes, true);
    if (!f)
        return;
    const int slot = slotHolding(field(*f, 0));
    if (slot < 0)
        return;
    const Slot& s = c_.rows[static_cast<std::size_t>(slot)];
    s.companion->setChecked(false);
    s.name->clear();
    s.address->clear();
}

void MemberList::Button47Click() {
    if (!ownAddressValid())
        return;
    endPartnership();
    c_.CheckBox6->setChecked(false);
    ClearMemberList();
    SearchMembers();
}

void MemberList::Button53Click() {
    endPartnership();
    c_.CheckBox6->setChecked(true);
    SendLeave();
    ClearMemberList();
}

void MemberList::groupChanged() {
    if (!ownAddressValid())
        return;
    endPartnership();
    SendLeave();
    c_.CheckBox6->setChecked(false);
    ClearMemberList();
    SearchMembers();
}

} // namespace quorel
