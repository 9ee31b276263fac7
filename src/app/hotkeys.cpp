#include "app/hotkeys.h"

#include "app/station.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quorel {

namespace {

// An editor may claim a Ctrl key as an editing key before any shortcut sees
// it; which keys depends on the editor, the desktop's key scheme and the Qt
// version. The typist must reach the other windows from wherever the caret
// is, so in this window the ten hotkeys are never left to an editor.
class HotkeyGuard final : public QObject {
public:
    HotkeyGuard(QWidget* window, QList<QKeySequence> keys)
        : QObject(window), window_(window), keys_(std::move(keys)) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
            static_cast<QWidget*>(watched)->window() != window_)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        // The keypad's 8 is the hotkey too, as for the shortcut itself.
        const QKeySequence pressed(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        if (!keys_.contains(pressed))
            return false;
        event->ignore(); // not claimed: the shortcut takes the key
        return true;
    }

private:
    // Compared by address only.
    const QWidget* window_;
    QList<QKeySequence> keys_;
};

} // namespace

QList<QAction*> installHotkeyMenu(QWidget* window, Station& station) {
    struct Item {
        const char* name;
        const char* caption;
        QKeySequence key;
        void (Station::*action)();
    };
    const Item items[] = {
        {"hkey_main", "heky__main", QKeySequence(Qt::CTRL | Qt::Key_D), &Station::hotkeyMain},
        {"hkey_fkeymemo", "hkey_fkeymemo", QKeySequence(Qt::CTRL | Qt::Key_F),
         &Station::hotkeyFKeyMemo},
        {"hkeyrenraku1", "hkey_renraku", QKeySequence(Qt::CTRL | Qt::Key_R), &Station::hotkeyChat},
        {"hekytempm1", "heky_temp_m", QKeySequence(Qt::CTRL | Qt::Key_N), &Station::hotkeyPreroll},
        {"hkey8nin1", "hkey_8nin", QKeySequence(Qt::CTRL | Qt::Key_8), &Station::hotkeyEightPerson},
        {"hkeyinput1", "hkey_input", QKeySequence(Qt::CTRL | Qt::Key_I), &Station::hotkeySubInput},
        {"hkeyterop1", "hkey_osirase", QKeySequence(Qt::CTRL | Qt::Key_O),
         &Station::hotkeyInformation},
        {"hkeykakunin1", "hkey_kakunin", QKeySequence(Qt::CTRL | Qt::Key_S),
         &Station::hotkeyPalette},
        {"hkeyslide1", "hkey_slide", QKeySequence(Qt::CTRL | Qt::Key_L), nullptr},
        {"hkeymojikara1", "hkey_mojikara", QKeySequence(Qt::CTRL | Qt::Key_K),
         &Station::hotkeyKaraoke},
    };
    QList<QAction*> actions;
    QList<QKeySequence> keys;
    for (const Item& it : items) {
        auto* a = new QAction(QString::fromLatin1(it.caption), window);
        a->setObjectName(QString::fromLatin1(it.name));
        a->setShortcut(it.key);
        // The shortcut must work wherever the focus is inside this window, but
        // never fire for another window.
        a->setShortcutContext(Qt::WindowShortcut);
        if (it.action != nullptr) {
            auto fn = it.action;
            QObject::connect(a, &QAction::triggered, window, [&station, fn] { (station.*fn)(); });
        }
        window->addAction(a);
        actions << a;
        keys << it.key;
    }
    new HotkeyGuard(window, keys);
    return actions;
}

} // namespace quorel
