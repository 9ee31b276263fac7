#pragma once
// Partners: inside a group, typists work in pairs. Each station nominates at
// most one member as its partner; partners see each other's unfinished input
// and exchange settings. A request and an acceptance form the pair, a cancel
// ends it.

#include <QObject>
#include <QString>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorel {

class LinkEncryption;
class MemberList;
class Messages;
class TNMUDP;
class Titles;

class Partner : public QObject {
    Q_OBJECT
public:
    struct Controls {
        std::array<QPushButton*, 8> bePartner; // "Be Partner !"
        std::array<QPushButton*, 8> partner;   // "Partner"
        QCheckBox* CheckBox7;                  // "Fix Partner"
        QLineEdit* Edit35;                     // own address
        QLineEdit* Edit30;                     // own name
        TNMUDP* NMUDP4;                        // nominations
        TNMUDP* NMUDP2;                        // the partner link: its RemoteHost is the partner
    };

    Partner(const Controls& c, MemberList& members, Titles& titles, Messages& messages,
            QObject* parent = nullptr);

    // The 8-person monitor's twins of the two buttons of each slot.
    void setMonitorButtons(const std::array<QPushButton*, 8>& bePartner,
                           const std::array<QPushButton*, 8>& partner);

    bool flag() const { return flag_; }
    int slot() const { return slot_; } // 0 none, 1 ... 8
    QString partnerName() const;

    void ReleasePartner();
    void NominatePartner(int k); // 1 ... 8
    void CancelPartner(int k);
    void NMUDP4DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    // At start-up: a station that found exactly one member asks it.
    void startupRequest();
    // Unticks "Fix Partner" and releases: what a membership change does.
    void releaseUnfixed();

private:
    void showButtons(int k, bool partnered);
    void send(const QString& address, const QString& kind, const QString& phase);

    Controls c_;
    MemberList& members_;
    Titles& titles_;
    Messages& messages_;
    std::array<QPushButton*, 8> monitorBe_{};
    std::array<QPushButton*, 8> monitorPartner_{};
    bool flag_ = false;
    int slot_ = 0;
};

} // namespace quorel
