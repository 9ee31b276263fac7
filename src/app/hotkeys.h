#pragma once
// The hidden hotkey menu every working window carries: ten shortcuts that move
// the typist between the open windows without the mouse.

#include <QList>

class QAction;
class QWidget;

namespace quorel {

class Station;

// Adds the ten actions (objectNames hkey_main ... hkeymojikara1) to `window`.
// Their keys work wherever the focus is in the window, editors included.
QList<QAction*> installHotkeyMenu(QWidget* window, Station& station);

} // namespace quorel
