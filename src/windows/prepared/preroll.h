#pragma once
// The pre-roll template: prepared text in three panes that the operator
// corrects and sends line by line with F1, to the screen as if it had been
// typed and entered, or to the information window as a telop line.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QTextEdit;

namespace quorel {

class Choosers;
class Messages;
class PrerollPane;
class TForm11;
struct StationState;

class Preroll : public QObject {
    Q_OBJECT
public:
    static constexpr int kLineLimit = 1023;   // bytes a sent line or part may have
    static constexpr int kSizeNotice = 20000; // bytes of a pane after an import
    static inline const QString kComment = QStringLiteral("<-");
    static inline const QString kFileName = QStringLiteral("テンプレート前ロール.txt");
    static inline const QString kFilter =
        QStringLiteral("テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    static inline const QString kTooLong =
        QStringLiteral("［警告］前ロールの１行の文字数が１０２４バイト以上です。");
    static inline const QString kSizeHead = QStringLiteral("読み込んだ前ロールは、　");
    static const QString kSizeTail;
    static const QString kCommaNote;
    static inline const QString kDistanceLine = QStringLiteral("$set$620:%1:スクロール速度即変更");
    static inline const QString kCannotRead = QStringLiteral("ファイル %1 は読み込めません。");
    // A pre-roll larger than this is not a text anybody prepared by hand.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

    struct Controls {
        QTextEdit* inputPart;  // the main window's input part (F9)
        QCheckBox* CheckBox19; // the main window's "messages enabled"
    };

    // The information window's option boxes that the telop route sets.
    enum class TelopOption {
        StopAtLeftEnd,   // "Stop scrolling at the left end. " (CheckBox11)
        MoveToPlace,     // "Move to the specified place by the above (*1). " (CheckBox9)
        ClearWindow,     // "Clear Telop Window (*2). " (CheckBox5)
        ShowSettingPage, // "Show Setting page.(*2)" (CheckBox8)
    };

    struct Hooks {
        // Shows `s` on the own screen and sends it to the group, as Enter in
        // the input part does, without taking the input part's text. 0 when
        // it was taken, 1 when refused (too long).
        std::function<int(const QString& s)> sendSentence;
        // Takes the newest sentence back into the input part (F9).
        std::function<void(bool shift)> undo;
        // F11 as Del, Shift+F11 as Cls; false when F11 is not set to do that.
        std::function<bool(bool shift)> f11;
        // One numbered settings line to the partner as a remote settings
        // message; only called while a partner is nominated.
        std::function<void(const QString& line)> sendRemoteSetting;
        std::function<bool()> partnerNominated;

        // The information (telop) window. Each is a no-op until it is set.
        std::function<void(const QString& text)> setTelopText;
        // A telop text followed by its settings, separated by half-width commas.
        std::function<void(const QString& line)> setTelopTextAndSettings;
        std::function<void()> stopTelopOnNetwork;
        std::function<void()> sendTelopToNetwork;
        std::function<void()> clearLocalTelop;
        std::function<void()> startLocalTelop;
        std::function<void()> showInformationWindow;
        std::function<void(TelopOption option, bool on)> setTelopOption;
    };

    Preroll(TForm11& window, const Controls& c, const StationState& state, Messages& messages,
            Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // The main window's "Pre-roll Template".
    void showWindow();

    // Keys in pane k (0 ... 2).
    void F1(int k);
    void F9(int k, bool shift);
    void F11(bool shift);
    void F12(int k);

    void importInto(int k); // Button36, Button48, Button49
    void saveFrom(int k);   // Button1, Button4, Button5
    // A line after pane k's last line (the telop's "Add to  Pre-roll").
    void appendToPane(int k, const QString& line);
    void clear(int k);   // Button6, Button7, Button8
    void Button9Click(); // "Clear display"
    void Button2Click(); // font of the panes
    void Button3Click(); // background of the panes
    void Edit1Change();
    void Edit3Change();
    void CheckBox22Click();
    void CheckBox23Click();

    // The pane that should have the keyboard: the one shown alone, else pane 1.
    void focusRule();

    // The pane's text as a file holds it, CR LF after every line, in bytes.
    static int fileBytes(const PrerollPane& pane);

private:
    PrerollPane& pane(int k) const;
    bool toTelop(int k) const;
    // Sends X the pane's way; 0 taken, 1 refused (nothing may change then).
    int route(int k, const QString& x);
    void telopRoute(const QString& x);
    void appendLines(PrerollPane& p, const QStringList& lines);
    void setTelopOption(TelopOption o, bool on);
    void warn(const QString& text);
    // Places the caret at the start of line `line` (or the end of the text
    // when there is no such line).
    static void caretToLine(PrerollPane& p, int line);
    static void scrollOneLine(PrerollPane& p);
    void advance(PrerollPane& p);

    TForm11& w_;
    Controls c_;
    const StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
};

} // namespace quorel
