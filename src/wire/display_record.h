#pragma once
// The display record: every line this station has shown, its own sentences and
// the ones received. Every operation the station performs in normal use works at
// the tail, so a whole day of captions (100,000 lines and more) costs nothing
// extra. Each primitive change is reported to the listener separately, because
// the growth history (and undo, which reads it) counts primitive changes.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace quorel {

class DisplayRecord {
public:
    static constexpr int kRecentCount = 5;
    static constexpr int kGrowthCount = 15;
    // Position markers at the end of the record: where the next sentence goes.
    static constexpr QChar kContinueMarker = u'\u25C6'; // ◆ it continues this line
    static constexpr QChar kNewLineMarker = u'\u25A0';  // ■ it starts a new line
    static bool endsWithMarker(const QString& s);

    // Options that shape one append (read from the main window's boxes at the
    // moment of use).
    struct AppendOptions {
        bool lineFeedOnlyByNullLine = false; // "Line feed only by null line."
        bool markers = false;                // position markers "◆" / "■"
    };

    // One primitive change: lines [first, first + removed) were replaced by
    // `added` lines starting at `first`. byteDelta is the change of the text
    // form's byte length.
    struct Change {
        int first = 0;
        int removed = 0;
        int added = 0;
        std::int64_t byteDelta = 0;
    };
    using Listener = std::function<void(const Change&)>;

    // Starts as the record of a fresh station: "テスト" and 19 empty lines.
    DisplayRecord();

    // The screen's listener. Other parts (the audience view) add their own;
    // every listener hears every change, the screen's first.
    void setListener(Listener l) { listener_ = std::move(l); }
    // Returns an id for removeListener.
    int addListener(Listener l);
    void removeListener(int id);

    int lineCount() const { return static_cast<int>(lines_.size()); }
    const QString& line(int i) const { return lines_[static_cast<std::size_t>(i)].text; }
    // Every line's text, in order (for logs and transcripts).
    QStringList lines() const;
    int lineBytes(int i) const { return lines_[static_cast<std::size_t>(i)].bytes; }

    // Byte length of the text form (each line followed by CR LF, except that the
    // last line may be unterminated after word-processor editing). An
    // unterminated last line is never empty: a text form that ends with CR LF is
    // always held as terminated lines.
    std::int64_t textLength() const { return textLength_; }
    bool lastLineTerminated() const { return terminated_; }

    // The text form, CR LF separated (for the word-processor screen and logs).
    QString textForm() const;

    // Plain append of sentence s (empty = line feed). Pushes s onto the recent
    // sentences and ends a growth suspension. A CR LF (or lone CR / LF) inside s
    // makes it span several lines. With markers on, an unterminated last line is
    // terminated first (a change of its own).
    void append(const QString& s, AppendOptions o);

    // Column-split append: cuts s into pieces of `columns` visible half-width
    // columns and appends them by the plain rule.
    void appendColumnSplit(const QString& s, int columns, AppendOptions o);

    // Primitive tail operations (each reports one change). Line breaks inside s
    // make several lines. addLine terminates an unterminated last line first (its
    // byte delta includes that line break); removeLastLine leaves the record
    // terminated and does nothing on an empty record; setLastLine on an empty
    // record adds the line.
    void addLine(const QString& s);
    void removeLastLine();
    void setLastLine(const QString& s);

    // General edit (word-processor screen): replace `count` lines from `first`
    // with `lines`; `terminated` tells whether the text form now ends with a
    // line break. An editor's empty last block may be passed as it is: an
    // unterminated empty last line is folded into the line break before it.
    void replaceLines(int first, int count, const QStringList& lines, bool terminated);

    // Byte-level edits of the text form near its end (undo and Del work on
    // the bytes the growth history counts). They cost time proportional to
    // the lines they touch, not to the record.
    // The text form from line `first` to the end, as code page 932 bytes.
    QByteArray tailBytes(int first) const;
    // Replaces the text form from line `first` to the end by `bytes`, as one
    // change.
    void replaceTail(int first, const QByteArray& bytes);
    // Removes `count` bytes of the text form starting at byte `start`.
    void removeBytes(std::int64_t start, std::int64_t count);
    // Forgets everything undo could take back (Del, Cls, clearing).
    void resetUndoState();

    // Replaces everything (loading, clearing) as one change.
    void reset(const QStringList& lines);

    // Recent sentences, newest first (always kRecentCount entries).
    const std::array<QString, kRecentCount>& recent() const { return recent_; }
    void pushRecent(const QString& s);
    void dropNewestRecent();

    // Growth history: byte growth of the text form at each of the last
    // kGrowthCount changes, newest first.
    const std::array<std::int64_t, kGrowthCount>& growth() const { return growth_; }
    std::int64_t lastLength() const { return lastLength_; }
    // While suspended, changes neither enter the history nor move lastLength();
    // the next append ends the suspension.
    void setGrowthSuspended(bool on) { growthSuspended_ = on; }
    bool growthSuspended() const { return growthSuspended_; }
    // Undo rewrites the history directly.
    std::array<std::int64_t, kGrowthCount>& growthHistory() { return growth_; }
    void setLastLength(std::int64_t l) { lastLength_ = l; }

private:
    struct Line {
        QString text;
        int bytes = 0;
    };
    static Line makeLine(const QString& s);
    // The one mutation every operation goes through: replaces `count` lines from
    // `first` by `added`, keeps textLength_ in step and reports the change.
    void splice(int first, int count, std::vector<Line> added, bool terminated);
    void changed(const Change& c);

    std::vector<Line> lines_;
    std::int64_t textLength_ = 0;
    bool terminated_ = true;
    std::array<QString, kRecentCount> recent_{};
    std::array<std::int64_t, kGrowthCount> growth_{};
    std::int64_t lastLength_ = 0;
    bool growthSuspended_ = false;
    Listener listener_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
};

} // namespace quorel
