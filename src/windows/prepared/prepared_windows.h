#pragma once
#include "windows/station_window.h"

namespace quorel {

// Pre-roll template window: prepared text fed line by line.
class TForm11 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm11"),
                        QStringLiteral(" : テンプレート・前ロール(ctrl+n)"), parent) {
        resize(500, 400);
    }
};

// Pre-roll template monitor: the lines around another member's pre-roll caret.
class TForm3 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr)
        : StationWindow(QStringLiteral("TForm3"), QStringLiteral(" : テンプレート前ロールモニタ"),
                        parent) {
        resize(400, 200);
    }
};

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
