#include "wire/display_record.h"

#include "text/cp932.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace quorel {

bool DisplayRecord::endsWithMarker(const QString& s) {
    return s.endsWith(kContinueMarker) || s.endsWith(kNewLineMarker);
}

namespace {

// CR LF, a lone CR and a lone LF all end a line; "" is one empty line and a
// trailing break leaves an empty last line.
QStringList splitLines(const QString& s) {
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'\r' && c != u'\n')
            continue;
        out.append(s.mid(start, i - start));
        if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    out.append(s.mid(start));
    return out;
}

// UTF-16 units of the character at i (a surrogate pair is one character).
qsizetype unitsAt(QStringView s, qsizetype i) {
    if (i + 1 < s.size() && s[i].isHighSurrogate() && s[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

int bytesAt(QStringView s, qsizetype i) {
    if (unitsAt(s, i) == 2)
        return text::byteLengthOf(QChar::surrogateToUcs4(s[i], s[i + 1]));
    return text::byteLengthOf(s[i].unicode());
}

// Walks s from its start and returns the index where a prefix of at most
// `limit` visible columns ends; *width receives that prefix's columns. A column
// is a code page 932 byte. Ruby readings (back quote r ... back quote s) and any
// other back quote with the character after it take no columns and are never
// cut apart. The walk stops before a double-byte character that would pass the
// limit, so a piece never ends on a lead byte. Once the limit is reached it also
// stops before a ruby: the reading belongs to the base text that follows it.
qsizetype scanColumns(QStringView s, int limit, int* width = nullptr) {
    int w = 0;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n && w < limit) {
        if (s[i] == u'`') {
            if (i + 1 < n && s[i + 1] == u'r') {
                const qsizetype close = s.indexOf(u"`s", i + 2);
                i = close < 0 ? n : close + 2;
            } else {
                i += 1;
                if (i < n)
                    i += unitsAt(s, i);
            }
            continue;
        }
        const int b = bytesAt(s, i);
        if (w + b > limit)
            break;
        w += b;
        i += unitsAt(s, i);
    }
    if (width)
        *width = w;
    return i;
}

int visibleWidth(QStringView s) {
    int w = 0;
    scanColumns(s, std::numeric_limits<int>::max(), &w);
    return w;
}

} // namespace

DisplayRecord::DisplayRecord() {
    lines_.push_back(makeLine(QStringLiteral("テスト")));
    lines_.resize(20);
    for (const Line& l : lines_)
        textLength_ += l.bytes + 2;
    lastLength_ = textLength_;
}

DisplayRecord::Line DisplayRecord::makeLine(const QString& s) {
    // A line is kept all day, so it keeps no spare room: a decoded datagram
    // reserves a character for every byte, twice what Japanese text needs,
    // and a joined line has the slack of its growth.
    QString text = s;
    if (text.capacity() > text.size())
        text.squeeze();
    const int bytes = text::byteLength(text);
    return Line{std::move(text), bytes};
}

QString DisplayRecord::textForm() const {
    QString out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            out += QStringLiteral("\r\n");
        out += lines_[i].text;
    }
    if (terminated_ && !lines_.empty())
        out += QStringLiteral("\r\n");
    return out;
}

void DisplayRecord::append(const QString& s, AppendOptions o) {
    growthSuspended_ = false;
    pushRecent(s);
    const auto lastText = [this] { return lines_.empty() ? QString() : lines_.back().text; };

    if (o.markers) {
        // The marker rules look at the last line and its line break; after an edit
        // in the word-processor screen that break can be missing, and adding to
        // such a line would run the sentence into the previous one. The repair is
        // made for received sentences too: their screens must end up alike.
        if (!terminated_)
            splice(lineCount() - 1, 1, {lines_.back()}, true);
        if (o.lineFeedOnlyByNullLine) {
            if (!lines_.empty() && endsWithMarker(lines_.back().text))
                setLastLine(lines_.back().text.chopped(1));
            if (s.isEmpty())
                addLine(QString(kNewLineMarker));
            else
                setLastLine(lastText() + s + kContinueMarker);
        } else {
            if (!lines_.empty() && lines_.back().text == kNewLineMarker)
                removeLastLine();
            addLine(s);
            addLine(QString(kNewLineMarker));
        }
    } else if (o.lineFeedOnlyByNullLine) {
        if (s.isEmpty())
            addLine(QString());
        else
            setLastLine(lastText() + s);
    } else {
        addLine(s);
    }
}

void DisplayRecord::appendColumnSplit(const QString& s, int columns, AppendOptions o) {
    // Below two columns a double-byte character could never be placed.
    const int w = std::max(columns, 2);
    const bool cb8 = o.lineFeedOnlyByNullLine;

    const auto splitOne = [&](QString rest) {
        if (cb8) {
            QString last = lines_.empty() ? QString() : lines_.back().text;
            if (o.markers && endsWithMarker(last))
                last.chop(1);
            const int have = visibleWidth(last);
            if (have + visibleWidth(rest) <= w) {
                append(rest, o);
                return;
            }
            // Fill the last line up to the column count, then start a new one.
            const qsizetype cut = scanColumns(rest, w - have);
            if (cut > 0) {
                append(rest.left(cut), o);
                rest.remove(0, cut);
            }
            if (!rest.isEmpty())
                append(QString(), o);
        }
        do {
            const qsizetype cut = scanColumns(rest, w);
            append(rest.left(cut), o);
            rest.remove(0, cut);
            if (cb8 && visibleWidth(rest) >= w)
                append(QString(), o);
        } while (visibleWidth(rest) >= w);
        if (!rest.isEmpty()) {
            if (cb8)
                append(QString(), o);
            append(rest, o);
        }
    };

    // A break typed inside the sentence ends a piece as well; measuring across
    // it would count the break as columns and could cut between CR and LF.
    const QStringList parts = splitLines(s);
    splitOne(parts.front());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (!cb8) {
            splitOne(parts[i]);
            continue;
        }
        append(QString(), o);
        if (!parts[i].isEmpty())
            splitOne(parts[i]);
    }
}

