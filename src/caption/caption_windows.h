#pragma once
#include "app/station_window.h"

#include <QPlainTextEdit>

namespace quorel {

// 8-person monitor: every member's unfinished input at once.
class TForm2 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm2"), QStringLiteral(" : ８人モニター(ctrl+8)"),
                        parent) {
        resize(500, 250);
    }
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
