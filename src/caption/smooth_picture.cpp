#include "caption/smooth_picture.h"

#include <QPainter>
#include <QResizeEvent>

namespace quorel {

SmoothPicture::SmoothPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SmoothPicture::render(const DisplayRecord& record, int shownIndex, int n, int spacing,
                           int offset) {
    present(renderer_.render(record, shownIndex, n, spacing, offset));
}

void SmoothPicture::present(const SmoothRenderer::Change& change) {
    if (change.full || renderer_.size() != size()) {
        update();
        return;
    }
    // Qt moves the backing store's pixels (and any update still pending) and
    // repaints only what the move uncovers and the rows drawn anew.
    const int right = std::min(change.right, width());
    if (change.scroll != 0)
        scroll(0, -change.scroll, QRect(0, 0, right, height()));
    for (const auto& [top, bottom] : change.rows)
        update(0, top, right, bottom - top);
}

void SmoothPicture::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (renderer_.size().isEmpty()) {
        p.fillRect(rect(), renderer_.background());
        return;
    }
    for (const QRect& r : e->region())
        renderer_.paint(p, r);
}

void SmoothPicture::resizeEvent(QResizeEvent* e) {
    renderer_.resize(e->size());
}

void SmoothPicture::mousePressEvent(QMouseEvent*) {
    emit clicked();
}

} // namespace quorel
