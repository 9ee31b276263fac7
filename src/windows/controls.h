#pragma once
// Small pieces every window builds its controls from.

#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace quorel {

// Controls carry the names the settings and the tests know them by.
template <class T> T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A number box with its up/down arrows (objectName `name`) beside it; the box
// stays the setting.
QWidget* withUpDown(QLineEdit* edit, const char* name, int min, int max);

} // namespace quorel
