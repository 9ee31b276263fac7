#include "caption/qr_overlay.h"

#include "web/qr.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLoggingCategory>
#include <QVBoxLayout>
#include <algorithm>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcCaption)

QrOverlay::QrOverlay(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDefaultShowMs);
    connect(&timer_, &QTimer::timeout, this, &QrOverlay::hide);
}

QrOverlay::~QrOverlay() {
    delete frame_.data();
}

bool QrOverlay::isShown() const {
    return frame_ && frame_->isVisible();
}

void QrOverlay::hide() {
    timer_.stop();
    if (frame_)
        frame_->hide();
}

void QrOverlay::build(QWidget* host) {
    delete frame_.data();
    auto* frame = new QFrame(host);
    frame->setObjectName(QStringLiteral("QrOverlay"));
    // Dark modules on white whatever the screen's colours: scanners need the
    // contrast and the quiet zone.
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(p);
    frame->setAutoFillBackground(true);
    frame->setFrameShape(QFrame::Box);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* v = new QVBoxLayout(frame);
    code_ = new QLabel(frame);
    code_->setObjectName(QStringLiteral("LabelQrOverlayCode"));
    code_->setAlignment(Qt::AlignCenter);
    text_ = new QLabel(frame);
    text_->setObjectName(QStringLiteral("LabelQrOverlayAddress"));
    text_->setAlignment(Qt::AlignCenter);
    v->addWidget(code_);
    v->addWidget(text_);
    frame->hide();
    frame_ = frame;
}

void QrOverlay::toggle(QWidget* picture, const QString& address) {
    if (isShown() && picture == picture_) {
        hide();
        return;
    }
    if (picture == nullptr || picture->parentWidget() == nullptr || address.isEmpty())
        return;
    // Whole pixels per module keep every module sharp.
    const int modules = qrImage(address, 1).width();
    if (modules <= 0)
        return;
    QWidget* host = picture->parentWidget();
    if (!frame_ || frame_->parentWidget() != host)
        build(host);
    if (picture_ != picture) {
        if (picture_)
            picture_->removeEventFilter(this);
        picture_ = picture;
        picture_->installEventFilter(this);
    }
    text_->setText(address);
    modules_ = modules;
    place();
    frame_->show();
    frame_->raise();
    timer_.start();
    qCDebug(lcCaption).noquote() << "audience QR shown:" << address;
}

void QrOverlay::place() {
    const QRect area = picture_->geometry();
    QFont font = text_->font();
    font.setPixelSize(std::clamp(area.height() / 16, 12, 40));
    text_->setFont(font);
    // The code takes most of what the picture leaves beside the address.
    const int room = std::min(area.width(), area.height() - 2 * font.pixelSize()) * 4 / 5;
    const int moduleSize = std::max(2, room / modules_);
    code_->setPixmap(QPixmap::fromImage(qrImage(text_->text(), moduleSize)));
    QRect g(QPoint(), frame_->sizeHint());
    g.moveCenter(area.center());
    frame_->setGeometry(g);
}

bool QrOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture_ && isShown()) {
        if (event->type() == QEvent::Hide)
            hide();
        else if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            place();
    }
    return false;
}

} // namespace quorel
