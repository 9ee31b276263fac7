#pragma once
#include "windows/prepared/palette_window.h"
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

} // namespace quorel
