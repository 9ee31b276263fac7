#include "app/splash.h"

#include "windows/fonts.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace quorel {

static QImage makePicture() {
    QImage img(288, 180, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // A caption band, the station's own image: text gliding up a dark screen.
    p.fillRect(QRect(24, 28, 240, 84), QColor(20, 28, 48));
    QFont small = japaneseFont(kDefaultFace, 10);
    p.setFont(small);
    p.setPen(QColor(150, 160, 180));
    p.drawText(QRect(36, 36, 220, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("話した言葉を、"));
    p.setPen(Qt::white);
    p.drawText(QRect(36, 58, 220, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("その場で文字に。"));
    p.setPen(QColor(255, 200, 60));
    p.drawText(QRect(36, 82, 220, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("▌"));
    QFont title = japaneseFont(kDefaultFace, 20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(20, 28, 48));
    p.drawText(QRect(0, 118, 288, 34), Qt::AlignCenter, QStringLiteral("Quorel"));
    p.setFont(small);
    p.setPen(QColor(100, 100, 100));
    p.drawText(QRect(0, 150, 288, 20), Qt::AlignCenter,
               QStringLiteral("real-time captioning station"));
    return img;
}

TForm12::TForm12(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      picture_(makePicture()) {
    setObjectName(QStringLiteral("TForm12"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(288, 180);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    closeButton_ = new QPushButton(QStringLiteral("×"), this);
    closeButton_->setObjectName(QStringLiteral("Button1"));
    QFont f = closeButton_->font();
    f.setBold(true);
    f.setPixelSize(9);
    closeButton_->setFont(f);
    closeButton_->setGeometry(288 - 12, 0, 12, 12);
    closeButton_->setFlat(true);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect g = s->availableGeometry();
        move(g.center() - QPoint(144, 90));
    }
}

void TForm12::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(rect(), picture_);
}

} // namespace quorel
