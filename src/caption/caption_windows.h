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

// F-key memo: the texts of the function keys.
class TForm5 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm5"), QStringLiteral(" : Ｆキー・メモ(ctrl+f)"),
                        parent) {
        resize(400, 300);
    }
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
