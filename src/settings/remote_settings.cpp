#include "settings/remote_settings.h"

#include "base/services.h"

#include <QCheckBox>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopeGuard>
#include <algorithm>
#include <array>

namespace quorel {

using namespace settings;

Q_LOGGING_CATEGORY(lcSettings, "quorel.settings", QtWarningMsg)

RemoteSettings::RemoteSettings(const Controls& c, SettingsRegistry& registry, Messages& messages,
                               QObject* parent)
    : QObject(parent), c_(c), registry_(registry), messages_(messages) {
    connect(c_.Button18, &QPushButton::clicked, this,
            [this] { reportErrors(messages_, [&] { Button18Click(); }); });
}

bool RemoteSettings::refused(int key) {
    static constexpr std::array kRefused{61,  64,  73,  74,  75,  166, 193, 194, 195, 196, 197, 744,
                                         780, 801, 802, 803, 806, 807, 855, 858, 869, 950, 951};
    return std::find(kRefused.begin(), kRefused.end(), key) != kRefused.end();
}

void RemoteSettings::received(const QString& body, const QString& from) {
    auto note = [this](const QString& line) {
        if (hooks_.note)
            hooks_.note(line);
    };
    if (!hooks_.trusted || !hooks_.trusted(from)) {
        qCDebug(lcSettings) << "not from the partner" << from << body;
        note(kNotFromPartner + from + QLatin1Char(':') + body);
        return;
    }
    note(kReceived + body);
    if (body != kEnd) {
        if (pendingChars_ + body.size() > kPendingLimit) {
            note(kOverflow + body);
            return;
        }
        PendingSettings << body;
        pendingChars_ += body.size();
        return;
    }
    applyPending();
}

void RemoteSettings::applyPending() {
    QStringList lines;
    lines.reserve(PendingSettings.size());
    for (const QString& pending : std::as_const(PendingSettings)) {
        const QString line = pending.mid(kSet.size());
        // The key decides; a line whose key is no number stays, so that the
        // pass stops at it with the integer error as a file's would.
        bool isNumber = false;
        const int key = line.section(QLatin1Char(':'), 0, 0).toInt(&isNumber);
        if (isNumber && refused(key)) {
            if (hooks_.note)
                hooks_.note(kKeyRefused + line);
            continue;
        }
        lines << line;
    }
    PendingSettings.clear();
    pendingChars_ = 0;
    qCDebug(lcSettings) << "remote settings" << lines;
    if (hooks_.applying)
        hooks_.applying(true);
    const auto done = qScopeGuard([this] {
        if (hooks_.applying)
            hooks_.applying(false);
    });
    registry_.ApplySettings(lines);
}

void RemoteSettings::SendSettingsMessage(const QStringList& lines) {
    if (!hooks_.send)
        return;
    hooks_.send(kSet + kHeader);
    for (const QString& l : lines)
        hooks_.send(l);
    hooks_.send(kEnd);
}

void RemoteSettings::Button18Click() {
    if (!hooks_.partnerNominated || !hooks_.partnerNominated()) {
        showIfEnabled(messages_, c_.CheckBox19, kNoPartner);
        return;
    }
    c_.CheckBox67->setChecked(false);
    SendSettingsMessage({kMatchLine});
}

} // namespace quorel
