#pragma once
// The station's own address and name: detected from the PC at start, checked
// whenever typed, and the remote networks reached through VPN routers.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quorel {

class DatagramNetwork;
class Messages;
class TNMUDP;
struct StationState;

class OwnAddress : public QObject {
    Q_OBJECT
public:
    static inline const QString kReplacement = QStringLiteral("10.14.1.1");
    static inline const QString kNoAddress = QStringLiteral("0 またはDHCPサーバ");
    static inline const QString kReadFailed = QStringLiteral("読込み失敗");
    static inline const QString kReadFailedMessage =
        QStringLiteral("ＩＰアドレスの読込に失敗しました。\n他のパソコンと通信できません。");
    static inline const QString kReplacedMessage = QStringLiteral(
        "入力したＩＰアドレスが間違っていたので\n１０．１４．１．１に書き換えました。\n"
        "このままでは、他のＱｕｏｒｅｌと通信できません。\n\n"
        "書き換えている途中も通信しているため、挿入削除を\n"
        "うまく使って正しいＩＰの形を維持して書き換えてください。\n\n"
        "起動した時にこのメッセージが出る場合は、次のチェックをしてください。\n"
        "１）ＬＡＮカードが入っていない。\n"
        "２）「ＩＰアドレスを自動取得」にしているのにネットワークに接続していない。\n"
        "３）ＩＰアドレスが正しく設定されていない。");
    static inline const QString kSeveralAddresses = QStringLiteral(
        "複数のＩＰアドレスが見つかりました。\n「自分のパソコン」の「赤いＩＰアドレスの一覧」から\n"
        "Ｑｕｏｒｅｌで使うＩＰアドレスをクリックしてください。");
    static inline const QString kWrongOwnAddress =
        QStringLiteral("自分のＩＰアドレスが間違っています。");

    struct Controls {
        QLineEdit* Edit35;     // own address
        QLineEdit* Edit30;     // station name
        QListWidget* ListBox2; // the PC's addresses
        QPushButton* Button39; // "Read in IP again"
        QPushButton* Button36; // "winipcfg"
        QPushButton* Button38; // "ipconfig"
        QCheckBox* CheckBox71; // search the remote networks
        QCheckBox* CheckBox72; // search the exact remote addresses
        QLineEdit* Edit98;
        QLineEdit* Edit99;
        QLineEdit* Edit100;
        QCheckBox* CheckBox19; // messages enabled
    };

    OwnAddress(const Controls& c, DatagramNetwork& network, StationState& state, Messages& messages,
               QObject* parent = nullptr);

    void DetectOwnAddress();
    bool listIsRed() const;
    // One send to the broadcast address of the own network. False (after the
    // message) when the own address is wrong and nothing was sent.
    bool SendToOwnNetwork(TNMUDP& endpoint, const QByteArray& bytes);
    void clearNameEdited() { nameEdited_ = false; }
    // "Read in IP again" also reads the station name from the start-up
    // settings file (set by the station once it reads settings files).
    std::function<void()> readStartupName;

    // Handlers.
    void Edit35Change();
    void ListBox2Click();
    void Button39Click();
    void Edit30Change();
    void Edit30Exit();
    void RemoteBoxChange();
    void CheckBox71Click();
    void CheckBox72Click();
    void Button36Click();
    void Button38Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(const QString& text);
    void setListRed(bool red);
    void showNetworkWindow(const QString& title, const QString& text);

    Controls c_;
    DatagramNetwork& network_;
    StationState& state_;
    Messages& messages_;
    bool nameEdited_ = false;
};

} // namespace quorel
