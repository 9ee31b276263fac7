#include "logs/transcript.h"

#include "wire/display_record.h"
#include "wire/ruby.h"

#include <algorithm>

namespace quorel::transcript {

namespace {

// Times relative to the first line, never going back.
std::vector<qint64> relativeTimes(int lineCount, const std::vector<qint64>& times) {
    std::vector<qint64> out(static_cast<std::size_t>(std::max(lineCount, 0)), 0);
    if (times.empty())
        return out;
    const qint64 start = times.front();
    qint64 last = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const qint64 t = i < times.size() ? times[i] - start : last;
        last = std::max(last, t);
        out[i] = last;
    }
    return out;
}

} // namespace

QString cleanLine(const QString& line) {
    static const QString open = QString::fromLatin1(RubyOpen);
    static const QString close = QString::fromLatin1(RubyClose);
    QString out;
    out.reserve(line.size());
    qsizetype i = 0;
    while (i < line.size()) {
        const qsizetype o = line.indexOf(open, i);
        if (o < 0)
            break;
        const qsizetype c = line.indexOf(close, o + open.size());
        if (c < 0)
            break;
        out += QStringView(line).mid(i, o - i);
        i = c + close.size();
    }
    out += QStringView(line).mid(i);
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    qsizetype end = out.size();
    while (end > 0 && (out[end - 1].isSpace() || out[end - 1] == DisplayRecord::kContinueMarker ||
                       out[end - 1] == DisplayRecord::kNewLineMarker))
        --end;
    out.truncate(end);
    return out;
}

QString cueTime(qint64 ms, QChar separator) {
    ms = std::max<qint64>(ms, 0);
    const qint64 h = ms / 3600000;
    const qint64 m = ms / 60000 % 60;
    const qint64 s = ms / 1000 % 60;
    const qint64 f = ms % 1000;
    return QStringLiteral("%1:%2:%3%4%5")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg(f, 3, 10, QLatin1Char('0'));
}

QByteArray plainText(const QStringList& lines, const std::vector<qint64>& times) {
    const std::vector<qint64> rel = relativeTimes(int(lines.size()), times);
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = cleanLine(lines[i]);
        if (!text.isEmpty()) {
            QString stamp = cueTime(rel[std::size_t(i)], QLatin1Char('.'));
            stamp.chop(4); // whole seconds
            out += QLatin1Char('[') + stamp + QStringLiteral("] ") + text;
        }
        out += QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

std::vector<Cue> cues(const QStringList& lines, const std::vector<qint64>& times) {
    const std::vector<qint64> rel = relativeTimes(int(lines.size()), times);
    std::vector<Cue> out;
    std::size_t i = 0;
    const std::size_t n = rel.size();
    while (i < n) {
        // One group: the lines within kMinCueMs of its first line.
        const qint64 start = rel[i];
        Cue cue{start, 0, {}};
        for (; i < n && rel[i] < start + kMinCueMs; ++i)
            if (QString text = cleanLine(lines[qsizetype(i)]); !text.isEmpty())
                cue.text << text;
        // The next line (empty or not) ends it; it is at least kMinCueMs on.
        cue.endMs = i < n ? rel[i] : start + kLastCueMs;
        if (!cue.text.isEmpty())
            out.push_back(std::move(cue));
    }
    return out;
}

QByteArray subRip(const QStringList& lines, const std::vector<qint64>& times) {
    QString out;
    int number = 0;
    for (const Cue& cue : cues(lines, times)) {
        out += QString::number(++number) + QStringLiteral("\r\n");
        out += cueTime(cue.startMs, QLatin1Char(',')) + QStringLiteral(" --> ") +
               cueTime(cue.endMs, QLatin1Char(',')) + QStringLiteral("\r\n");
        for (QString text : cue.text) {
            while (text.contains(QStringLiteral("-->")))
                text.replace(QStringLiteral("-->"), QStringLiteral("->"));
            out += text + QStringLiteral("\r\n");
        }
        out += QStringLiteral("\r\n");
    }
    return out.toUtf8();
}

QByteArray webVtt(const QStringList& lines, const std::vector<qint64>& times) {
    QString out = QStringLiteral("WEBVTT\n");
    for (const Cue& cue : cues(lines, times)) {
        out += QLatin1Char('\n');
        out += cueTime(cue.startMs, QLatin1Char('.')) + QStringLiteral(" --> ") +
               cueTime(cue.endMs, QLatin1Char('.')) + QLatin1Char('\n');
        for (const QString& text : cue.text) {
            for (const QChar ch : text) {
                if (ch == QLatin1Char('&'))
                    out += QStringLiteral("&amp;");
                else if (ch == QLatin1Char('<'))
                    out += QStringLiteral("&lt;");
                else if (ch == QLatin1Char('>'))
                    out += QStringLiteral("&gt;");
                else
                    out += ch;
            }
            out += QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

} // namespace quorel::transcript
