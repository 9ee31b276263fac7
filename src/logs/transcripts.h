#pragma once
// "Save transcript (txt, srt, vtt)" on the "Save" page: the display record with
// the times its lines arrived, as plain text, SubRip and WebVTT side by side
// (<name>.txt, <name>.srt, <name>.vtt). The three files are saved together or
// not at all: a set with one file missing or stale would mislead whoever
// publishes it.

#include <QObject>
#include <QString>

class QPushButton;

namespace quorel {

class Choosers;
class Clock;
class DisplayRecord;
class LineTimes;
class Messages;
struct StationState;

class Transcripts : public QObject {
    Q_OBJECT
public:
    static inline const QString kFilter =
        QStringLiteral("Transcript (*.txt *.srt *.vtt)|*.txt;*.srt;*.vtt|全てのファイル(*.*)|*.*");
    static inline const QString kFailed =
        QStringLiteral("The transcript was not saved: %1\nNo file of it was written.");

    struct Controls {
        QPushButton* ButtonTranscript; // "Save transcript (txt, srt, vtt)"
    };

    Transcripts(const Controls& c, const DisplayRecord& record, const LineTimes& times,
                const StationState& state, const Clock& clock, Messages& messages,
                Choosers& choosers, QObject* parent = nullptr);

    void ButtonTranscriptClick();

    // Writes <base>.txt, <base>.srt and <base>.vtt of the record, all or none.
    // On failure returns false and sets `error` (the file and why).
    bool save(const QString& base, QString* error) const;

    // The name first proposed: "transcript_2026_12_10-9_05_00", with "_2",
    // "_3" ... when a file of that name is already in the program folder.
    QString proposal() const;

private:
    Controls c_;
    const DisplayRecord& record_;
    const LineTimes& times_;
    const StationState& state_;
    const Clock& clock_;
    Messages& messages_;
    Choosers& choosers_;
};

} // namespace quorel
