#pragma once
// Draws the smooth screen's frames. Shaping Japanese text costs milliseconds a
// line, far too much for a 30 ms tick at 1920 x 1080, so every line is rendered
// once into a strip and each frame only blits strips and fills the gaps. Only
// the lines on screen keep their strips.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <vector>

namespace quorel {

class DisplayRecord;

class SmoothRenderer {
public:
    struct Drawn {
        int line; // record line index
        int y;    // top of the line in the picture
    };

    void setFont(const QFont& f);
    void setTextColor(const QColor& c);
    void setBackground(const QColor& c);
    void resize(const QSize& s);
    const QFont& font() const { return font_; }
    const QColor& background() const { return background_; }
    const QColor& textColor() const { return textColor_; }

    // Fills the picture and draws record lines shownIndex - n ... shownIndex at
    // x = 10 and y = i * spacing - offset (i = 0 ... n).
    void render(const DisplayRecord& record, int shownIndex, int n, int spacing, int offset);

    const QImage& image() const { return image_; }
    // What the last frame drew, for the checks of tests and benchmarks.
    const std::vector<Drawn>& lastFrame() const { return drawn_; }

private:
    const QImage& strip(const QString& text);
    void invalidate();
    void evictUnused();

    QFont font_;
    QColor textColor_ = Qt::black;
    QColor background_ = Qt::white;
    QImage image_;
    int stripHeight_ = 0;
    int ascent_ = 0;
    // Keyed by the text: a line that grows (sentences joined onto the last line)
    // gets a new strip, an unchanged one keeps its strip.
    QHash<QString, QImage> cache_;
    std::vector<Drawn> drawn_;
    const DisplayRecord* lastRecord_ = nullptr;
};

} // namespace quorel
