#include "app/picture_window.h"

#include <QPainter>

namespace quorel {

PictureLabel::PictureLabel(QWidget* parent) : QWidget(parent) {}

void PictureLabel::setColor(const QColor& c) {
    color_ = c;
    update();
}

void PictureLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), color_);
}

void PictureLabel::mousePressEvent(QMouseEvent*) {
    emit clicked();
}

TForm9::TForm9(QWidget* parent) : StationWindow(QStringLiteral("TForm9"), QString(), parent) {
    Image1 = new PictureLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    resize(320, 240);
}

void TForm9::resizeEvent(QResizeEvent*) {
    Image1->setGeometry(rect());
}

} // namespace quorel
