#pragma once
// Small pieces every window builds its controls from.

#include <QLineEdit>
#include <QSplitter>
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

// Gives part `part` of a splitter `size` pixels (at least 2, so no part can
// be dragged away) and part `flexible` what is left. The window's layout is
// done first: on a window not shown yet the sizes would otherwise be scaled
// to nothing.
void setSplitterPart(QSplitter* splitter, int part, int size, int flexible);

} // namespace quorel