void DisplayRecord::addLine(const QString& s) {
    std::vector<Line> added;
    for (const QString& l : splitLines(s))
        added.push_back(makeLine(l));
    splice(lineCount(), 0, std::move(added), true);
}

void DisplayRecord::removeLastLine() {
    if (lines_.empty())
        return;
    splice(lineCount() - 1, 1, {}, true);
}

void DisplayRecord::setLastLine(const QString& s) {
    if (lines_.empty()) {
        addLine(s);
        return;
    }
    std::vector<Line> added;
    for (const QString& l : splitLines(s))
        added.push_back(makeLine(l));
    splice(lineCount() - 1, 1, std::move(added), terminated_);
}

void DisplayRecord::replaceLines(int first, int count, const QStringList& lines, bool terminated) {
    std::vector<Line> added;
    for (const QString& s : lines)
        for (const QString& l : splitLines(s))
            added.push_back(makeLine(l));
    splice(first, count, std::move(added), terminated);
}

QStringList DisplayRecord::lines() const {
    QStringList out;
    out.reserve(lineCount());
    for (const Line& l : lines_)
        out << l.text;
    return out;
}

void DisplayRecord::reset(const QStringList& lines) {
    replaceLines(0, lineCount(), lines, true);
}

void DisplayRecord::pushRecent(const QString& s) {
    std::move_backward(recent_.begin(), recent_.end() - 1, recent_.end());
    recent_.front() = s;
}

void DisplayRecord::dropNewestRecent() {
    std::move(recent_.begin() + 1, recent_.end(), recent_.begin());
    recent_.back() = QString();
}

void DisplayRecord::splice(int first, int count, std::vector<Line> added, bool terminated) {
    const int size = lineCount();
    first = std::clamp(first, 0, size);
    count = std::clamp(count, 0, size - first);

    // A text form ending in CR LF is held as terminated lines, never as an
    // unterminated empty last line, so "is the last line terminated" has one
    // answer. Editors report such text with an empty last block.
    if (!terminated) {
        if (first + count < size) {
            if (lines_.back().text.isEmpty()) {
                added.insert(added.end(), lines_.begin() + first + count, lines_.end() - 1);
                count = size - first;
                terminated = true;
            }
        } else if (!added.empty()) {
            if (added.back().text.isEmpty()) {
                added.pop_back();
                terminated = true;
            }
        } else if (first == 0) {
            terminated = true;
        } else if (lines_[static_cast<std::size_t>(first - 1)].text.isEmpty()) {
            --first;
            ++count;
            terminated = true;
        }
    }

    std::int64_t delta = 0;
    for (int i = first; i < first + count; ++i)
        delta -= lines_[static_cast<std::size_t>(i)].bytes + 2;
    for (const Line& l : added)
        delta += l.bytes + 2;
    if (!terminated_ && size > 0)
        delta += 2;
    const int newSize = size - count + static_cast<int>(added.size());
    if (newSize == 0)
        terminated = true;
    if (!terminated)
        delta -= 2;

    const Change c{first, count, static_cast<int>(added.size()), delta};
    const auto at = lines_.erase(lines_.begin() + first, lines_.begin() + first + count);
    lines_.insert(at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    terminated_ = terminated;
    changed(c);
}

void DisplayRecord::changed(const Change& c) {
    textLength_ += c.byteDelta;
    if (!growthSuspended_) {
        std::move_backward(growth_.begin(), growth_.end() - 1, growth_.end());
        growth_.front() = textLength_ - lastLength_;
        lastLength_ = textLength_;
    }
    if (listener_)
        listener_(c);
    for (const auto& [id, l] : listeners_)
        l(c);
}

int DisplayRecord::addListener(Listener l) {
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(l));
    return id;
}

void DisplayRecord::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& e) { return e.first == id; });
}

} // namespace quorel

namespace quorel {

QByteArray DisplayRecord::tailBytes(int first) const {
    QByteArray out;
    for (int i = std::max(0, first); i < lineCount(); ++i) {
        out += text::encode(line(i));
        if (i + 1 < lineCount() || terminated_)
            out += "\r\n";
    }
    return out;
}

void DisplayRecord::replaceTail(int first, const QByteArray& bytes) {
    first = std::clamp(first, 0, lineCount());
    QStringList lines = text::decode(bytes).split(QStringLiteral("\r\n"));
    bool terminated = true;
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    else
        terminated = false;
    replaceLines(first, lineCount() - first, lines, terminated);
}

void DisplayRecord::removeBytes(std::int64_t start, std::int64_t count) {
    const std::int64_t length = textLength_;
    start = std::clamp<std::int64_t>(start, 0, length);
    count = std::clamp<std::int64_t>(count, 0, length - start);
    if (count == 0)
        return;
    // Walk back from the end to the line holding `start`.
    int first = lineCount();
    std::int64_t offset = length + (terminated_ ? 0 : 2);
    while (first > 0 && offset > start) {
        --first;
        offset -= lines_[static_cast<std::size_t>(first)].bytes + 2;
    }
    QByteArray tail = tailBytes(first);
    tail.remove(start - offset, count);
    replaceTail(first, tail);
}

void DisplayRecord::resetUndoState() {
    growth_.fill(0);
    lastLength_ = textLength_;
    recent_.fill(QString());
    growthSuspended_ = false;
}

} // namespace quorel
