#pragma once
// Settings that the partner sends over the partner link: numbered settings
// lines framed by a header and "$end$", applied as a loaded file is, and the
// "Match" request that asks the partner for its window and screen sizes.
//
// What arrives on the network can come from any host, so a message is taken
// only from the nominated partner (or from this PC), and never with the keys
// that decide whom the station talks to or what it keeps.

#include "settings/settings_registry.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QCheckBox;
class QPushButton;

namespace quorel {

class Messages;

class RemoteSettings : public QObject {
    Q_OBJECT
public:
    static inline const QString kSet = QStringLiteral("$set$");
    static inline const QString kEnd = QStringLiteral("$end$");
    static inline const QString kReceived = QStringLiteral("表示設定受信：");
    static inline const QString kNotFromPartner =
        QStringLiteral("表示設定を無視（パートナー以外から）：");
    static inline const QString kKeyRefused =
        QStringLiteral("表示設定を無視（リモートでは変更できない項目）：");
    static inline const QString kOverflow =
        QStringLiteral("表示設定を無視（受信バッファがいっぱい）：");
    static inline const QString kNoPartner = QStringLiteral("パートナーが指名されていません。");
    static inline const QString kMatchLine =
        QStringLiteral("$set$607:true:ウィンドの大きさなど送れの指示");
    // PendingSettings holds at most this many characters, as the original
    // receive buffer did.
    static constexpr qsizetype kPendingLimit = 65536;

    struct Controls {
        QPushButton* Button18; // "Match"
        QCheckBox* CheckBox67; // automatic adjustment of lines, spacing and distance
        QCheckBox* CheckBox19; // messages enabled
    };
    struct Hooks {
        // One datagram to the partner, scrambled when the switch is on.
        std::function<void(const QString&)> send;
        std::function<bool()> partnerNominated;
        // The address is the partner's or one of this PC's own.
        std::function<bool(const QString& from)> trusted;
        // A dated line on the explanation page.
        std::function<void(const QString&)> note;
        // Around the apply pass of a message: boxes become notices meanwhile.
        std::function<void(bool)> applying;
    };

    RemoteSettings(const Controls& c, settings::SettingsRegistry& registry, Messages& messages,
                   QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // The "$set$" datagrams since the last "$end$", prefix included.
    QStringList PendingSettings;

    // A "$set$..." or "$end$" datagram from `from`.
    void received(const QString& body, const QString& from);
    // Header, the lines, "$end$": one datagram each.
    void SendSettingsMessage(const QStringList& lines);
    void Button18Click();

    // Keys a remote message may not set: channel, group, the LAN switch,
    // encryption, the station name, where input goes, what is kept, and
    // whether (and where) the station serves its captions to browsers.
    static bool refused(int key);

private:
    void applyPending();

    Controls c_;
    settings::SettingsRegistry& registry_;
    Messages& messages_;
    Hooks hooks_;
    qsizetype pendingChars_ = 0;
};

} // namespace quorel
