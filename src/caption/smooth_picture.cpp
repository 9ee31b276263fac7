#include "caption/smooth_picture.h"

#include <QPainter>
#include <QResizeEvent>

namespace quorel {

SmoothPicture::SmoothPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SmoothPicture::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const QImage& img = renderer_.image();
    if (img.isNull()) {
        p.fillRect(rect(), renderer_.background());
        return;
    }
    p.drawImage(e->rect(), img, e->rect());
}

void SmoothPicture::resizeEvent(QResizeEvent* e) {
    renderer_.resize(e->size());
}

void SmoothPicture::mousePressEvent(QMouseEvent*) {
    emit clicked();
}

} // namespace quorel
