#pragma once
#include "windows/station_window.h"

#include <QColor>
#include <functional>

namespace quorel {

// A clickable picture that fills its window.
class PictureLabel : public QWidget {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent = nullptr);
    void setColor(const QColor& c);
    QColor color() const { return color_; }
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    QColor color_ = Qt::black;
};

// Picture window: covers the desktop with a single colour behind a display
// station. Clicking it brings the station's open windows back to the front.
class TForm9 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
    PictureLabel* Image1;

protected:
    void resizeEvent(QResizeEvent*) override;
};

} // namespace quorel
