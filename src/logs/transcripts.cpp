#include "logs/transcripts.h"

#include "base/services.h"
#include "logs/display_log.h"
#include "logs/line_times.h"
#include "logs/transcript.h"
#include "wire/display_record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSaveFile>
#include <array>
#include <memory>

namespace quorel {

namespace {

constexpr std::array kEndings = {".txt", ".srt", ".vtt"};

// The chosen name without one of the transcript endings: whichever of the
// three the user picked, the set goes next to it.
QString baseOf(const QString& path) {
    for (const char* e : kEndings)
        if (path.endsWith(QLatin1String(e), Qt::CaseInsensitive))
            return path.left(path.size() - qsizetype(qstrlen(e)));
    return path;
}

} // namespace

Transcripts::Transcripts(const Controls& c, const DisplayRecord& record, const LineTimes& times,
                         const StationState& state, const Clock& clock, Messages& messages,
                         Choosers& choosers, QObject* parent)
    : QObject(parent), c_(c), record_(record), times_(times), state_(state), clock_(clock),
      messages_(messages), choosers_(choosers) {
    connect(c_.ButtonTranscript, &QPushButton::clicked, this,
            [this] { reportErrors(messages_, [this] { ButtonTranscriptClick(); }); });
}

QString Transcripts::proposal() const {
    const QString stem = QStringLiteral("transcript_") + DisplayLog::automaticStem(clock_.now());
    auto taken = [this](const QString& name) {
        for (const char* e : kEndings)
            if (QFileInfo::exists(state_.programDirectory + name + QLatin1String(e)))
                return true;
        return false;
    };
    QString name = stem;
    for (int n = 2; taken(name); ++n)
        name = stem + QStringLiteral("_%1").arg(n);
    return name;
}

bool Transcripts::save(const QString& base, QString* error) const {
    const QStringList lines = record_.lines();
    const std::array<QByteArray, 3> contents = {transcript::plainText(lines, times_.times()),
                                                transcript::subRip(lines, times_.times()),
                                                transcript::webVtt(lines, times_.times())};

    // Everything is written before anything is committed, so a full disk or
    // a forbidden name leaves no file of the set behind.
    std::array<std::unique_ptr<QSaveFile>, 3> files;
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i] = std::make_unique<QSaveFile>(base + QLatin1String(kEndings[i]));
        QSaveFile& f = *files[i];
        if (!f.open(QIODevice::WriteOnly) || f.write(contents[i]) != contents[i].size()) {
            *error =
                QDir::toNativeSeparators(f.fileName()) + QStringLiteral(": ") + f.errorString();
            return false; // the files not committed are discarded
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!files[i]->commit()) {
            *error = QDir::toNativeSeparators(files[i]->fileName()) + QStringLiteral(": ") +
                     files[i]->errorString();
            for (std::size_t j = 0; j < i; ++j)
                QFile::remove(files[j]->fileName());
            return false;
        }
    }
    return true;
}

void Transcripts::ButtonTranscriptClick() {
    const auto path =
        choosers_.saveFile(state_.programDirectory, proposal(), kFilter, QStringLiteral("txt"));
    if (!path)
        return;
    QString error;
    if (!save(baseOf(*path), &error))
        messages_.show(kFailed.arg(error));
}

} // namespace quorel
