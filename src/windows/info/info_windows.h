#pragma once
#include "windows/info/information_window.h"
#include "windows/station_window.h"

namespace quorel {

// Chat (contact) window between members.
class TForm6 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm6"), QStringLiteral(" : 連絡(ctrl+r)"), parent) {
        resize(400, 300);
    }
};

} // namespace quorel
