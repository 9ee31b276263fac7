#include "logs/line_times.h"

#include "base/services.h"

#include <algorithm>

namespace quorel {

LineTimes::LineTimes(const DisplayRecord& record, const Clock& clock)
    : record_(record), clock_(clock) {
    restampAll();
}

bool LineTimes::holdsText(const QString& line) {
    for (const QChar ch : line)
        if (!ch.isSpace() && ch != DisplayRecord::kContinueMarker &&
            ch != DisplayRecord::kNewLineMarker)
            return true;
    return false;
}

void LineTimes::restampAll() {
    const qint64 now = clock_.now().toMSecsSinceEpoch();
    const auto n = static_cast<std::size_t>(record_.lineCount());
    times_.assign(n, now);
    hadText_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        hadText_[i] = holdsText(record_.line(static_cast<int>(i)));
}

void LineTimes::onChange(const DisplayRecord::Change& c) {
    const int oldCount = size();
    // A whole record replaced, or a change this bookkeeping cannot place
    // (it missed one): start afresh rather than pair the wrong lines.
    const bool whole = c.first == 0 && c.removed == oldCount && oldCount > 0;
    if (whole || c.first < 0 || c.removed < 0 || c.added < 0 || c.first + c.removed > oldCount ||
        oldCount - c.removed + c.added != record_.lineCount()) {
        restampAll();
        return;
    }
    const qint64 now = clock_.now().toMSecsSinceEpoch();
    const auto first = static_cast<std::ptrdiff_t>(c.first);
    // Lines replaced in place keep their time once they held text.
    const int kept = std::min(c.removed, c.added);
    for (int k = 0; k < kept; ++k) {
        const auto i = static_cast<std::size_t>(c.first + k);
        const bool text = holdsText(record_.line(c.first + k));
        if (!hadText_[i] && text)
            times_[i] = now;
        hadText_[i] = text;
    }
    if (c.removed > kept) {
        const auto from = first + kept;
        const auto to = first + c.removed;
        times_.erase(times_.begin() + from, times_.begin() + to);
        hadText_.erase(hadText_.begin() + from, hadText_.begin() + to);
    } else if (c.added > kept) {
        const auto at = first + kept;
        const auto n = static_cast<std::size_t>(c.added - kept);
        times_.insert(times_.begin() + at, n, now);
        hadText_.insert(hadText_.begin() + at, n, false);
        for (int k = kept; k < c.added; ++k)
            hadText_[static_cast<std::size_t>(c.first + k)] = holdsText(record_.line(c.first + k));
    }
}

} // namespace quorel
