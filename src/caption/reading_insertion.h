#pragma once
// Readings for Japanese readers. F1 puts the reading of the word the typist
// just converted next to it, in brackets or as ruby ("`r" reading "`s" before
// the word), in the input part or a sub input pane. Ruby messages from other
// stations ("base,reading") put readings onto words already on the screen.

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTextEdit;

namespace quorel {

class DisplayRecord;
class LinkEncryption;
class LumoLink;
class Messages;
class TForm5;
class TNMUDP;
struct StationState;

class ReadingInsertion : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 1024;
    static constexpr int kBasePort = 6736;
    // The longest reading kept, in bytes.
    static constexpr int kReadingBytes = 256;

    static inline const QString kBracketHelp = QStringLiteral(
        "下のカッコ枠で指定した文字で囲んで、直前に変換した漢字の「入力した読み」が漢字の後ろに挿"
        "入される。\n\n入力済みの文をマウスや矢印キーで範囲選択し「変換」キーを押して再変換した「"
        "読み」もカッコで囲んで文字の後に挿入します。。\n\n＜再変換してルビを付ける場合の注意＞\n"
        "１）マウスやShift+矢印キーで範囲選択して「変換キー」を押し、変換候補を表示した時に、範囲"
        "選択が自動的に広がってしまう場合があります。\nこのような場合は、「ＩＭＥのプロパティー」"
        "の「変換」の「再変換」の「必要なときに選択範囲を拡張する」のチェックを外してください。\n"
        "\n２）漢字変換中に矢印キーなどで変換範囲を変更した場合でもルビになる読みは全体になります"
        "。");
    static inline const QString kRubyHelp = QStringLiteral(
        " 「入力した読み」をルビ記号「‘ｒ」「‘ｓ」で囲い、直前に変換した漢字の前に挿入する。\n\n"
        "入力済みの文をマウスや矢印キーで範囲選択し「変換」キーを押して再変換した「読み」もルビ記"
        "号「‘ｒ」「‘ｓ」で囲い、直前に変換した漢字の前に挿入する。\n\n＜注意＞\n\nルビの表示はＬ"
        "ｕｍｏを使います。\n表示するＬｕｍｏの「補助Ｗ」ページの「ルビ送信」の「表示・送受信する"
        "」のチェックを入れてください。\n\n＜再変換してルビを付ける場合の注意＞\n\n１）マウスやSh"
        "ift+矢印キーで範囲選択して「変換キー」を押し、変換候補を表示した時に、範囲選択が自動的に"
        "広がってしまう場合があります。\nこのような場合は、「ＩＭＥのプロパティー」の「変換」の「"
        "再変換」の「必要なときに選択範囲を拡張する」のチェックを外してください。\n\n２）漢字変換"
        "中に矢印キーなどで変換範囲を変更した場合でもルビになる読みは全体になります。");
    static inline const QString kMarkersOff =
        QStringLiteral("「表示１」ページの「入力文の表示位置の表示」のチェックを外しました。");
    static inline const QString kSubOptionsOn = QStringLiteral(
        "「サブ入力」ウィンドの「表示の右端で折り返さない。」のチェックと\n「１入力を本文の指定桁"
        "数で複数行に分割」のチェックの\n全てを入れる必要があるので、チェックを入れました。");

    struct Controls {
        TNMUDP* NMUDP1;             // the sub input window's: ruby messages
        QCheckBox* CheckBox58;      // bracket mode
        QLineEdit* Edit22;          // opening bracket
        QLineEdit* Edit23;          // closing bracket
        QCheckBox* CheckBox59;      // ruby mode
        QRadioButton* RadioButton1; // half-width katakana
        QRadioButton* RadioButton2; // katakana
        QRadioButton* RadioButton3; // hiragana
        QCheckBox* CheckBox46;      // receive and apply ruby messages
        QCheckBox* CheckBox50;      // position markers
        QCheckBox* CheckBox19;      // messages enabled
        TForm5* memo;               // the F-key memo, whose F1 row changes
    };
    struct Hooks {
        // The sub input window's two display options (no wrap, column split).
        std::function<bool()> subOptionsOn;
        std::function<void(bool on)> setSubOptions;
        // Lines on the screen: ruby reaches only these last lines.
        std::function<int()> screenLines;
        // After ruby went onto the record (the word-processor screen's caret).
        std::function<void()> rubyApplied;
    };

    ReadingInsertion(const Controls& c, DisplayRecord& record, StationState& state,
                     LinkEncryption& encryption, const LumoLink& lumo, Messages& messages,
                     QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // Bracket or ruby mode.
    bool on() const;
    // An editor F1 works in: its keys, focus, clicks and changes are tracked.
    void addTarget(QTextEdit* editor);
    // F1 in `editor`.
    void insert(QTextEdit* editor);
    // Enter, Esc and F12: the reading belongs to the sentence that ends.
    void reset(QTextEdit* editor, bool f12);

    // From the input method of the editors added as targets (so only while
    // one of them has the keyboard): a composition starts or ends, and a
    // conversion was confirmed with `reading` (half-width katakana), before
    // its text enters the editor.
    void compositionStarted();
    void compositionEnded();
    void conversion(const QString& reading);

    const QString& reading() const { return reading_; }
    bool composing() const { return composing_; }
    // The start and end of the last converted word in `editor`.
    int previousPosition(const QTextEdit* editor) const;
    int currentPosition(const QTextEdit* editor) const;

    void NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Target {
        QTextEdit* editor;
        int current = 0;
        int previous = 0;
    };
    Target* target(const QObject* watched);
    const Target* target(const QObject* watched) const;
    void CheckBox58Click();
    void CheckBox59Click();
    void CheckBox46Click();
    void optionsChanged();
    QString formed(const QString& reading) const;

    Controls c_;
    DisplayRecord& record_;
    StationState& state_;
    LinkEncryption& encryption_;
    const LumoLink& lumo_;
    Messages& messages_;
    Hooks hooks_;
    std::vector<Target> targets_;
    QString reading_;
    bool composing_ = false;
};

} // namespace quorel
