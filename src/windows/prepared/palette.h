#pragma once
// The confirm and correct palette: typists who send to the palette have their
// sentences queued in the corrector's six panes; the corrector confirms the
// head with Enter and it goes to the screen and the group like a sentence
// typed there. Every change of a pane is reported to the palette monitors,
// and linked palettes keep their panes the same.

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QKeyEvent;
class QPushButton;
class QTextEdit;

namespace quorel {

class Choosers;
class LinkEncryption;
class MemberList;
class Messages;
class TFkakunin;
class TFshusei_moni;
class TNMUDP;
struct StationState;

class Palette : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kPanes = 6;
    static constexpr int kAppendLimit = 253; // bytes pane 6 may hold with an appended sentence
    static inline const QString kLineFeed = QStringLiteral("$改行$");
    static inline const QString kErased = QStringLiteral("●消去●");
    static inline const QString kFirstMonitorLine =
        QStringLiteral("1訂正係りが修正している様子がモニターできます。");
    static inline const QString kFileName = QStringLiteral("説明ページ保存.txt");
    static inline const QString kFilter =
        QStringLiteral("テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    static inline const QString kWaiting = QStringLiteral("Waiting: %1");

    struct Controls {
        TNMUDP* NMUDP1;        // palette input
        TNMUDP* NMUDP2;        // palette monitor
        TNMUDP* NMUDP3;        // palette link
        QCheckBox* CheckBox21; // the main window's "Send the input to Palette"
        QCheckBox* CheckBox11; // the main window's undo option for others' sentences
        QPushButton* Button23; // "Display Confirm & Cprrect Palette"
        QPushButton* Button35; // "Monitor"
    };

    struct Hooks {
        // Shows `s` on the own screen and sends it to the group, without
        // touching the input part. 0 when taken, 1 when refused (too long).
        std::function<int(const QString& s)> sendSentence;
        // F9: the newest sentence back into `pane`.
        std::function<void(bool shift, QTextEdit* pane)> undo;
        // F11 as Del / Shift+F11 as Cls; false when F11 is not set to do that.
        std::function<bool(bool shift)> f11;
        // The input aids' function keys in `pane`; true when taken.
        std::function<bool(QTextEdit* pane, int key, bool shift)> functionKey;
    };

    Palette(TFkakunin& window, TFshusei_moni& monitor, const Controls& c, MemberList& members,
            LinkEncryption& encryption, const StationState& state, Messages& messages,
            Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // An input person's sentence, as Send a sentence prepared it.
    void SendToPalette(const QString& s);

    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP3DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);

    // Keys in pane k (0 ... 5).
    void enterIn(int k);
    void escapeIn(int k);
    void F12();
    // Closes the gaps between the panes, one pass from the top.
    void compact();

    void CheckBox21Click();
    void Button23Click(); // shows the palette
    void Button35Click(); // shows the monitor
    void windowClosed();
    void Button1Click(); // pane font
    void Button2Click(); // pane background
    void Button3Click(); // save the explanation
    void monitorFont();
    void monitorBackground();

    QString paneText(int k) const;
    const QStringList& waiting() const { return overflow_; }
    const std::array<QString, kPanes>& monitorLines() const { return monitorLines_; }
    bool linkOn() const;

private:
    bool takeKey(int k, QKeyEvent* e);
    void queue(const QString& text);
    void refill();
    void setPane(int k, const QString& text);
    void paneChanged(int k, bool backspace);
    QString monitorText(int k, bool backspace) const;
    void send(TNMUDP& endpoint, const QString& body);
    void showWaiting();
    void showMonitor();
    std::optional<QString> receive(TNMUDP* sender, int numberBytes);

    TFkakunin& w_;
    TFshusei_moni& monitor_;
    Controls c_;
    MemberList& members_;
    LinkEncryption& encryption_;
    const StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
    // Sentences that arrived while every pane was full, oldest first.
    QStringList overflow_;
    std::array<QString, kPanes> monitorLines_;
    bool receivingLink_ = false;
};

// The pane number of a monitor or link body ("k,text"): only the first
// character before the comma counts; 0 ... 5, or -1 when there is none.
int paneNumberOf(const QString& body, QString* rest);

} // namespace quorel
