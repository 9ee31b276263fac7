#pragma once
// What every key of the settings file does: each component binds the keys of
// its own controls here, and the writer and the reader go through these
// bindings in the catalogue's order. A key nobody has bound yet (its window is
// not built) keeps its value parked: loaded values are written back unchanged
// and a fresh station writes the default.

#include "settings/catalogue.h"
#include "settings/settings_values.h"

#include <QColor>
#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>

namespace quorel::settings {

class SettingsRegistry {
public:
    struct Binding {
        // The value as the writer writes it ("on", "36", "ＭＳ Ｐゴシック" ...).
        std::function<QString()> read;
        // Applies a value from a line as a user change of the control would.
        // Int and colour values arrive checked and clamped, as decimal text.
        std::function<void(const QString&)> apply;
    };
    struct Hooks {
        std::function<void(const QString&)> explanation; // a line on the explanation page
        std::function<void(const QString&)> error;       // the station's error report
        std::function<bool()> frameless;                 // the borderless display is on
        // A command key of the remote-settings range; true ends the pass.
        std::function<bool(int key, const QString& value)> command;
        // The default of a key whose default follows the main window.
        std::function<QString(int key)> computedDefault;
    };

    SettingsRegistry();
    Hooks& hooks() { return hooks_; }

    void bind(int key, Binding b);
    bool isBound(int key) const { return bindings_.contains(key); }
    // A colour binding: a value read from a file is written back exactly as it
    // was (system colours included) for as long as the colour stays unchanged.
    void bindColour(int key, std::function<QColor()> get, std::function<void(const QColor&)> set);

    // The value the writer writes for `key` now.
    QString value(int key) const;

    // The header and one line per catalogue key, in catalogue order. Keys
    // whose values hold a ":" (cut there when read back) are added to
    // `withColon` when given.
    QStringList WriteSettings(QList<int>* withColon = nullptr) const;
    // One line per extension key (extensionKeys()), for the save commands to
    // append after the catalogue's lines.
    QStringList WriteExtensionSettings() const;
    // One line "key:value:comment" as the writer forms it.
    static QString line(const Row& row, const QString& value);

    // Applies lines as the reader does. Returns false when the header was
    // wrong or the pass stopped at a line that was not an integer (reported
    // through the hooks); the lines before it stay applied. A pass asked for
    // while one runs (from a message box it opened) runs after it.
    bool ApplySettings(const QStringList& lines);
    bool applying() const { return applying_; }

    // Parks the defaults that follow the main window (once its hooks are set).
    void parkComputedDefaults();
    // Every catalogue key takes its default, bound or parked.
    void restoreDefaults();

private:
    bool applyPass(const QStringList& lines);
    void applyLine(const QString& line, bool* stop);
    QString defaultOf(const Row& row) const;

    Hooks hooks_;
    QHash<int, Binding> bindings_;
    QHash<int, QString> parked_;
    QHash<int, WinColour> lastColour_;
    bool applying_ = false;
    std::deque<QStringList> waiting_;
};

} // namespace quorel::settings
