#pragma once
// Draws the smooth screen's frames. Shaping Japanese text costs milliseconds a
// line, far too much for a 30 ms tick at 1920 x 1080, so every line is rendered
// once into a strip and only the lines on screen keep their strips.
//
// While the screen glides, consecutive frames differ by a shift of a few rows
// plus the strip that enters. Redrawing and sending the whole picture every
// tick kept a display PC busy all day, so the renderer works out which rows
// really changed: the picture is kept as a ring of rows whose origin moves with
// the shift, only the changed rows are copied from the strips, and the widget
// is told the shift and the changed rows (see SmoothPicture).

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QString>
#include <vector>

class QPainter;

namespace quorel {

class DisplayRecord;

class SmoothRenderer {
public:
    struct Drawn {
        int line; // record line index
        int y;    // top of the line in the picture
    };
    // How the picture differs from the previous frame: its rows moved up by
    // `scroll` (down when negative), then the rows in `rows` ([top, bottom)
    // spans, top to bottom) were drawn anew. Columns from `right` on are
    // background in both frames, so neither the move nor the new rows touch
    // them. `full` means every row changed.
    struct Change {
        bool full = false;
        int scroll = 0;
        int right = 0;
        std::vector<std::pair<int, int>> rows;
        bool none() const { return !full && scroll == 0 && rows.empty(); }
    };

    void setFont(const QFont& f);
    void setTextColor(const QColor& c);
    void setBackground(const QColor& c);
    void resize(const QSize& s);
    const QFont& font() const { return font_; }
    const QColor& background() const { return background_; }
    const QColor& textColor() const { return textColor_; }
    // Off: every frame is drawn whole and reported as a full change, as the
    // screen first did; kept to compare the two pictures.
    void setIncremental(bool on);

    // Fills the picture and draws record lines shownIndex - n ... shownIndex at
    // x = 10 and y = i * spacing - offset (i = 0 ... n).
    Change render(const DisplayRecord& record, int shownIndex, int n, int spacing, int offset);

    QSize size() const { return image_.size(); }
    // The picture as it stands (a copy when its ring origin is not at the top).
    QImage image() const;
    // Draws the part r of the picture at the same place of the painter's device.
    void paint(QPainter& p, const QRect& r) const;
    // What the last frame drew, for the checks of tests and benchmarks.
    const std::vector<Drawn>& lastFrame() const { return drawn_; }

private:
    struct Item {
        QString text;
        int y;
    };
    // For every row of a frame: which item shows there (-1: background) and
    // which row of the item's strip.
    struct Rows {
        std::vector<int> item;
        std::vector<int> stripRow;
    };

    struct Strip {
        QImage image;
        int inkRight; // columns from here on are background
    };
    const Strip& strip(const QString& text);
    int inkRight(const std::vector<Item>& items);
    void invalidate();
    void evictUnused();
    void layOut(std::vector<Item>& items, Rows& rows) const;
    int shiftFromLastFrame(const std::vector<Drawn>& previous) const;
    void drawRows(int top, int bottom);
    void drawWhole();
    uchar* physicalRow(int y);

    QFont font_;
    QColor textColor_ = Qt::black;
    QColor background_ = Qt::white;
    QImage image_;       // ring of rows: logical row y is physical (origin_ + y) % height
    int origin_ = 0;     // physical row of logical row 0
    QImage emptyRow_;    // one row of background
    bool valid_ = false; // image_ holds the frame described by items_ / rows_
    bool incremental_ = true;
    int stripHeight_ = 0;
    int ascent_ = 0;
    // Keyed by the text: a line that grows (sentences joined onto the last line)
    // gets a new strip, an unchanged one keeps its strip.
    QHash<QString, Strip> cache_;
    std::vector<Drawn> drawn_;
    std::vector<Item> items_;
    Rows rows_;
    // Working buffers of render(), kept so a tick allocates nothing.
    std::vector<Drawn> previous_;
    std::vector<Item> nextItems_;
    Rows nextRows_;
    std::vector<signed char> sameText_;
    int inkRight_ = 0; // of the frame in image_
    const DisplayRecord* lastRecord_ = nullptr;
};

} // namespace quorel
