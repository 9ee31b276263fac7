#pragma once
// Notes between the typists of a group: typed in the chat window, sent to the
// members (or the whole network), logged with a warning flash when they
// arrive, and a periodic note that can announce the hand-over between typists.

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>

namespace quorel {

class Choosers;
class Clock;
class LinkEncryption;
class LumoLink;
class MemberList;
class Messages;
class OwnAddress;
class TForm6;
class TNMUDP;
struct StationState;

class Chat : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kAdvanceMs = 30000;
    static inline const QString kEmptyNote = QStringLiteral("$改行$");
    static inline const QString kStopped = QStringLiteral("定時連絡：＜停止中＞");
    static inline const QString kFilter =
        QStringLiteral("連絡文.txt(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    static inline const QString kNameTail = QStringLiteral("連絡文.txt");

    Chat(TForm6& window, TNMUDP& endpoint, MemberList& members, OwnAddress& own,
         LinkEncryption& encryption, const LumoLink& lumo, const StationState& state,
         const Clock& clock, Messages& messages, Choosers& choosers, QObject* parent = nullptr);

    // Composes the note from the input box, logs it and, with `send`, sends it.
    void SendChat(bool send);
    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void Timer1Timer();
    void Timer2Timer();
    void CheckBox2Click();
    void Edit2Change();
    void Button1Click(); // save the log
    void Button2Click(); // font
    void Button3Click(); // normal background
    void Button4Click(); // warning background

    // The main window's "Display Chat Window": shown, typing in its input box.
    void showWindow();

    // The log's lines for the save at exit; empty when the window does not
    // save at exit or has nothing to save.
    QStringList recordAtExit() const;
    QStringList logLines() const;

    QColor normalColour() const { return normal_; }
    void setNormalColour(const QColor& c);
    QColor warningColour() const { return warning_; }
    void setWarningColour(const QColor& c) { warning_ = c; }
    QColor textColour() const;
    void setTextColour(const QColor& c);

private:
    void log(const QString& text);
    void flash();
    void paint(const QColor& background);
    // Puts `text` as the input box's first line, and the time line after it.
    void prepareNote(const QString& text);
    qint64 periodMs() const;

    TForm6& w_;
    TNMUDP& endpoint_;
    MemberList& members_;
    OwnAddress& own_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    const StationState& state_;
    const Clock& clock_;
    Messages& messages_;
    Choosers& choosers_;
    QColor normal_ = Qt::white;
    QColor warning_ = Qt::red;
    // The periodic note's due moment on the clock's monotonic milliseconds.
    qint64 due_ = 0;
    bool advancePending_ = false;
    int logCount_ = 0;
};

} // namespace quorel
