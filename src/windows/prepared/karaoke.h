#pragma once
// The karaoke remote's behaviour: every move of the track bar tells the
// partner's display how far to colour the current line (in percent), and the
// arrow keys step it by columns. The partner's display has two colouring
// modes, the character-colour display and the karaoke display; each listens
// on a port of its own, and the remote switches them and sets their colours
// with remote settings messages.

#include <QColor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace quorel {

class Choosers;
class LinkEncryption;
class LumoLink;
class Messages;
class TFmojikara;
class TNMUDP;
struct StationState;

class KaraokeRemote : public QObject {
    Q_OBJECT
public:
    static inline const QString kNext = QStringLiteral("$next$");
    static inline const QString kBefore = QStringLiteral("$befor$");
    static inline const QString kNoPartner =
        QStringLiteral("「カラオケ送信リモコン」は、パートナーに送信します。\n"
                       "パートナーが指名されていません。");
    static inline const QString kPartnerMissing =
        QStringLiteral("パートナーが指名されていません。");
    static const QString kColourNote;  // after choosing the character-colour colour
    static const QString kKaraokeNote; // after choosing the karaoke colour
    static inline const QString kSaveName = QStringLiteral("説明ページ保存.txt");
    static inline const QString kSaveFilter =
        QStringLiteral("テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*");

    struct Controls {
        TNMUDP* NMUDP1;
        const QCheckBox* CheckBox60; // the main window's "Ｌｕｍｏに表示"
        const QCheckBox* CheckBox19; // messages enabled
    };
    struct Hooks {
        std::function<bool()> partnerNominated;
        // Where the partner link sends: the partner's address, or the last
        // partner's, or empty when there has never been one.
        std::function<QString()> partnerAddress;
        // Header, the lines and "$end$" on the partner link.
        std::function<void(const QStringList& lines)> sendSettingsMessage;
        // The channel selector's item index (-1 when none is chosen).
        std::function<int()> channelIndex;
        std::function<void()> beep;
    };

    KaraokeRemote(TFmojikara& window, const Controls& c, LinkEncryption& encryption,
                  const LumoLink& lumo, const StationState& state, Messages& messages,
                  Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // The columns of a full line as the arithmetic uses them.
    int columns() const;

    void TrackBar1Change();
    void TrackBar1KeyDown(int key, bool shift);
    void CheckBox59Click();
    void CheckBox1Click();
    void Button3Click(); // character-colour colour
    void Button1Click(); // karaoke colour
    void Button2Click(); // character colour on
    void Button4Click(); // character colour off
    void Button5Click(); // karaoke on
    void Button6Click(); // karaoke off
    void Button7Click(); // save the usage page
    void Edit2Change();
    void Edit3Change();

    // The colour the dialog last confirmed, which the colour buttons send.
    QColor colour() const { return colour_; }
    void setColour(const QColor& c) { colour_ = c; }

private:
    bool sending() const;
    // One position message to the partner (and the same-PC display).
    void send(const QString& body);
    // A remote settings message, unless there is nobody to send it to.
    void sendSettings(const QStringList& lines);
    void onOff(const QStringList& lines);
    void chooseColour(QCheckBox* box, int key, const QString& note);
    // Rebinds the endpoint on the mode's port of the current channel.
    void moveEndpoint(int base);
    void partnerCheck(QCheckBox* box, int base);
    void focusTrackBar();
    void atLeastOne(QLineEdit* edit);

    TFmojikara& w_;
    Controls c_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    const StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
    QColor colour_{Qt::red};
};

} // namespace quorel
