#pragma once
// Transcripts of the display record for people who read it afterwards: plain
// text, SubRip (.srt) and WebVTT (.vtt). Pure functions of the lines and the
// times they arrived (milliseconds, as LineTimes keeps them); the output is
// UTF-8.
//
// - Times are relative to the first line's time, the start of the transcript.
//   A line stamped earlier than the line before it (a line inserted on the
//   word-processor screen keeps the moment it was typed) is taken as arriving
//   with the line before it, so cues never go back in time.
// - Ruby readings ("`r" reading "`s" before a word) are left out: the word
//   stays, and a reader of a transcript gets the text as it was meant to be
//   read. Where the word ends is not marked, so "word（reading）" could not be
//   placed reliably. A "`r" without its "`s" is left as it is.
// - Position markers ("◆", "■") at the end of a line are left out, and so is
//   white space at the end.
// - Subtitles: lines that arrive within kMinCueMs of the first line of a cue
//   join that cue (a sentence that spans lines arrives at once), so every cue
//   lasts at least kMinCueMs. A cue is shown until the next line arrives, an
//   empty one too; the last cue lasts kLastCueMs. Cues never overlap, and
//   empty lines never make a cue of their own.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

namespace quorel::transcript {

inline constexpr qint64 kMinCueMs = 1000;
inline constexpr qint64 kLastCueMs = 4000;

// A line as a transcript shows it: ruby readings, a trailing position marker
// and trailing white space removed; line breaks become spaces.
QString cleanLine(const QString& line);

// "HH:MM:SS,mmm" (SubRip) or "HH:MM:SS.mmm" (WebVTT); hours have at least
// two digits and grow beyond 99 as needed. Negative times count as 0.
QString cueTime(qint64 ms, QChar separator);

// Every line as "[HH:MM:SS] text" (seconds cut, not rounded); an empty line
// stays empty. CR LF line ends. `times` has one entry per line; missing
// entries count as the last time given.
QByteArray plainText(const QStringList& lines, const std::vector<qint64>& times);

// SubRip: cues numbered from 1, "HH:MM:SS,mmm --> HH:MM:SS,mmm", a blank line
// after each cue, CR LF line ends. "-->" inside a text becomes "->", so no
// text line reads as a timing line.
QByteArray subRip(const QStringList& lines, const std::vector<qint64>& times);

// WebVTT: "WEBVTT", a blank line, then cues "HH:MM:SS.mmm --> HH:MM:SS.mmm"
// separated by blank lines, LF line ends. "&", "<" and ">" are written as
// "&amp;", "&lt;" and "&gt;", so "-->" never appears in a text.
QByteArray webVtt(const QStringList& lines, const std::vector<qint64>& times);

// One subtitle cue: times relative to the start, the cleaned text lines.
struct Cue {
    qint64 startMs = 0;
    qint64 endMs = 0;
    QStringList text;
};
// The cues both subtitle formats write, by the rules above.
std::vector<Cue> cues(const QStringList& lines, const std::vector<qint64>& times);

} // namespace quorel::transcript
