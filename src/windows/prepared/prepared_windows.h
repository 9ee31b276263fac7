#pragma once
#include "windows/prepared/palette_window.h"
#include "windows/prepared/preroll_window.h"
#include "windows/prepared/sub_input_window.h"
#include "windows/station_window.h"

namespace quorel {

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
