#pragma once
#include "windows/info/chat_window.h"
#include "windows/station_window.h"

namespace quorel {

// Information (telop) window: the scrolling line for the audience.
class TForm15 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm15"), QStringLiteral(" : お知らせ(ctrl+o)"), parent) {
        resize(500, 200);
    }
};

} // namespace quorel
