#include "caption/smooth_renderer.h"

#include "wire/display_record.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSet>

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
    lastRecord_ = &record;
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
    evictUnused();
}

void SmoothRenderer::evictUnused() {
    // Only the lines on screen keep their strips: a line scrolled away is not
    // drawn again, and a display that runs all day must not keep a strip of
    // every line it ever showed (a full-width strip is hundreds of kilobytes).
    if (qsizetype(cache_.size()) <= qsizetype(drawn_.size()) + 4)
        return;
    QSet<QString> onScreen;
    for (const Drawn& d : drawn_)
        onScreen.insert(lastRecord_->line(d.line));
    for (auto it = cache_.begin(); it != cache_.end();)
        it = onScreen.contains(it.key()) ? std::next(it) : cache_.erase(it);
}

} // namespace quorel
