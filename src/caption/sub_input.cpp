#include "caption/sub_input.h"

#include "base/services.h"
#include "caption/input_aids.h"
#include "caption/input_part.h"
#include "windows/prepared/sub_input_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>

namespace quorel {

SubInput::SubInput(const Controls& c, InputPart& input, InputAids& aids, Clipboard& clipboard,
                   Messages& messages, QObject* parent)
    : QObject(parent), c_(c), input_(input), aids_(aids), clipboard_(clipboard),
      messages_(messages) {
    TForm14& w = *c_.form;
    for (SubPane* pane : w.panes) {
        connect(pane, &InputEdit::keyDown, this, [this, pane](QKeyEvent* e, bool* handled) {
            reportErrors(messages_, [&] { keyDown(pane, e, handled); });
        });
        connect(pane, &InputEdit::enterPressed, this,
                [this, pane] { reportErrors(messages_, [&] { sendPane(pane); }); });
        connect(pane, &InputEdit::keyUp, this, [this, pane](QKeyEvent* e) {
            if (hooks_.report)
                reportErrors(messages_, [&] { hooks_.report(pane, e->key()); });
        });
        // The keys an input method consumes never reach the pane.
        connect(pane, &InputEdit::committed, this, [this, pane] {
            if (hooks_.report)
                reportErrors(messages_, [&] { hooks_.report(pane, 0); });
        });
        connect(pane, &QTextEdit::textChanged, this, [this, pane] {
            if (!sending_)
                reportErrors(messages_, [&] { aids_.inputChanged(pane); });
        });
    }
    connect(w.CheckBox37, &QCheckBox::toggled, this,
            [this] { reportErrors(messages_, [&] { CheckBox37Click(); }); });
    connect(w.CheckBox45, &QCheckBox::toggled, this,
            [this] { reportErrors(messages_, [&] { CheckBox45Click(); }); });
}

void SubInput::Button10Click() {
    TForm14& w = *c_.form;
    w.move(0, 0);
    w.resize(c_.mainWindow->width() * 4 / 5, 2 * w.paneHeight(0) + 60);
    w.PageControl1->setCurrentWidget(w.TabSheet1);
    w.show();
    w.raise();
    w.activateWindow();
}

QTextEdit* SubInput::focusedPane() const {
    for (SubPane* pane : c_.form->panes)
        if (pane->hasFocus())
            return pane;
    return nullptr;
}

QList<QTextEdit*> SubInput::panes() const {
    return {c_.form->RichEdit1, c_.form->RichEdit2};
}

QList<QWidget*> SubInput::panels() const {
    return {c_.form->Panel1, c_.form->Panel2, c_.form->Panel3};
}

int SubInput::columns() const {
    if (!c_.form->CheckBox45->isChecked())
        return 0;
    bool ok = false;
    const int n = c_.form->Edit20->text().trimmed().toInt(&ok);
    return ok ? std::max(n, 0) : c_.form->UpDown14->value();
}

int SubInput::sendPane(QTextEdit* pane) {
    QTextCharFormat f;
    f.setFontPointSize(pane->font().pointSizeF());
    pane->mergeCurrentCharFormat(f);
    const bool beforeCaret = c_.CheckBox53->isChecked();
    const QString whole = pane->toPlainText();
    const QString s = beforeCaret ? whole.left(pane->textCursor().position()) : whole;
    // The typist's text in the input part stays where it is.
    const int r = input_.sendSentence(wireText(s), InputPart::Source::Elsewhere);
    if (r == 0)
        emptyAfterSend(pane, beforeCaret);
    return r;
}

void SubInput::emptyAfterSend(QTextEdit* pane, bool beforeCaret) {
    const QScopedValueRollback<bool> own(sending_, true);
    QTextCursor cur = pane->textCursor();
    if (beforeCaret) {
        cur.setPosition(cur.position());
        cur.setPosition(0, QTextCursor::KeepAnchor);
    } else {
        cur.select(QTextCursor::Document);
    }
    cur.removeSelectedText();
    if (pane->document()->firstBlock().text().isEmpty() && !c_.Edit31->text().isEmpty()) {
        cur.setPosition(0);
        cur.insertText(c_.Edit31->text());
    }
    pane->setTextCursor(cur);
}

void SubInput::clearPane(QTextEdit* pane) {
    QTextCharFormat f;
    f.setFontPointSize(pane->font().pointSizeF());
    pane->mergeCurrentCharFormat(f);
    QTextCursor cur(pane->document());
    cur.select(QTextCursor::Document);
    const QString cut = wireText(cur.selectedText());
    aids_.sentenceEnded();
    if (cut.isEmpty())
        return;
    // One edit step, so the pane's own undo (Ctrl+Z) brings it all back.
    cur.beginEditBlock();
    cur.removeSelectedText();
    cur.endEditBlock();
    pane->setTextCursor(cur);
    clipboard_.setText(cut);
}

void SubInput::keyDown(QTextEdit* pane, QKeyEvent* e, bool* handled) {
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    aids_.keyDown();
    switch (e->key()) {
    case Qt::Key_Escape:
        clearPane(pane);
        *handled = true;
        break;
    case Qt::Key_F9:
        if (hooks_.undo)
            hooks_.undo(shift, pane);
        *handled = true;
        break;
    case Qt::Key_F11:
        if ((hooks_.f11 && hooks_.f11(shift)) || aids_.functionKey(pane, e->key(), shift))
            *handled = true;
        break;
    default:
        if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F12 &&
            aids_.functionKey(pane, e->key(), shift))
            *handled = true;
        break;
    }
}

void SubInput::CheckBox37Click() {
    TForm14& w = *c_.form;
    if (w.CheckBox37->isChecked()) {
        c_.displayRecord->setLineWrapMode(QPlainTextEdit::NoWrap);
    } else {
        c_.displayRecord->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        w.CheckBox45->setChecked(false);
        if (hooks_.rubyOff)
            hooks_.rubyOff();
    }
    if (hooks_.redraw)
        hooks_.redraw();
}

void SubInput::CheckBox45Click() {
    TForm14& w = *c_.form;
    if (!w.CheckBox45->isChecked()) {
        if (hooks_.rubyOff)
            hooks_.rubyOff();
        return;
    }
    // Markers and the split would both cut the lines: the split wins.
    if (c_.CheckBox50->isChecked()) {
        c_.CheckBox50->setChecked(false);
        showIfEnabled(messages_, c_.CheckBox19, kMarkersOff);
    }
    // A split line must never wrap again at the screen's edge.
    if (!w.CheckBox37->isChecked()) {
        w.CheckBox37->setChecked(true);
        showIfEnabled(messages_, c_.CheckBox19, kNoWrapOn);
    }
}

} // namespace quorel
