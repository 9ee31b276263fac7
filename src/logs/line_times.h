#pragma once
// When each line of the display record reached it, for transcripts. The times
// follow every change of the record:
// - lines that come in get the clock's "now";
// - a line that is replaced in place (a correction, a sentence continuing the
//   last line) keeps its time, unless it held no text before: a line gets its
//   time when its first text arrives;
// - lines that go away take their times with them;
// - a change that replaces the whole record (loading, the periodic clearing)
//   starts every line afresh at "now".
// One 64-bit number per line (and one bit), so a day's record of 100,000 lines
// costs under a megabyte, and changes at the tail cost no time proportional to
// the record.

#include "wire/display_record.h"

#include <QtGlobal>
#include <vector>

namespace quorel {

class Clock;

class LineTimes {
public:
    // Starts with every line the record holds now, stamped "now".
    LineTimes(const DisplayRecord& record, const Clock& clock);

    // Call after every change the record reports, in order.
    void onChange(const DisplayRecord::Change& c);

    int size() const { return static_cast<int>(times_.size()); }
    // Milliseconds since the epoch (UTC) at which line i arrived.
    qint64 at(int i) const { return times_[static_cast<std::size_t>(i)]; }
    const std::vector<qint64>& times() const { return times_; }

    // A line's text as transcripts see it: without its position marker. A
    // line with no such text gets its time when text arrives.
    static bool holdsText(const QString& line);

private:
    void restampAll();

    const DisplayRecord& record_;
    const Clock& clock_;
    std::vector<qint64> times_;
    std::vector<bool> hadText_; // whether the line held text when last seen
};

} // namespace quorel
