#pragma once
#include "app/station_window.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>

namespace quorel {

// 8-person monitor: every member's unfinished input at once.
class TForm2 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm2"), QStringLiteral(" : ８人モニター(ctrl+8)"),
                        parent) {
        // Per slot the twins of the main window's partner buttons: "Be
        // Partner" is Button3, 5, ... 17 and "Partner" Button4, 6, ... 18.
        auto* grid = new QGridLayout(this);
        for (int i = 0; i < 8; ++i) {
            const auto k = static_cast<std::size_t>(i);
            bePartner[k] = new QPushButton(QStringLiteral("M"), this);
            bePartner[k]->setObjectName(QStringLiteral("Button%1").arg(3 + 2 * i));
            partner[k] = new QPushButton(QStringLiteral("P"), this);
            partner[k]->setObjectName(QStringLiteral("Button%1").arg(4 + 2 * i));
            partner[k]->hide();
            grid->addWidget(bePartner[k], i, 0);
            grid->addWidget(partner[k], i, 1);
        }
        resize(500, 250);
    }
    std::array<QPushButton*, 8> bePartner{};
    std::array<QPushButton*, 8> partner{};
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
