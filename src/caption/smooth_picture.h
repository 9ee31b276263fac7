#pragma once
#include "caption/smooth_renderer.h"

#include <QWidget>

namespace quorel {

// The picture the smooth screen draws on (Image1 in the screen part, Image2
// over the whole window in frameless mode). Frames are drawn off-screen by the
// renderer and shown at once, so nothing flickers.
class SmoothPicture : public QWidget {
    Q_OBJECT
public:
    explicit SmoothPicture(QWidget* parent = nullptr);
    SmoothRenderer& renderer() { return renderer_; }
    const SmoothRenderer& renderer() const { return renderer_; }
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    SmoothRenderer renderer_;
};

} // namespace quorel
