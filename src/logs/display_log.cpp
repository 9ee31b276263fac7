#include "logs/display_log.h"

#include "base/int_text.h"
#include "base/services.h"
#include "caption/screen_part.h"
#include "settings/settings_file.h"
#include "wire/display_record.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <optional>

namespace quorel {

namespace {

// A box's number, or nothing when it holds none (the change rules leave text
// that is not a number to the moment it is used, which reports it).
std::optional<int> numberIn(const QLineEdit* box) {
    bool ok = false;
    const int v = box->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// Empty, 0 or negative becomes `fallback`. True when the box was set.
bool keepPositive(QLineEdit* box, const QString& fallback) {
    const auto v = numberIn(box);
    if (box->text().trimmed().isEmpty() || (v && *v <= 0)) {
        box->setText(fallback);
        return true;
    }
    return false;
}

} // namespace

DisplayLog::DisplayLog(const Controls& c, DisplayRecord& record, ScreenPart& screen,
                       const StationState& state, const Clock& clock, Messages& messages,
                       Choosers& choosers, QObject* parent)
    : QObject(parent), c_(c), record_(record), screen_(screen), state_(state), clock_(clock),
      messages_(messages), choosers_(choosers) {
    c_.Label5->setText(kNothingSaved);
    auto on = [this](auto* sender, auto signal, void (DisplayLog::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(c_.Button7, &QPushButton::clicked, &DisplayLog::SaveDisplayLogWithDialog);
    on(c_.Button11, &QPushButton::clicked, &DisplayLog::SaveExplanationPage);
    on(c_.Timer5, &QTimer::timeout, &DisplayLog::PeriodicLogCheck);
    on(c_.Edit92, &QLineEdit::textChanged, &DisplayLog::Edit92Change);
    on(c_.Edit91, &QLineEdit::textChanged, &DisplayLog::Edit91Change);
    on(c_.Edit4, &QLineEdit::textChanged, &DisplayLog::Edit4Change);
    c_.Timer5->start(kStartIntervalMs);
}

QString DisplayLog::automaticStem(const QDateTime& t) {
    // The explanation page's date and time, made fit for a file name.
    QString stem = explanationStamp(t);
    stem.chop(1);
    stem.replace(QLatin1Char('/'), QLatin1Char('_'));
    stem.replace(QLatin1Char(':'), QLatin1Char('_'));
    return stem;
}

QString DisplayLog::freeName(const QString& stem, const QString& tail) const {
    QString path = state_.programDirectory + stem + tail;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = state_.programDirectory + stem + QStringLiteral("_%1").arg(n) + tail;
    return path;
}

bool DisplayLog::write(const QString& path, const QStringList& lines) {
    QString error;
    if (settings::writeLines(path, lines, &error))
        return true;
    messages_.show(error);
    return false;
}

void DisplayLog::SaveDisplayLogWithDialog() {
    const QString proposal =
        QFileInfo(freeName(automaticStem(clock_.now()), QStringLiteral(".txt"))).fileName();
    const auto path =
        choosers_.saveFile(state_.programDirectory, proposal, kFilter, QStringLiteral("txt"));
    if (!path)
        return;
    // The label names a file that holds the record, never one that failed.
    if (write(*path, record_.lines()))
        c_.Label5->setText(QFileInfo(*path).fileName());
}

void DisplayLog::PeriodicLogCheck() {
    const bool due = record_.lineCount() >= toInt(c_.Edit91->text()) ||
                     record_.textLength() >= std::int64_t(toInt(c_.Edit4->text())) * 1000;
    if (due) {
        if (c_.CheckBox39->isChecked() &&
            !write(freeName(automaticStem(clock_.now()), QStringLiteral(".txt")), record_.lines()))
            return; // the record stays until a save succeeds
        const int n = record_.lineCount();
        const int first = std::max(0, n - kKeptLines);
        QStringList kept{kContinued};
        for (int i = 0; i < kEmptyLines; ++i)
            kept << QString();
        for (int i = first; i < n; ++i)
            kept << record_.line(i);
        record_.reset(kept);
        record_.resetUndoState();
        screen_.showEnd();
    }
    if (hooks_.afterCheck)
        hooks_.afterCheck();
}

void DisplayLog::SaveLogsAtExit() {
    // Closing twice (a second signal while the first close runs) saves once.
    if (exitSaved_)
        return;
    exitSaved_ = true;
    const QString stem = automaticStem(clock_.now());
    if (c_.CheckBox39->isChecked() && record_.lineCount() >= kExitMinimumLines) {
        record_.addLine(kExitLine);
        write(freeName(stem, QStringLiteral(".txt")), record_.lines());
    }
    if (hooks_.chatRecordAtExit) {
        const QStringList chat = hooks_.chatRecordAtExit();
        if (!chat.isEmpty())
            write(freeName(stem, kChatTail), chat);
    }
}

void DisplayLog::SaveExplanationPage() {
    const auto path = choosers_.saveFile(state_.programDirectory, kExplanationName, kFilter,
                                         QStringLiteral("txt"));
    if (!path)
        return;
    write(*path, settings::splitLines(c_.RichEdit3->toPlainText()));
}

void DisplayLog::Edit92Change() {
    if (c_.Edit92->text().trimmed().isEmpty()) {
        c_.Edit92->setText(QStringLiteral("10"));
        return;
    }
    const int minutes = toInt(c_.Edit92->text());
    if (minutes <= 0) {
        c_.Timer5->stop();
        return;
    }
    c_.Timer5->start(std::min(minutes, kMaxMinutes) * 60000);
}

void DisplayLog::Edit91Change() {
    keepPositive(c_.Edit91, QStringLiteral("1000"));
}

void DisplayLog::Edit4Change() {
    if (keepPositive(c_.Edit4, QStringLiteral("30")))
        return; // the change to "30" has shown the warning
    showIfEnabled(messages_, c_.CheckBox19, kSizeWarning);
}

bool DisplayLog::checksOff() const {
    const auto v = numberIn(c_.Edit92);
    return v && *v <= 0;
}

} // namespace quorel
