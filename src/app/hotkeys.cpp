#include "app/hotkeys.h"

#include "app/station.h"

#include <QAction>
#include <QWidget>

namespace quorel {

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
    }
    return actions;
}

} // namespace quorel
