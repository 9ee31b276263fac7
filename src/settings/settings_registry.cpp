#include "settings/settings_registry.h"

#include <QScopeGuard>
#include <exception>
#include <vector>

namespace quorel::settings {

namespace {

QString keyText(int key) {
    return QStringLiteral("%1").arg(key, 3, 10, QLatin1Char('0'));
}

} // namespace

SettingsRegistry::SettingsRegistry() {
    for (const Row& r : catalogue())
        parked_.insert(r.key, r.defaultValue ? QString::fromUtf8(r.defaultValue) : QString());
    for (const Row& r : extensionKeys())
        parked_.insert(r.key, QString::fromUtf8(r.defaultValue));
    // Kept by "restore defaults"; a fresh station has it off.
    parked_.insert(524, QStringLiteral("false"));
}

void SettingsRegistry::bind(int key, Binding b) {
    bindings_.insert(key, std::move(b));
}

void SettingsRegistry::bindColour(int key, std::function<QColor()> get,
                                  std::function<void(const QColor&)> set) {
    const Row* row = findRow(key);
    const QColor fallback = row && row->defaultValue
                                ? colourOf(parseInt(QString::fromUtf8(row->defaultValue)))
                                : QColor(Qt::white);
    // Until a file or the user says otherwise the control shows the default,
    // and a system colour default is written as such.
    if (row && row->defaultValue)
        lastColour_.insert(key, parseInt(QString::fromUtf8(row->defaultValue)));
    bind(key, {[this, key, get, fallback] {
                   const QColor now = get();
                   const auto it = lastColour_.constFind(key);
                   if (it != lastColour_.constEnd() && colourOf(*it, fallback) == now)
                       return QString::number(*it);
                   return QString::number(valueOf(now));
               },
               [this, key, set, fallback](const QString& v) {
                   const WinColour c = parseInt(v);
                   lastColour_.insert(key, c);
                   set(colourOf(c, fallback));
               }});
}

QString SettingsRegistry::value(int key) const {
    const auto it = bindings_.constFind(key);
    if (it != bindings_.constEnd() && it->read)
        return it->read();
    return parked_.value(key);
}

QString SettingsRegistry::line(const Row& row, const QString& value) {
    // Concatenated, never QString::arg: a value may itself hold "%1".
    return keyText(row.key) + QLatin1Char(':') + value + QLatin1Char(':') + commentFor(row, value);
}

QStringList SettingsRegistry::WriteSettings(QList<int>* withColon) const {
    QStringList out;
    out.reserve(int(catalogue().size()) + 4);
    out << kHeader;
    for (const Row& r : catalogue()) {
        switch (r.form) {
        case Form::Placeholder:
            out << keyText(r.key) + QStringLiteral(":未使用");
            continue;
        case Form::FixedFalse:
            out << line(r, QStringLiteral("false"));
            continue;
        default:
            break;
        }
        const QString v = value(r.key);
        if (withColon && v.contains(QLatin1Char(':')))
            withColon->append(r.key);
        out << line(r, v);
    }
    return out;
}

QStringList SettingsRegistry::WriteExtensionSettings() const {
    QStringList out;
    for (const Row& r : extensionKeys())
        out << line(r, value(r.key));
    return out;
}

bool SettingsRegistry::ApplySettings(const QStringList& lines) {
    if (applying_) {
        waiting_.push_back(lines);
        return true;
    }
    applying_ = true;
    const auto done = qScopeGuard([this] { applying_ = false; });
    const bool ok = applyPass(lines);
    while (!waiting_.empty()) {
        const QStringList next = std::move(waiting_.front());
        waiting_.pop_front();
        applyPass(next);
    }
    return ok;
}

bool SettingsRegistry::applyPass(const QStringList& lines) {
    if (lines.isEmpty() || lines.first() != kHeader) {
        if (hooks_.explanation)
            hooks_.explanation(kVersionMismatch);
        return false;
    }
    try {
        bool stop = false;
        for (qsizetype i = 1; i < lines.size() && !stop; ++i)
            applyLine(lines.at(i), &stop);
    } catch (const std::exception& e) {
        if (hooks_.error)
            hooks_.error(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void SettingsRegistry::applyLine(const QString& text, bool* stop) {
    const qsizetype first = text.indexOf(QLatin1Char(':'));
    const QString keyField = first < 0 ? text : text.left(first);
    QString valueField;
    if (first >= 0) {
        const qsizetype second = text.indexOf(QLatin1Char(':'), first + 1);
        valueField = second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1);
    }
    int key = parseInt(keyField);
    if (key >= kFirstCommand && key <= kLastCommand) {
        if (hooks_.command && hooks_.command(key, valueField))
            *stop = true;
        return;
    }
    if (key == 139) // an older name of the F7 correction key
        key = 140;
    const Row* row = findRow(key);
    if (row == nullptr || row->form == Form::Placeholder)
        return;
    if ((row->flags & kSkipFrameless) && hooks_.frameless && hooks_.frameless())
        return;
    QString v = valueField;
    if (row->form == Form::Int)
        v = QString::number(clamp(row->clamp, parseInt(v)));
    else if (row->form == Form::Colour)
        v = QString::number(parseInt(v));
    const auto it = bindings_.constFind(key);
    if (it != bindings_.constEnd())
        it->apply(v);
    else
        parked_.insert(key, v);
}

QString SettingsRegistry::defaultOf(const Row& row) const {
    if ((row.flags & kComputedDefault) && hooks_.computedDefault)
        return hooks_.computedDefault(row.key);
    return row.defaultValue ? QString::fromUtf8(row.defaultValue) : QString();
}

void SettingsRegistry::parkComputedDefaults() {
    for (const Row& r : catalogue())
        if ((r.flags & kComputedDefault) && !isBound(r.key))
            parked_.insert(r.key, defaultOf(r));
}

void SettingsRegistry::restoreDefaults() {
    std::vector<Row> rows(catalogue().begin(), catalogue().end());
    rows.insert(rows.end(), extensionKeys().begin(), extensionKeys().end());
    for (const Row& r : rows) {
        if ((r.flags & kKeepOnDefaults) || r.form == Form::Placeholder ||
            r.form == Form::FixedFalse)
            continue;
        QString v = defaultOf(r);
        if (r.form == Form::Int && !v.isEmpty())
            v = QString::number(clamp(r.clamp, parseInt(v)));
        const auto it = bindings_.constFind(r.key);
        if (it != bindings_.constEnd()) {
            if (r.form == Form::Colour)
                lastColour_.remove(r.key);
            it->apply(v);
        } else {
            parked_.insert(r.key, v);
        }
    }
}

} // namespace quorel::settings
