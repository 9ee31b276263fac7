#include "settings/settings_commands.h"

#include "base/services.h"
#include "settings/settings_file.h"

#include <QCheckBox>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

namespace quorel {

using namespace settings;

SettingsCommands::SettingsCommands(const Controls& c, SettingsRegistry& registry,
                                   StationState& state, Messages& messages, Choosers& choosers,
                                   QObject* parent)
    : QObject(parent), c_(c), registry_(registry), state_(state), messages_(messages),
      choosers_(choosers) {
    auto on = [this](QPushButton* b, void (SettingsCommands::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(c_.Button21, &SettingsCommands::SaveSettingsAs);
    on(c_.Button20, &SettingsCommands::LoadSettingsFrom);
    on(c_.Button66, &SettingsCommands::SaveStartupSettings);
    on(c_.Button67, &SettingsCommands::RestoreDefaults);
    c_.Label67->setText(kNothingLoaded);
}

QString SettingsCommands::StartupSettingsFile() const {
    const QString own = state_.programDirectory + kStartupName;
    // An installed station still takes the file an administrator put beside
    // the executable, until the user saves one of their own.
    if (!state_.besideExecutable.isEmpty() && !QFileInfo::exists(own) &&
        QFileInfo::exists(state_.besideExecutable + kStartupName))
        return state_.besideExecutable + kStartupName;
    return own;
}

void SettingsCommands::appendChannelAndGroup() {
    const int channel = hooks_.channelIndex ? hooks_.channelIndex() : 0;
    const int group = hooks_.groupNumber ? hooks_.groupNumber() : 1;
    SettingsLines << SettingsRegistry::line(*findRow(801), QString::number(channel));
    SettingsLines << SettingsRegistry::line(*findRow(802), QString::number(group));
}

void SettingsCommands::appendStationName() {
    const QString name = hooks_.stationName ? hooks_.stationName() : QString();
    if (name.contains(QLatin1Char(':')))
        withColon_ << 166;
    SettingsLines << SettingsRegistry::line(*findRow(166), name);
}

bool SettingsCommands::store(const QString& path) {
    QString error;
    if (!writeLines(path, SettingsLines, &error)) {
        messages_.show(error);
        return false;
    }
    warnAboutColons(withColon_);
    return true;
}

void SettingsCommands::warnAboutColons(const QList<int>& keys) {
    if (keys.isEmpty())
        return;
    QStringList shown;
    for (int k : keys) {
        const Row* row = findRow(k);
        shown << QStringLiteral("%1 %2")
                     .arg(k, 3, 10, QLatin1Char('0'))
                     .arg(row ? commentFor(*row, registry_.value(k)) : QString());
    }
    showIfEnabled(messages_, c_.CheckBox19, kColonWarning.arg(shown.join(QLatin1Char('\n'))));
}

bool SettingsCommands::saveFile(const QString& path) {
    c_.Label67->setText(QFileInfo(path).fileName());
    SettingsLines.clear();
    withColon_.clear();
    SettingsLines = registry_.WriteSettings(&withColon_);
    appendChannelAndGroup();
    SettingsLines << registry_.WriteExtensionSettings();
    appendStationName();
    return store(path);
}

void SettingsCommands::SaveSettingsAs() {
    const auto path =
        choosers_.saveFile(state_.programDirectory, kProposedName, kFilter, QStringLiteral("dp9"));
    if (!path)
        return;
    saveFile(*path);
}

void SettingsCommands::loadFile(const QString& path) {
    if (!read(path, true))
        return;
    // The automatic adjustments and explanations stay quiet while a file is
    // applied, and come back whatever the file holds.
    state_.settingsReady = false;
    const auto ready = qScopeGuard([this] { state_.settingsReady = true; });
    c_.Label67->setText(QFileInfo(path).fileName());
    registry_.ApplySettings(SettingsLines);
    if (hooks_.afterLoad)
        hooks_.afterLoad();
}

void SettingsCommands::LoadSettingsFrom() {
    SettingsLines.clear();
    const auto path = choosers_.openFile(state_.programDirectory, kFilter);
    if (!path)
        return;
    loadFile(*path);
}

void SettingsCommands::SaveStartupSettings() {
    c_.Label67->setText(kStartupName);
    SettingsLines.clear();
    withColon_.clear();
    SettingsLines = registry_.WriteSettings(&withColon_);
    const int channel = hooks_.channelIndex ? hooks_.channelIndex() : 0;
    const int group = hooks_.groupNumber ? hooks_.groupNumber() : 1;
    if (channel != 0 || group != 1)
        appendChannelAndGroup();
    SettingsLines << registry_.WriteExtensionSettings();
    appendStationName();
    // Always the user's own folder: the file beside the executable is only read.
    store(state_.programDirectory + kStartupName);
}

bool SettingsCommands::read(const QString& path, bool report) {
    SettingsLines.clear();
    QString error;
    const auto lines = readLines(path, &error);
    if (!lines) {
        if (report)
            messages_.show(error);
        return false;
    }
    SettingsLines = *lines;
    return true;
}

void SettingsCommands::LoadStartupSettings() {
    SettingsLines.clear();
    const QString path = StartupSettingsFile();
    if (!QFile::exists(path) || !read(path, true))
        return;
    if (path != state_.programDirectory + kStartupName)
        qInfo().noquote() << "quorel: start-up settings from" << path;
    c_.Label67->setText(kStartupName);
    registry_.ApplySettings(SettingsLines);
}

void SettingsCommands::ReadStartupHostName() {
    SettingsLines.clear();
    const QString path = StartupSettingsFile();
    // A file that cannot be read is reported by the full load five seconds later.
    if (!QFile::exists(path) || !read(path, false))
        return;
    for (qsizetype i = SettingsLines.size() - 1; i >= 0; --i) {
        const QStringList fields = SettingsLines.at(i).split(QLatin1Char(':'));
        if (fields.at(0) != QLatin1String("166"))
            continue;
        if (hooks_.setStationName)
            hooks_.setStationName(fields.size() > 1 ? fields.at(1) : QString());
        return;
    }
}

void SettingsCommands::RestoreDefaults() {
    c_.Label67->setText(kDefaultsRestored);
    state_.settingsReady = false;
    const auto ready = qScopeGuard([this] { state_.settingsReady = true; });
    if (hooks_.beforeDefaults)
        hooks_.beforeDefaults();
    registry_.restoreDefaults();
    if (hooks_.afterDefaults)
        hooks_.afterDefaults();
}

} // namespace quorel
