#include "caption/input_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

namespace quorel {

InputEdit::InputEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setTabChangesFocus(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
}

void InputEdit::keyPressEvent(QKeyEvent* e) {
    bool handled = false;
    emit keyDown(e, &handled);
    if (handled) {
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (e->modifiers() & Qt::ControlModifier) {
            // A line break inside the sentence; it travels as CR LF.
            textCursor().insertText(QStringLiteral("\n"));
        } else {
            emit enterPressed();
        }
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void InputEdit::inputMethodEvent(QInputMethodEvent* e) {
    const bool commit = !e->commitString().isEmpty();
    QTextEdit::inputMethodEvent(e);
    if (commit)
        emit committed();
}

void InputEdit::keyReleaseEvent(QKeyEvent* e) {
    QTextEdit::keyReleaseEvent(e);
    emit keyUp(e);
}

} // namespace quorel
