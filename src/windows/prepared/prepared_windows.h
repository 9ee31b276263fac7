#pragma once
#include "windows/prepared/preroll_window.h"
#include "windows/prepared/sub_input_window.h"
#include "windows/station_window.h"

namespace quorel {

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

// Karaoke remote: drives the colour cursor of display stations.
class TFmojikara : public StationWindow {
    Q_OBJECT
public:
    explicit TFmojikara(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TFmojikara"),
                        QStringLiteral(" :カラオケ・送信リモコン(ctrl+k)"), parent) {
        resize(400, 150);
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
