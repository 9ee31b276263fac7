#pragma once
#include "caption/smooth_renderer.h"

#include <QWidget>

namespace quorel {

// The picture the smooth screen draws on (Image1 in the screen part, Image2
// over the whole window in frameless mode). Frames are drawn off-screen by the
// renderer and shown at once, so nothing flickers. While the screen glides,
// the widget moves what it already shows and repaints only the rows the
// renderer drew anew, so the window system gets a few rows a tick, not the
// whole picture.
class SmoothPicture : public QWidget {
    Q_OBJECT
public:
    explicit SmoothPicture(QWidget* parent = nullptr);
    SmoothRenderer& renderer() { return renderer_; }
    const SmoothRenderer& renderer() const { return renderer_; }
    // Renders the frame and brings the widget up to date with what changed.
    void render(const DisplayRecord& record, int shownIndex, int n, int spacing, int offset);
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    void present(const SmoothRenderer::Change& change);

    SmoothRenderer renderer_;
};

} // namespace quorel
