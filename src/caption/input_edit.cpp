#include "caption/input_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCharFormat>

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

bool recolourConversion(QList<QInputMethodEvent::Attribute>& attributes, const QColor& text,
                        const QColor& background) {
    bool changed = false;
    for (QInputMethodEvent::Attribute& a : attributes) {
        if (a.type != QInputMethodEvent::TextFormat)
            continue;
        QTextCharFormat f = qvariant_cast<QTextFormat>(a.value).toCharFormat();
        if (!f.hasProperty(QTextFormat::BackgroundBrush))
            continue;
        f.setForeground(text);
        f.setBackground(background);
        a.value = QVariant::fromValue(QTextFormat(f));
        changed = true;
    }
    return changed;
}

void InputEdit::inputMethodEvent(QInputMethodEvent* e) {
    const bool commit = !e->commitString().isEmpty();
    QList<QInputMethodEvent::Attribute> attributes = e->attributes();
    if (recolourConversion(attributes, conversionText_, conversionBackground_)) {
        QInputMethodEvent coloured(e->preeditString(), attributes);
        coloured.setCommitString(e->commitString(), e->replacementStart(), e->replacementLength());
        QTextEdit::inputMethodEvent(&coloured);
        e->setAccepted(coloured.isAccepted());
    } else {
        QTextEdit::inputMethodEvent(e);
    }
    if (commit)
        emit committed();
}

void InputEdit::keyReleaseEvent(QKeyEvent* e) {
    QTextEdit::keyReleaseEvent(e);
    emit keyUp(e);
}

} // namespace quorel
