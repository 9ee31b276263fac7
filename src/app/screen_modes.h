#pragma once
// How the main window serves: a two-person or one-person input station, or a
// display station (borderless for a projector, with F1 F2 F3 on the keyboard),
// with the fonts and colours of its parts, the mouse cursor over the screen and
// the single-colour desktop cover.

#include <QObject>

namespace quorel {

class Choosers;
class Messages;
class ScreenPart;
class TForm9;
class TMainConsole;
struct StationState;

class ScreenModes : public QObject {
    Q_OBJECT
public:
    static inline const QString kDisplayOnly = QStringLiteral(
        "表示専用（「０人」）にしたのでスムーズ画面上ではマウスカーソルが消えるようになります。"
        "「１人」「２人」に戻せば、元通り現れます。\n\n"
        "「表示２」ページの「マウスカーソルの非表示」のチェックを入れた場合は、"
        "クリックするたびに「標準」「指」「消える」という順に変化します。\n\n"
        "＜Ｆキーの機能＞\nＦ１：タグとキャプション部が消えます。（枠なし表示）\n"
        "Ｆ２：再描画します。（「再」ボタン）\n"
        "Ｆ３：表示専用画面の大きさに合わせた行数・行間に自動調整します。");
    static inline const QString kFrameless = QStringLiteral(
        "タグを消します。タグを表示させる（戻る）には、Ｆ１キーを押します。\n\n"
        "＜Ｆキーの機能＞\nＦ１：タグとキャプション部が現れます。\n"
        "Ｆ２：再描画します。（「再」ボタン）\n"
        "Ｆ３：表示専用画面の大きさに合わせた行数・行間に自動調整します。\n\n"
        "★★「枠無し」画面の表示調整は、Ｌｕｍｏの「設定送信」ウィンドで行ってください。★★");
    static inline const QString kNotInWordProcessor =
        QStringLiteral("ワープロ画面の時は、「枠なし」にできません。");
    static inline const QString kNoAutoAdjust =
        QStringLiteral("「表示１」ページの「行間を自動調整する」のチェックが入ってません。  ");

    ScreenModes(TMainConsole& main, ScreenPart& screen, TForm9& cover, StationState& state,
                Messages& messages, Choosers& choosers, QObject* parent = nullptr);

    int personsMode() const;
    bool frameless() const;

    void setPersons(int mode); // the persons buttons
    // The number of input persons from a settings file: the layout of
    // setPersons without its explanation or a change of page. Values other
    // than 0 and 1 mean two persons.
    void applyPersons(int persons);
    void toggleFrameless(); // F1
    void redraw();          // F2
    void fit();             // F3
    // F3's lines and spacing from the window height and the display font,
    // whether or not automatic adjustment is on (a partner's request).
    void fitToFont();
    void windowResized();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button8Click();
    void CheckBox9Click();
    void pictureClicked(); // the cursor cycle

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showScreenPage();
    void setCursor(Qt::CursorShape shape);
    void focusTyping();

    TMainConsole& m_;
    // Compared by address only: the filter also sees events while the main
    // window is being destroyed.
    const QObject* edit77_;
    ScreenPart& screen_;
    TForm9& cover_;
    StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    int suppressResize_ = 0;
    bool autoAdjustBeforeFrameless_ = false;
    int cursorStep_ = 0;
};

} // namespace quorel
