#include "caption/smooth_renderer.h"

#include "wire/display_record.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSet>
#include <cstring>

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

void SmoothRenderer::setIncremental(bool on) {
    incremental_ = on;
    valid_ = false;
}

void SmoothRenderer::resize(const QSize& s) {
    if (s == image_.size() || s.isEmpty())
        return;
    image_ = QImage(s, QImage::Format_RGB32);
    image_.fill(background_);
    origin_ = 0;
    invalidate();
}

void SmoothRenderer::invalidate() {
    cache_.clear();
    valid_ = false;
    const QFontMetrics fm(font_);
    stripHeight_ = fm.height();
    ascent_ = fm.ascent();
    emptyRow_ = QImage(std::max(1, image_.width()), 1, QImage::Format_RGB32);
    emptyRow_.fill(background_);
}

const SmoothRenderer::Strip& SmoothRenderer::strip(const QString& text) {
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
    // Measured on the pixels, not the font metrics, so overhangs and
    // antialiasing are counted: most captions end well before the right edge,
    // and the columns after the ink never need moving.
    const QRgb empty = emptyRow_.pixel(0, 0);
    int right = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = img.width() - 1; x >= right; --x)
            if (row[x] != empty) {
                right = x + 1;
                break;
            }
    }
    return *cache_.insert(text, Strip{std::move(img), right});
}

int SmoothRenderer::inkRight(const std::vector<Item>& items) {
    int right = 0;
    for (const Item& item : items)
        right = std::max(right, strip(item.text).inkRight);
    return right;
}

uchar* SmoothRenderer::physicalRow(int y) {
    return image_.scanLine((origin_ + y) % image_.height());
}

void SmoothRenderer::layOut(std::vector<Item>& items, Rows& rows) const {
    const int height = image_.height();
    rows.item.assign(std::size_t(height), -1);
    rows.stripRow.assign(std::size_t(height), 0);
    // Later lines are drawn over earlier ones where they overlap (a font
    // taller than the spacing), so later items win a row.
    for (std::size_t k = 0; k < items.size(); ++k) {
        const int top = std::max(0, items[k].y);
        const int bottom = std::min(height, items[k].y + stripHeight_);
        for (int r = top; r < bottom; ++r) {
            rows.item[std::size_t(r)] = int(k);
            rows.stripRow[std::size_t(r)] = r - items[k].y;
        }
    }
}

int SmoothRenderer::shiftFromLastFrame(const std::vector<Drawn>& previous) const {
    // Both frames list consecutive record lines in order; the first line they
    // share tells how far the picture moved.
    for (const Drawn& now : drawn_)
        for (const Drawn& before : previous)
            if (before.line == now.line)
                return before.y - now.y;
    return 0;
}

void SmoothRenderer::drawRows(int top, int bottom) {
    const auto bytes = std::size_t(image_.bytesPerLine());
    int r = top;
    while (r < bottom) {
        const int k = rows_.item[std::size_t(r)];
        int end = r + 1;
        while (end < bottom && rows_.item[std::size_t(end)] == k)
            ++end;
        if (k < 0) {
            for (; r < end; ++r)
                std::memcpy(physicalRow(r), emptyRow_.constScanLine(0), bytes);
        } else {
            const QImage& s = strip(items_[std::size_t(k)].text).image;
            for (; r < end; ++r)
                std::memcpy(physicalRow(r), s.constScanLine(rows_.stripRow[std::size_t(r)]), bytes);
        }
    }
}

void SmoothRenderer::drawWhole() {
    // The way every frame was drawn before the renderer tracked changes.
    origin_ = 0;
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
    for (const Item& item : items_) {
        fillTo(item.y);
        p.drawImage(0, item.y, strip(item.text).image);
        covered = std::max(covered, std::min(height, item.y + stripHeight_));
    }
    fillTo(height);
}

SmoothRenderer::Change SmoothRenderer::render(const DisplayRecord& record, int shownIndex, int n,
                                              int spacing, int offset) {
    // The buffers of the frame before are kept and reused: this runs every
    // tick while the screen glides.
    std::swap(previous_, drawn_);
    drawn_.clear();
    lastRecord_ = &record;
    Change change;
    if (image_.isNull())
        return change;
    const int height = image_.height();
    std::vector<Item>& items = nextItems_;
    items.clear();
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
        items.push_back({text, y});
    }
    Rows& rows = nextRows_;
    layOut(items, rows);
    const int ink = inkRight(items);

    if (!incremental_ || !valid_) {
        std::swap(items_, nextItems_);
        std::swap(rows_, nextRows_);
        if (incremental_) {
            origin_ = 0;
            drawRows(0, height);
        } else {
            drawWhole();
        }
        valid_ = true;
        change.full = true;
        change.right = image_.width();
        inkRight_ = ink;
        evictUnused();
        return change;
    }

    int shift = shiftFromLastFrame(previous_);
    if (std::abs(shift) >= height)
        shift = 0;
    // A row keeps its pixels when the row `shift` below it in the last frame
    // showed the same row of the same text (or background in both).
    std::vector<signed char>& sameText = sameText_;
    sameText.assign(items.size() * items_.size(), -1);
    auto sameRow = [&](int r) {
        const int src = r + shift;
        if (src < 0 || src >= height)
            return false;
        const int a = rows.item[std::size_t(r)];
        const int b = rows_.item[std::size_t(src)];
        if (a < 0 || b < 0)
            return a == b;
        if (rows.stripRow[std::size_t(r)] != rows_.stripRow[std::size_t(src)])
            return false;
        signed char& eq = sameText[std::size_t(a) * items_.size() + std::size_t(b)];
        if (eq < 0)
            eq = items[std::size_t(a)].text == items_[std::size_t(b)].text ? 1 : 0;
        return eq == 1;
    };
    int kept = 0;
    for (int r = 0; r < height;) {
        const bool same = sameRow(r);
        int end = r + 1;
        while (end < height && sameRow(end) == same)
            ++end;
        if (same)
            kept += end - r;
        else
            change.rows.emplace_back(r, end);
        r = end;
    }
    std::swap(items_, nextItems_);
    std::swap(rows_, nextRows_);
    change.right = std::max(ink, inkRight_);
    inkRight_ = ink;
    if (kept == 0) {
        change.rows.clear();
        change.full = true;
        change.right = image_.width();
        origin_ = 0;
        drawRows(0, height);
    } else {
        origin_ = ((origin_ + shift) % height + height) % height;
        // A picture of background only looks the same moved or not.
        change.scroll = change.right > 0 ? shift : 0;
        for (const auto& [top, bottom] : change.rows)
            drawRows(top, bottom);
        if (change.right == 0)
            change.rows.clear();
    }
    evictUnused();
    return change;
}

QImage SmoothRenderer::image() const {
    if (origin_ == 0)
        return image_;
    QImage out(image_.size(), image_.format());
    QPainter p(&out);
    paint(p, out.rect());
    return out;
}

void SmoothRenderer::paint(QPainter& p, const QRect& r) const {
    const int height = image_.height();
    const QRect area = r & image_.rect();
    int y = area.top();
    while (y <= area.bottom()) {
        const int physical = (origin_ + y) % height;
        const int rows = std::min(area.bottom() + 1 - y, height - physical);
        p.drawImage(QRect(area.left(), y, area.width(), rows), image_,
                    QRect(area.left(), physical, area.width(), rows));
        y += rows;
    }
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
