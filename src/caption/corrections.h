#pragma once
// Corrections of lines already on every screen. A typist edits the last lines
// on the word-processor screen and presses "Snd": the corrected block travels
// line by line to every member, which appends it below its own lines and
// shows it at once, so the corrected text stands at the bottom of every screen.

#include <QObject>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

namespace quorel {

class LinkEncryption;
class LumoLink;
class MemberList;
class Messages;
class ScreenPart;
class TNMUDP;

class Corrections : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kBasePort = 6713;
    // Receivers keep the first 256 bytes of a line.
    static constexpr int kLineBytes = 256;
    // Lines collected without an end line are kept up to this many; the
    // oldest go first.
    static constexpr int kCollectedLines = 1000;
    static inline const QString kEmptyLine = QStringLiteral("$null$");
    static inline const QString kEndLine = QStringLiteral("＜エラー＞行数違い！");
    static inline const QString kEndLine2 = QStringLiteral("`@");
    static inline const QString kDiscard = QStringLiteral("`*");

    struct Controls {
        TNMUDP* NMUDP3;        // corrections
        QPushButton* Button14; // "Snd"
        QLineEdit* Edit8;      // display lines: the block's line count
        QCheckBox* CheckBox8;  // line feed only by null line
        QCheckBox* CheckBox50; // position markers
        QTextEdit* RichEdit1;  // the input part
    };

    Corrections(const Controls& c, MemberList& members, ScreenPart& screen,
                LinkEncryption& encryption, const LumoLink& lumo, Messages& messages,
                QObject* parent = nullptr);

    // One line of a block to every ticked member (and the same-PC copy).
    void SendCorrectionLine(const QString& text);
    void Button14Click();
    void NMUDP3DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);

    // Lines received since the last end line, oldest first.
    const QStringList& collected() const { return collected_; }

private:
    bool markersOn() const;
    // The block of the last n lines as it goes out: without the position
    // marker, which is the sender's screen state and not text.
    QStringList takeBlock(int n) const;
    void putMarkerBack();
    void appendCollected();

    Controls c_;
    MemberList& members_;
    ScreenPart& screen_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    Messages& messages_;
    // Received lines waiting for their end line.
    QStringList collected_;
};

} // namespace quorel
