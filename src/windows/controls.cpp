#include "windows/controls.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLayout>
#include <QSignalBlocker>
#include <QSpinBox>

namespace quorel {

QWidget* withUpDown(QLineEdit* edit, const char* name, int min, int max) {
    auto* row = new QWidget;
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* updown = named(new QSpinBox(row), name);
    updown->setRange(min, max);
    updown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    updown->setFixedWidth(18 + updown->sizeHint().height());
    updown->setValue(edit->text().toInt());
    // The arrows write the box; a typed box moves the arrows.
    QObject::connect(updown, &QSpinBox::valueChanged, edit, [edit](int v) {
        if (edit->text() != QString::number(v))
            edit->setText(QString::number(v));
    });
    QObject::connect(edit, &QLineEdit::textChanged, updown, [updown](const QString& t) {
        bool ok = false;
        const int v = t.toInt(&ok);
        if (ok && v != updown->value()) {
            const QSignalBlocker block(updown);
            updown->setValue(v);
        }
    });
    h->addWidget(edit);
    h->addWidget(updown);
    return row;
}

void setSplitterPart(QSplitter* splitter, int part, int size, int flexible) {
    if (QLayout* l = splitter->window()->layout())
        l->activate();
    QList<int> sizes = splitter->sizes();
    int total = 0;
    for (int v : sizes)
        total += v;
    sizes[part] = std::max(2, size);
    int others = 0;
    for (int i = 0; i < sizes.size(); ++i)
        if (i != flexible)
            others += sizes[i];
    sizes[flexible] = std::max(2, total - others);
    splitter->setSizes(sizes);
}

} // namespace quorel
