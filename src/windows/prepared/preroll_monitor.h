#pragma once
// Where the operator of a pre-roll is: after every key in a pre-roll pane the
// lines around the caret go to the pre-roll monitors (of the group, of the
// partner or of this station), and the caret's line number goes to the
// members whose own copy of the pre-roll follows it.

#include <QObject>
#include <QString>
#include <array>
#include <deque>
#include <functional>

class QCheckBox;
class QPlainTextEdit;

namespace quorel {

class Choosers;
class LinkEncryption;
class MemberList;
class Messages;
class TForm11;
class TForm3;
class TNMUDP;
struct StationState;

class PrerollMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;    // monitor lines
    static constexpr int kLinkBound = 256; // line numbers
    static constexpr int kLineLimit = 1024;
    // A section keeps its newest lines: a sender that never clears cannot
    // make it grow without end.
    static constexpr std::size_t kSectionLines = 1000;
    static inline const QString kClear = QStringLiteral("$消去$");
    static inline const QString kEmptyLine = QStringLiteral("$改行$");
    static inline const QString kTooLong =
        QStringLiteral("［警告］前ロールの１行の文字数が１０２４バイト以上です。");
    static inline const QString kNotANumber =
        QStringLiteral("前ロールの行番を無視（数字ではない）：");
    static const QString kAllNote;
    static const QString kPartnerNote;
    static const QString kSelfNote;
    static const QString kSendNote;
    static const QString kReceiveNote;

    struct Controls {
        TNMUDP* NMUDP1;        // lower section lines
        TNMUDP* NMUDP2;        // upper section lines
        TNMUDP* NMUDP5;        // line link, the same port on every channel
        QCheckBox* CheckBox48; // the main window's "Double Number of lines of Monitor "
        QCheckBox* CheckBox19; // the main window's "messages enabled"
    };
    struct Hooks {
        // The nominated partner's address; empty while there is none.
        std::function<QString()> partnerAddress;
        // A dated line on the explanation page.
        std::function<void(const QString&)> note;
    };

    PrerollMonitor(TForm11& preroll, TForm3& window, const Controls& c, MemberList& members,
                   LinkEncryption& encryption, const StationState& state, Messages& messages,
                   Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // After a key in pane k (0 ... 2): the monitor lines, then the link.
    void paneKeyReleased(int k);
    void sendMonitor(int k);
    void sendLink(int k);

    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP2DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    void NMUDP5DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);

    // The main window's "Pre-roll Template Monitor".
    void showWindow();
    void Button1Click(); // font of both sections
    void Button2Click(); // background of both sections
    void CheckBox1Click();

    // The lines a section shows.
    QStringList lines(bool upper) const;

private:
    enum Section { Lower = 0, Upper = 1 };
    void received(Section s, TNMUDP* Sender, int NumberBytes);
    void clearSection(Section s);
    void addLine(Section s, const QString& line);
    void sendLine(Section s, const QString& line);
    QPlainTextEdit* section(Section s) const;
    void optionNote(QCheckBox* box, const QString& text, bool onlyWhenReady);

    TForm11& p_;
    TForm3& w_;
    Controls c_;
    MemberList& members_;
    LinkEncryption& encryption_;
    const StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
    // Shows the sections' lines in the window, once per turn of the event
    // loop and only while it is shown: a burst of datagrams costs a list
    // each, never a redraw each.
    void scheduleShow();
    void showSections();
    std::array<std::deque<QString>, 2> lines_;
    bool showPending_ = false;
};

} // namespace quorel
