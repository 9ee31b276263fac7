#include "caption/input_part.h"

#include "base/services.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "text/cp932.h"
#include "text/sanitise.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>

namespace quorel {

QString wireText(QString t) {
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

InputPart::InputPart(const Controls& c, ScreenPart& screen, Clipboard& clipboard,
                     Messages& messages, QObject* parent)
    : QObject(parent), c_(c), screen_(screen), clipboard_(clipboard), messages_(messages) {
    connect(c_.RichEdit1, &InputEdit::keyDown, this, [this](QKeyEvent* e, bool* handled) {
        reportErrors(messages_, [&] { RichEdit1KeyDown(e, handled); });
    });
    connect(c_.RichEdit1, &InputEdit::enterPressed, this,
            [this] { reportErrors(messages_, [&] { RichEdit1EnterPress(); }); });
    connect(c_.RichEdit1, &InputEdit::committed, this, [this] {
        reportErrors(messages_, [&] {
            QKeyEvent none(QEvent::KeyRelease, 0, Qt::NoModifier);
            RichEdit1KeyUp(&none);
        });
    });
    connect(c_.RichEdit1, &InputEdit::keyUp, this,
            [this](QKeyEvent* e) { reportErrors(messages_, [&] { RichEdit1KeyUp(e); }); });
    connect(c_.RichEdit1, &QTextEdit::textChanged, this, [this] {
        if (!sending_ && hooks_.changed)
            reportErrors(messages_, [&] { hooks_.changed(); });
    });
}

int InputPart::sendSentence(const QString& sentence, Source from) {
    if (text::byteLength(sentence) > kSentenceLimit) {
        showIfEnabled(messages_, c_.CheckBox19, kTooLong);
        return 1;
    }
    autoSendSuppressed_ = false;
    QString s = text::sanitise(sentence);

    if (c_.CheckBox21->isChecked())
        screen_.record().pushRecent(s);
    else
        screen_.appendSentence(s, true);

    if (hooks_.partnerNominated && hooks_.partnerNominated() && hooks_.blankPartnerMonitor)
        hooks_.blankPartnerMonitor();

    if (s.isEmpty())
        s = kLineFeedToken;
    if (c_.CheckBox41->isChecked() && s != kLineFeedToken)
        clipboard_.setText(s + QStringLiteral("\r\n"));

    if (c_.CheckBox22->isChecked()) {
        if (c_.CheckBox21->isChecked()) {
            if (hooks_.sendToPalette)
                hooks_.sendToPalette(s);
        } else if (hooks_.sendCaption) {
            hooks_.sendCaption(s);
        }
    }

    if (from == Source::InputPart) {
        const QScopedValueRollback<bool> own(sending_, true);
        emptyAfterSend();
    }
    if (hooks_.sent)
        hooks_.sent();
    return 0;
}

void InputPart::emptyAfterSend() {
    QTextCursor cur = c_.RichEdit1->textCursor();
    if (c_.CheckBox53->isChecked()) {
        cur.removeSelectedText();
    } else {
        cur.select(QTextCursor::Document);
        cur.removeSelectedText();
    }
    if (c_.RichEdit1->document()->firstBlock().text().isEmpty() && !c_.Edit31->text().isEmpty()) {
        cur.setPosition(0);
        cur.insertText(c_.Edit31->text());
    }
    c_.RichEdit1->setTextCursor(cur);
}

int InputPart::sendInputPart() {
    QTextCursor cur = c_.RichEdit1->textCursor();
    QString s;
    if (c_.CheckBox53->isChecked()) {
        const int caret = cur.position();
        cur.setPosition(0);
        cur.setPosition(caret, QTextCursor::KeepAnchor);
        c_.RichEdit1->setTextCursor(cur);
        s = wireText(cur.selectedText());
    } else {
        s = wireText(c_.RichEdit1->toPlainText());
    }
    return sendSentence(s);
}

void InputPart::resetTypingFont() {
    QTextCharFormat f;
    f.setFontPointSize(c_.RichEdit1->font().pointSizeF());
    c_.RichEdit1->mergeCurrentCharFormat(f);
}

void InputPart::clearInput() {
    resetTypingFont();
    QTextCursor cur(c_.RichEdit1->document());
    cur.select(QTextCursor::Document);
    const QString cut = wireText(cur.selectedText());
    if (cut.isEmpty())
        return;
    // One edit step, so the editor's own undo (Ctrl+Z) brings it all back.
    cur.beginEditBlock();
    cur.removeSelectedText();
    cur.endEditBlock();
    c_.RichEdit1->setTextCursor(cur);
    clipboard_.setText(cut);
}

void InputPart::RichEdit1KeyDown(QKeyEvent* e, bool* handled) {
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if (hooks_.keyDown)
        hooks_.keyDown();
    switch (e->key()) {
    case Qt::Key_Escape:
        clearInput();
        if (hooks_.cleared)
            hooks_.cleared();
        *handled = true;
        break;
    case Qt::Key_F9:
        if (hooks_.undo)
            hooks_.undo(shift);
        *handled = true;
        break;
    case Qt::Key_F11:
        if ((hooks_.f11 && hooks_.f11(shift)) ||
            (hooks_.functionKey && hooks_.functionKey(e->key(), shift)))
            *handled = true;
        break;
    default:
        if (e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F12 && hooks_.functionKey &&
            hooks_.functionKey(e->key(), shift))
            *handled = true;
        break;
    }
}

void InputPart::RichEdit1EnterPress() {
    resetTypingFont();
    screen_.startTimerIfIdle();
    screen_.endCorrectionModeByEnter();
    sendInputPart();
}

void InputPart::RichEdit1KeyUp(QKeyEvent* e) {
    if (hooks_.keyReleased)
        hooks_.keyReleased(e);
}

} // namespace quorel
