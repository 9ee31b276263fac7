#include "wire/ruby.h"

#include "text/cp932.h"
#include "text/sanitise.h"
#include "wire/display_record.h"

#include <QLatin1StringView>
#include <QStringList>

#include <algorithm>

namespace quorel {

namespace {

constexpr QLatin1StringView kOpen{RubyOpen};
constexpr QLatin1StringView kClose{RubyClose};
constexpr QLatin1StringView kLineBreak{"\r\n"};

bool hasLineBreak(const QByteArray& b) {
    return b.contains('\r') || b.contains('\n');
}

} // namespace

std::optional<RubyMessage> parseRubyMessage(const QByteArray& datagram) {
    const qsizetype nul = datagram.indexOf('\0');
    const QByteArray body = nul < 0 ? datagram : datagram.left(nul);
    // A comma is never the second byte of a double-byte character, so the
    // bytes can be split directly.
    const qsizetype comma = body.indexOf(',');
    if (comma <= 0)
        return std::nullopt;
    const qsizetype end = body.indexOf(',', comma + 1);
    const QByteArray reading = body.mid(comma + 1, end < 0 ? -1 : end - comma - 1);
    return RubyMessage{text::cutBytes(body.left(comma), kRubyFieldBytes),
                       text::cutBytes(reading, kRubyFieldBytes)};
}

bool applyRuby(DisplayRecord& record, const QByteArray& base, const QByteArray& reading,
               int screenLines) {
    if (base.isEmpty() || screenLines <= 0 || hasLineBreak(base) || hasLineBreak(reading))
        return false;
    const QString word = text::decode(base);
    // A base with bytes the code page does not define can match no whole
    // characters of the record.
    if (text::encode(word) != base)
        return false;
    // The reading goes onto the screens: no control characters.
    const QString mark = kOpen + text::decode(text::sanitiseBytes(reading)) + kClose;

    const int first = std::max(0, record.lineCount() - screenLines);
    const int count = record.lineCount() - first;
    if (count == 0)
        return false;
    QStringList old;
    old.reserve(count);
    for (int i = first; i < record.lineCount(); ++i)
        old << record.line(i);
    QString tail = old.join(kLineBreak);
    // An occurrence at byte offset 0 or 1 of the record ends the search.
    const bool atRecordStart = first == 0;

    bool changed = false;
    qsizetype from = 0;
    for (;;) {
        qsizetype i = tail.indexOf(word, from);
        if (i < 0)
            break;
        if (atRecordStart && text::byteLength(QStringView(tail).left(i)) <= 1)
            break;
        qsizetype lineEnd = tail.indexOf(kLineBreak, i);
        if (lineEnd < 0)
            lineEnd = tail.size();
        const qsizetype close = tail.indexOf(kClose, i);
        const qsizetype open = tail.indexOf(kOpen, i);
        const bool insideReading = close >= 0 && close < lineEnd && (open < 0 || close < open);
        if (insideReading || (i > 0 && tail[i - 1] == u'`')) {
            from = i + word.size();
            continue;
        }
        // A reading right before the word is replaced, not doubled. Its
        // opening mark must be on the same line: a mark on an earlier line
        // belongs to something else.
        qsizetype at = i;
        if (i >= 2 && QStringView(tail).sliced(i - 2, 2) == kClose) {
            const qsizetype lineBreak = i >= 4 ? tail.lastIndexOf(kLineBreak, i - 4) : -1;
            const qsizetype lineStart = lineBreak < 0 ? 0 : lineBreak + 2;
            const qsizetype oldOpen = i >= 4 ? tail.lastIndexOf(kOpen, i - 4) : -1;
            if (oldOpen >= 0 && oldOpen >= lineStart)
                at = oldOpen;
        }
        tail.replace(at, i - at, mark);
        changed = true;
        from = at + mark.size() + word.size();
    }
    if (!changed)
        return false;

    // Marks hold no line breaks, so the lines correspond one to one; the
    // change starts at the first line that differs.
    const QStringList now = tail.split(kLineBreak);
    int k = 0;
    while (k < count && now[k] == old[k])
        ++k;
    record.replaceLines(first + k, count - k, now.mid(k), record.lastLineTerminated());
    record.resetUndoState();
    return true;
}

} // namespace quorel
