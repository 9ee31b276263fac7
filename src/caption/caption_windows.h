#pragma once
#include "windows/station_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <array>

namespace quorel {

// 8-person monitor: every member's unfinished input at once, a row per member
// slot: the partner button twins ("M1" ... "M8" and "P"), the member's name and
// a read-only pane with the text the member is typing.
class TForm2 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    std::array<QPushButton*, 8> bePartner{}; // Button3, 5, ... 17
    std::array<QPushButton*, 8> partner{};   // Button4, 6, ... 18
    std::array<QLineEdit*, 8> names{};       // Edit36 ... Edit39, Edit81 ... Edit84
    std::array<QTextEdit*, 8> panes{};       // RichEdit1 ... RichEdit8
    QCheckBox* CheckBox1;                    // "●消去●" and "$改行$" shown as a blank
    QCheckBox* CheckBox2;                    // automatic order
    QPushButton* Button1;                    // "Font"
    QPushButton* Button2;                    // "Background Color"
    QLabel* Label1;                          // how rows change places
    QLabel* Label2;                          // how rows get colours
signals:
    // A click on the empty part of the window (cancels a pending move).
    void emptyClicked();

protected:
    void mousePressEvent(QMouseEvent*) override { emit emptyClicked(); }
};

// F-key memo: the texts the function keys insert, one row per key. A row
// whose key has another use shows what the key does instead of its boxes.
class TForm5 : public StationWindow {
    Q_OBJECT
public:
    // Rows that carry a text, in key order: F1 ... F8, F11.
    static constexpr int kMemoRows = 9;
    enum Row { F1, F2, F3, F4, F5, F6, F7, F8, F11 };

    explicit TForm5(QWidget* parent = nullptr);

    std::array<QLineEdit*, kMemoRows> texts{};    // Edit45, Edit56 ... Edit62, Edit65
    std::array<QCheckBox*, kMemoRows> replaces{}; // CheckBox1 ... CheckBox9
    QLineEdit *Edit45, *Edit56, *Edit57, *Edit58, *Edit59, *Edit60, *Edit61, *Edit62, *Edit65;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7,
        *CheckBox8, *CheckBox9;
    QLabel* Label5; // F1: reading insertion
    QLabel* Label3; // F7: the correction phrase
    QLabel* Label1; // F8: brackets
    QLabel* Label4; // F11: Del / Cls
    QLabel* note;   // what the replace boxes do

    // Shows `label` in place of the row's text and replace boxes, or the boxes again.
    void showOtherUse(Row row, bool on);
    // The focus goes to the first text box that is shown.
    void FormActivate();
    void FormResize();

protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    std::array<QLabel*, kMemoRows> otherUse_{};
};

// Word-processor-stop monitor: captions held while lines are corrected. The
// station never shows it; only its list is used.
class TForm8 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm8"), QStringLiteral(" : ワ停止モニター"), parent) {
        Memo2 = new QPlainTextEdit(this);
        Memo2->setObjectName(QStringLiteral("Memo2"));
        Memo2->setReadOnly(true);
        Memo2->setGeometry(0, 0, 400, 200);
        resize(400, 200);
    }
    QPlainTextEdit* Memo2; // held captions, one a line
};

} // namespace quorel
