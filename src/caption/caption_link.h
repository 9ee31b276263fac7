#pragma once
// Captions between stations: a sent sentence goes as one datagram to every
// ticked member; a received one is checked, cleaned and shown (or held while
// lines are being corrected).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QPlainTextEdit;

namespace quorel {

class LinkEncryption;
class LumoLink;
class MemberList;
class ScreenPart;
class TNMUDP;

class CaptionLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kBasePort = 6711;

    struct Controls {
        TNMUDP* NMUDP1;        // captions
        QCheckBox* CheckBox22; // "Send the input to LAN"
        QCheckBox* CheckBox85; // correction mode
        QPlainTextEdit* held;  // the held-captions list (TForm8.Memo2)
    };
    // Held commands are applied by the undo subsystem; empty until it exists.
    struct Hooks {
        std::function<void()> undo, del, cls;
    };

    CaptionLink(const Controls& c, MemberList& members, ScreenPart& screen,
                LinkEncryption& encryption, const LumoLink& lumo, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    void SendCaption(const QString& s);
    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    // Correction mode ended: the held lines are applied in arrival order.
    void replayHeld();
    // Holds a line (a caption or a command token) until correction mode ends.
    void hold(const QString& line);

private:
    Controls c_;
    MemberList& members_;
    ScreenPart& screen_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    Hooks hooks_;
    int heldCount_ = 0;
};

} // namespace quorel
