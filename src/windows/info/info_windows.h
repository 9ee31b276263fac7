#pragma once
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
