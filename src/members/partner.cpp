#include "members/partner.h"

#include "base/services.h"
#include "members/member_list.h"
#include "net/nmudp.h"
#include "windows/titles.h"
#include "wire/address.h"
#include "wire/membership.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>

namespace quorel {

Q_LOGGING_CATEGORY(lcPartner, "quorel.partner", QtWarningMsg)

using namespace membership;

Partner::Partner(const Controls& c, MemberList& members, Titles& titles, Messages& messages,
                 QObject* parent)
    : QObject(parent), c_(c), members_(members), titles_(titles), messages_(messages) {
    for (int k = 1; k <= 8; ++k) {
        connect(c_.bePartner[static_cast<std::size_t>(k - 1)], &QPushButton::clicked, this,
                [this, k] { reportErrors(messages_, [&] { NominatePartner(k); }); });
        connect(c_.partner[static_cast<std::size_t>(k - 1)], &QPushButton::clicked, this,
                [this, k] { reportErrors(messages_, [&] { CancelPartner(k); }); });
        c_.partner[static_cast<std::size_t>(k - 1)]->hide();
    }
    c_.NMUDP4->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP4DataReceived(s, n, f, p);
    };
    titles_.partnerName = [this] { return partnerName(); };
}

void Partner::setMonitorButtons(const std::array<QPushButton*, 8>& bePartner,
                                const std::array<QPushButton*, 8>& partner) {
    monitorBe_ = bePartner;
    monitorPartner_ = partner;
    for (int k = 1; k <= 8; ++k) {
        connect(bePartner[static_cast<std::size_t>(k - 1)], &QPushButton::clicked, this,
                [this, k] { reportErrors(messages_, [&] { NominatePartner(k); }); });
        connect(partner[static_cast<std::size_t>(k - 1)], &QPushButton::clicked, this,
                [this, k] { reportErrors(messages_, [&] { CancelPartner(k); }); });
        showButtons(k, slot_ == k);
    }
}

QString Partner::partnerName() const {
    // The first slot, in slot order, whose "Partner" button is shown.
    for (int k = 1; k <= 8; ++k)
        if (!c_.partner[static_cast<std::size_t>(k - 1)]->isHidden())
            return members_.name(k - 1);
    return QString();
}

void Partner::showButtons(int k, bool partnered) {
    const auto i = static_cast<std::size_t>(k - 1);
    c_.bePartner[i]->setVisible(!partnered);
    c_.partner[i]->setVisible(partnered);
    if (monitorBe_[i] != nullptr) {
        monitorBe_[i]->setVisible(!partnered);
        monitorPartner_[i]->setVisible(partnered);
    }
}

void Partner::send(const QString& address, const QString& kind, const QString& phase) {
    c_.NMUDP4->RemoteHost = address;
    c_.NMUDP4->SendDatagram(partner(c_.Edit35->text(), address, c_.Edit30->text(), kind, phase));
}

void Partner::ReleasePartner() {
    if (slot_ >= 1 && slot_ <= 8) {
        const QString address = members_.address(slot_ - 1);
        if (CheckAddress(address) == 0)
            send(address, kCanPartner, kAns);
        showButtons(slot_, false);
    }
    slot_ = 0;
    flag_ = false;
}

void Partner::releaseUnfixed() {
    c_.CheckBox7->setChecked(false);
    ReleasePartner();
}

void Partner::NominatePartner(int k) {
    if (k < 1 || k > 8 || c_.CheckBox7->isChecked() || !members_.companion(k - 1))
        return;
    ReleasePartner();
    send(members_.address(k - 1), kReqPartner, kReq);
}

void Partner::CancelPartner(int k) {
    if (k < 1 || k > 8 || c_.CheckBox7->isChecked())
        return;
    showButtons(k, false);
    slot_ = 0;
    flag_ = false;
    if (members_.companion(k - 1))
        send(members_.address(k - 1), kCanPartner, kAns);
}

void Partner::NMUDP4DataReceived(TNMUDP* Sender, int NumberBytes, const QString&, int) {
    const auto text = Sender->receiveText(NumberBytes, kBound);
    if (!text || c_.CheckBox7->isChecked())
        return;
    const auto f = splitFields(*text);
    if (!f)
        return;
    const QString from = field(*f, 0);
    const QString kind = field(*f, 3);
    qCDebug(lcPartner) << "partner message" << *f;
    // Every message first ends the current partnership - except a cancel from
    // a station that is no longer the partner: after switching to a new
    // partner the old one's cancel must not end the new pair as well.
    const bool staleCancel =
        kind == kCanPartner && slot_ >= 1 && members_.address(slot_ - 1) != from;
    if (!staleCancel) {
        flag_ = false;
        ReleasePartner();
    }
    for (int k = 1; k <= 8; ++k) {
        if (!members_.companion(k - 1) || members_.address(k - 1) != from)
            continue;
        if (kind == kReqPartner) {
            showButtons(k, true);
            c_.NMUDP2->RemoteHost = members_.address(k - 1);
            flag_ = true;
            slot_ = k;
            titles_.showWithPartner(QStringLiteral("  <") + members_.name(k - 1) +
                                    QLatin1Char('>'));
            if (field(*f, 4) == kReq)
                send(members_.address(k - 1), kReqPartner, kAns);
        } else if (kind == kCanPartner && !staleCancel) {
            slot_ = 0;
            flag_ = false;
            titles_.showWithPartner(QString());
        }
    }
}

void Partner::startupRequest() {
    if (members_.companion(0) && !members_.companion(1)) {
        slot_ = 0;
        send(members_.address(0), kReqPartner, kReq);
    }
}

} // namespace quorel
