#include "caption/smooth_renderer.h"

#include "wire/display_record.h"

#include <QFontMetrics>
#include <QPainter>

namespace quorel {

void SmoothRenderer::setFont(const QFont& f) {
    font_ = f;
    invalidate();
}

void SmoothRenderer::setTextColor(const QColor& c) {
    textColor_ = c;
    invalidate();
}

void SmoothRenderer::setBackground(const QColor& c) {
    background_ = c;
    invalidate();
}

void SmoothRenderer::resize(const QSize& s) {
    if (s == image_.size() || s.isEmpty())
        return;
    image_ = QImage(s, QImage::Format_RGB32);
    image_.fill(background_);
    invalidate();
}

void SmoothRenderer::invalidate() {
    cache_.clear();
    const QFontMetrics fm(font_);
    stripHeight_ = fm.height();
    ascent_ = fm.ascent();
}

const QImage& SmoothRenderer::strip(const QString& text) {
    auto it = cache_.find(text);
    if (it != cache_.end())
        return *it;
    // Enough strips for a few screens; past that start afresh rather than keep
    // a day's worth of lines in memory.
    if (cache_.size() > 256)
        cache_.clear();
    QImage img(image_.width(), stripHeight_, QImage::Format_RGB32);
    img.fill(background_);
    {
        QPainter p(&img);
        p.setFont(font_);
        p.setPen(textColor_);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.drawText(10, ascent_, text);
    }
    return *cache_.insert(text, std::move(img));
}

void SmoothRenderer::render(const DisplayRecord& record, int shownIndex, int n, int spacing,
                            int offset) {
    drawn_.clear();
    if (image_.isNull())
        return;
    const int height = image_.height();
    const int width = image_.width();
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    int covered = 0; // rows [0, covered) are painted this frame
    auto fillTo = [&](int y) {
        y = std::min(y, height);
        if (y > covered) {
            p.fillRect(0, covered, width, y - covered, background_);
            covered = y;
        }
    };
    for (int i = 0; i <= n; ++i) {
        const int line = shownIndex + i - n;
        if (line < 0 || line >= record.lineCount())
            continue;
        const int y = i * spacing - offset;
        if (y >= height)
            break;
        drawn_.push_back({line, y});
        const QString& text = record.line(line);
        if (text.isEmpty() || y + stripHeight_ <= 0)
            continue; // an empty line is background only
        fillTo(y);
        // A strip may reach above rows already painted when lines overlap
        // (font taller than the spacing): later lines are drawn over earlier ones.
        p.drawImage(0, y, strip(text));
        covered = std::max(covered, std::min(height, y + stripHeight_));
    }
    fillTo(height);
}

} // namespace quorel
