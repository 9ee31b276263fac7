#pragma once
// The telop: one line of text scrolling through the information window. The
// operator tries it here, sends it with its place, speed, font and colours to
// the members, or stops it everywhere; a member that receives it shows it as
// the sender set it up (or, asked to, only the text in its own set-up).
//
// On the wire a telop is a settings-file-like message, one datagram per line:
// the header, the setting lines, "900:true:表示" or "901:true:停止", "$end$".

#include "settings/settings_values.h"

#include <QFont>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;

namespace quorel {

class Choosers;
class LinkEncryption;
class LumoLink;
class MemberList;
class Messages;
class TForm15;
class TNMUDP;

class Telop : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kBasePort = 6731;
    // Setting mode is this much higher than display mode, and starts this
    // much further up: the page control's strip.
    static constexpr int kModeShift = 45;
    static constexpr int kFieldBytes = 401;
    // A message whose "$end$" never comes must not grow the buffer without
    // end: lines beyond this many characters are dropped until it comes.
    static constexpr qsizetype kBufferChars = 65536;
    // The sender refuses a line with more colons than this, the receiver
    // stops at a line with more than kReceiverColons.
    static constexpr int kSenderColons = 10;
    static constexpr int kReceiverColons = 9;
    static constexpr int kEndHeight = 200;

    static inline const QString kHeader = QStringLiteral("999:＜番号付き表示設定ファイル２＞");
    static inline const QString kEnd = QStringLiteral("$end$");
    static inline const QString kShow = QStringLiteral("900:true:表示");
    static inline const QString kStop = QStringLiteral("901:true:停止");
    static inline const QString kNoPartner = QStringLiteral("パートナーが指名されていません。");
    static inline const QString kTooManyColons = QStringLiteral(
        "テロップ文の半角カンマの数が多すぎます。\n設定付きのテロップは、「テンプレー前ロール」の「"
        "テ"
        "ロップ」ページの\n「カンマで区切った設定も送信する。」のチェックを入れてください。\n\nテロ"
        "ップ"
        "は空白を送信します。\n自分にテロップを表示している時は、全てのテロップ文を表示します。");

    struct Controls {
        TNMUDP* NMUDP1;        // the telop endpoint
        QCheckBox* CheckBox16; // main window: do not receive telops (twin of CheckBox12)
        QCheckBox* CheckBox19; // messages enabled
        QWidget* main;         // the main window, whose place a telop can take
    };
    struct Hooks {
        // The partner is nominated, and its member slot (1 ... 8).
        std::function<bool()> partnerNominated;
        std::function<int()> partnerSlot;
        // The pre-roll's "Send the Setting delimited by comma too": long lines go.
        std::function<bool()> sendCommaSettings;
        // Appends a line to pane 1 of the pre-roll template.
        std::function<void(const QString&)> addToPreroll;
    };

    Telop(TForm15& window, const Controls& c, MemberList& members, LinkEncryption& encryption,
          const LumoLink& lumo, Messages& messages, Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    void StartLocalTelop();
    void ClearLocalTelop();
    void SendTelopToNetwork();
    void StopTelopOnNetwork();
    void SetTelopText(const QString& text);
    void ApplyTelopCommaLine(const QString& line);
    void AddTelopToPreroll();

    // The lines of a telop message before its command line and "$end$".
    QStringList settingLines() const;
    QString commaLine() const;

    // The telop's look: the font (the face as asked for), and the text and
    // background colours in the settings file's form, system colours kept.
    const QFont& font() const { return font_; }
    void setFont(const QFont& f);
    settings::WinColour fontColour() const { return fontColour_; }
    void setFontColour(settings::WinColour c);
    settings::WinColour background() const { return background_; }
    void setBackground(settings::WinColour c);

    // Ticker state.
    int offset() const { return offset_; }
    int repeatCounter() const { return repeatCounter_; }
    QRect savedPlace() const { return saved_; }
    const QStringList& buffered() const { return buffer_; }

    // Handlers.
    void Timer1Timer();
    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void Edit77F1();
    void Image2Drag(QPoint at);
    void Button3Click();
    void Button4Click();
    void CheckBox6Click();

private:
    enum class Target { Window, Boxes };
    void applyBuffered();
    // Applies setting lines; 500-503 go to the window's place or to the boxes.
    void applyLines(const QStringList& lines, Target target, bool onlyText);
    void endOperations();
    void toSettingMode(bool shift);
    void toDisplayMode();
    void place(int left, int top, int width, int height);
    void paintLook();
    int textWidth() const;
    // Sends each line as one datagram to every destination, the same-PC
    // copy after the members. Every destination is looked up first: an
    // address that cannot take a datagram fails the message before its first
    // line goes, so no member keeps half a telop.
    void sendMessage(const QStringList& lines, const QStringList& hosts, bool samePcCopy);
    QStringList memberHosts() const;
    void sendPlaceToPartner();

    TForm15& w_;
    Controls c_;
    MemberList& members_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;

    QFont font_;
    settings::WinColour fontColour_ = settings::kWindowText;
    settings::WinColour background_ = 16777215;
    int offset_ = 0;
    int repeatCounter_ = 0;
    QRect saved_; // left, top, width, height
    QStringList buffer_;
    qsizetype bufferChars_ = 0;
};

} // namespace quorel
