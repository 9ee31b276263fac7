#pragma once
// The partner's unfinished input, keystroke by keystroke: every key release in
// the input part reports the whole input to the partner (the monitor part) and
// to every member (their 8-person monitors), so typists hand over at the
// right word.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QLineEdit;
class QTextEdit;
class QTimer;

namespace quorel {

class LinkEncryption;
class MemberList;
class Messages;
class Partner;
class TNMUDP;

class MonitorPart : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static inline const QString kNull = QStringLiteral("$null$");
    static inline const QString kClear = QStringLiteral("$clear$");
    static inline const QString kErased = QStringLiteral("●消去●");
    static inline const QString kLineFeed = QStringLiteral("$改行$");

    struct Controls {
        QTextEdit* RichEdit1;            // the input part
        QTextEdit* RichEdit27;           // the monitor part
        QLineEdit* Edit66;               // text shown when the partner clears
        QLineEdit* Edit68;               // for this many ms
        QTimer* Timer4;                  // the clear timer
        QCheckBox* CheckBox57;           // partner's line breaks as ■
        QCheckBox* CheckBox55;           // monitor part scrolls to the end
        QCheckBox* CheckBox12;           // monitor messages on
        QCheckBox* CheckBox49;           // members' line breaks as ■
        QCheckBox* CheckBox56;           // 8-person panes scroll to the end
        QCheckBox* eightBlank;           // TForm2.CheckBox1
        std::array<QTextEdit*, 8> panes; // TForm2.RichEdit1 ... 8
        QLineEdit* Edit35;               // own address
        TNMUDP* NMUDP2;                  // partner link
        TNMUDP* NMUDP7;                  // monitor messages
    };

    MonitorPart(const Controls& c, MemberList& members, Partner& partner,
                LinkEncryption& encryption, Messages& messages, QObject* parent = nullptr);

    // Remote settings datagrams ("$set$..." and "$end$") on the partner link,
    // with the address they came from.
    std::function<void(const QString& body, const QString& from)> settingsBody;

    // Key release in the input part with its key code (Backspace, Esc clear).
    void report(int key);
    // The same for another input pane: its text is what the partner sees.
    void report(const QTextEdit* editor, int key);
    // The partner link send: scrambled when the switch is on.
    void SendOnSettingsSocket(const QString& text);
    void NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP7DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void Timer4Timer();
    void RichEdit27Click();

    // CR LF shown as "■": the same two bytes' room, so the length stays.
    static QString withSquares(QString text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString inputText(const QTextEdit* editor);
    static bool inputEmpty(const QTextEdit* editor);

    Controls c_;
    // Compared by address only: the filter also sees events while the
    // window is being destroyed.
    const QObject* monitorViewport_ = nullptr;
    MemberList& members_;
    Partner& partner_;
    LinkEncryption& encryption_;
    Messages& messages_;
};

} // namespace quorel
