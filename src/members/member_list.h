#pragma once
// The input group: up to eight other stations this one sends its typist's
// sentences to. Stations of one channel and group find each other by a
// broadcast request and answers; a station leaves by telling its members.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace quorel {

class Clock;
class Messages;
class OwnAddress;
class TNMUDP;
struct StationState;

class MemberList : public QObject {
    Q_OBJECT
public:
    static constexpr int kSlots = 8;
    static inline const QString kFullTail = QStringLiteral(
        ")です。\n今この入力班は満員です。\nどうしてもこの班に入りたい時は、連絡してください。");

    struct Slot {
        QCheckBox* companion;
        QLineEdit* name;
        QLineEdit* address;
    };
    struct Controls {
        std::array<Slot, kSlots> rows;
        std::array<QRadioButton*, 7> groups; // RadioButton6 ... RadioButton12
        QComboBox* ComboBox1;                // G ... Z beside RadioButton12
        QCheckBox* CheckBox6;                // "Fix Members "
        QPushButton* Button47;               // "Search for Members"
        QPushButton* Button53;               // "Rest"
        QLineEdit* Edit35;                   // own address
        QLineEdit* Edit30;                   // own name
        QCheckBox* CheckBox71;               // search the remote networks
        QCheckBox* CheckBox72;               // the exact remote addresses
        QLineEdit* Edit98;
        QLineEdit* Edit99;
        QLineEdit* Edit100;
        QCheckBox* CheckBox19; // messages enabled
        QTextEdit* RichEdit3;  // the explanation page
        TNMUDP* NMUDP8;        // requests
        TNMUDP* NMUDP6;        // answers and full notices
        TNMUDP* NMUDP10;       // leaving
    };
    // What a membership change does to the partnership and the titles, and
    // the 8-person monitor's copy of the names; empty until those exist.
    struct Hooks {
        std::function<void()> releasePartner; // also unticks "Fix Partner"
        std::function<void()> restoreTitles;
        std::function<void(int slot, const QString& name)> nameChanged;
        // The PC's own addresses, so that its own request is never taken for
        // a member's (the own address may have changed while it travelled).
        std::function<QStringList()> pcAddresses;
        // How a message caused by a received datagram reaches the typist
        // (never a modal box: any host can send one).
        std::function<void(const QString&)> notice;
    };

    MemberList(const Controls& c, StationState& state, Messages& messages, const Clock& clock,
               QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    int groupNumber() const;
    bool companion(int slot) const; // slot 0 ... 7
    QString address(int slot) const;
    QString name(int slot) const;

    void SearchMembers();
    void SendToMembers(TNMUDP& endpoint, const QByteArray& bytes);
    void SendLeave();
    void ClearMemberList();
    // Adds a dated line to the explanation page.
    void note(const QString& text);
    // The address is this PC's: the own address box or one of its cards.
    bool isThisPc(const QString& address) const;

    // Handlers.
    void NMUDP8DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP6DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP10DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void Button47Click();
    void Button53Click();
    void groupChanged();

private:
    bool ownAddressValid() const;
    // The fields of a membership datagram, or nothing when it is to be ignored.
    std::optional<QStringList> receive(TNMUDP* sender, int numberBytes, bool needOwnAddress);
    int slotHolding(const QString& address) const; // first flagged slot, or -1
    int freeSlot() const;
    void answerTo(const QString& address);
    // Lists a new member and answers it.
    void takeSlot(int slot, const QString& address, const QString& name);
    // A membership change ends the partnership and shows the plain titles.
    void endPartnership();
    void sendRequest(const QString& destination);
    void show(const QString& text);

    Controls c_;
    StationState& state_;
    Messages& messages_;
    const Clock& clock_;
    Hooks hooks_;
};

} // namespace quorel
