#pragma once
#include "windows/prepared/karaoke_window.h"
#include "windows/prepared/preroll_window.h"
#include "windows/station_window.h"

namespace quorel {

// Sub input window: two more input panes feeding the same caption pipeline.
class TForm14 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm14"), QStringLiteral(" : サブ入力ウィンド(ctrl+i)"),
                        parent) {
        resize(500, 200);
    }
};

// Confirm and correct palette: a corrector checks sentences before the screen.
class TFkakunin : public StationWindow {
    Q_OBJECT
public:
    explicit TFkakunin(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TFkakunin"), QStringLiteral(" :確認修正パレット(ctrl+s)"),
                        parent) {
        resize(600, 400);
    }
};

// Confirm and correct monitor.
class TFshusei_moni : public StationWindow {
    Q_OBJECT
public:
    explicit TFshusei_moni(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TFshusei_moni"), QStringLiteral(" :確認修正モニター"),
                        parent) {
        resize(400, 200);
    }
};

} // namespace quorel
