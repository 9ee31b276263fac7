#include "caption/input_aids.h"

#include "base/services.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "text/cp932.h"
#include "wire/display_record.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <numeric>

namespace quorel {

QString leadingBytes(const QString& text, int maxBytes) {
    // indexOfByteOffset maps a byte inside a double-byte character to that
    // character, which then falls outside the cut.
    if (text::byteLength(text) <= maxBytes)
        return text;
    return text.left(text::indexOfByteOffset(text, std::max(0, maxBytes)));
}

int InputAids::NumberBox::value() {
    bool ok = false;
    const int v = edit->text().trimmed().toInt(&ok);
    if (ok)
        lastGood = v;
    return lastGood;
}

InputAids::InputAids(const Controls& c, InputPart& input, DisplayRecord& record,
                     Clipboard& clipboard, Choosers& choosers, const Clock& clock,
                     Messages& messages, QObject* parent)
    : QObject(parent), c_(c), input_(input), record_(record), clipboard_(clipboard),
      choosers_(choosers), clock_(clock), messages_(messages), timeLimit_{c.Edit16, 15},
      lengthLimit_{c.Edit21, 40}, speedLimit_{c.Edit24, 100} {
    for (NumberBox* box : {&timeLimit_, &lengthLimit_, &speedLimit_}) {
        box->value();
        connect(box->edit, &QLineEdit::textChanged, this, [box] { box->value(); });
    }
    auto handle = [this](auto* sender, auto signal, void (InputAids::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    c_.Timer3->setSingleShot(true);
    handle(c_.Timer3, &QTimer::timeout, &InputAids::Timer3Timer);
    handle(c_.Timer7, &QTimer::timeout, &InputAids::Timer7Timer);
    handle(c_.Button27, &QPushButton::clicked, &InputAids::Button27Click);
    handle(c_.Button34, &QPushButton::clicked, &InputAids::Button34Click);
    handle(c_.Button52, &QPushButton::clicked, &InputAids::Button52Click);
    handle(c_.CheckBox44, &QCheckBox::toggled, &InputAids::CheckBox44Click);
    handle(c_.CheckBox45, &QCheckBox::toggled, &InputAids::CheckBox45Click);
    handle(c_.CheckBox62, &QCheckBox::toggled, &InputAids::CheckBox62Click);

    connect(c_.CheckBox15, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            return;
        if (!c_.CheckBox23->isChecked())
            c_.Timer3->stop();
        paintPanels(false);
    });
    connect(c_.CheckBox23, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && !c_.CheckBox15->isChecked())
            c_.Timer3->stop();
    });
    connect(c_.CheckBox51, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            paintPanels(false);
    });

    // A key that has another use shows that use on the memo instead of its row.
    TForm5& memo = *c_.memo;
    auto row = [&memo](QCheckBox* box, TForm5::Row r) {
        connect(box, &QCheckBox::toggled, &memo, [&memo, r](bool on) { memo.showOtherUse(r, on); });
        memo.showOtherUse(r, box->isChecked());
    };
    row(c_.CheckBox52, TForm5::F7);
    row(c_.CheckBox43, TForm5::F8);
    row(c_.CheckBox47, TForm5::F11);

    // F7 in the word-processor screen, and its conversion colours.
    c_.RichEdit2->installEventFilter(this);
    setConversionColours(c_.RichEdit1->conversionText(), c_.RichEdit1->conversionBackground());
}

// ---- function keys -----------------------------------------------------------------

bool InputAids::functionKey(QTextEdit* editor, int key, bool shift) {
    switch (key) {
    case Qt::Key_F1:
        if (hooks_.readingInsertionOn && hooks_.readingInsertionOn()) {
            if (hooks_.insertReading)
                hooks_.insertReading(editor);
            return true;
        }
        memoKey(editor, TForm5::F1);
        return true;
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_F6:
        memoKey(editor, key - Qt::Key_F1);
        return true;
    case Qt::Key_F7:
        if (c_.CheckBox52->isChecked())
            correctionKey(editor);
        else
            memoKey(editor, TForm5::F7);
        return true;
    case Qt::Key_F8:
        if (c_.CheckBox43->isChecked())
            bracketKey(editor, shift);
        else
            memoKey(editor, TForm5::F8);
        return true;
    case Qt::Key_F11:
        // Reached only while F11 is not Del/Cls.
        memoKey(editor, TForm5::F11);
        return true;
    case Qt::Key_F12:
        blankLinesKey(editor);
        return true;
    default:
        return false;
    }
}

void InputAids::replaceText(QTextEdit* editor, const QString& text) {
    // One edit step: the editor's own undo brings the old text back, and the
    // change is reported once, never half done.
    QTextCursor cur(editor->document());
    cur.beginEditBlock();
    cur.select(QTextCursor::Document);
    cur.insertText(text);
    cur.endEditBlock();
    editor->setTextCursor(cur);
}

void InputAids::memoKey(QTextEdit* editor, int row) {
    const auto k = static_cast<std::size_t>(row);
    const QString text = c_.memo->texts[k]->text();
    if (c_.memo->replaces[k]->isChecked()) {
        replaceText(editor, text);
        return;
    }
    QTextCursor cur = editor->textCursor();
    cur.insertText(text);
    editor->setTextCursor(cur);
}

void InputAids::correctionKey(QTextEdit* editor) {
    QString selection = c_.RichEdit2->textCursor().selectedText();
    for (QChar c : {QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator), QChar(u'\r'),
                    QChar(u'\n')})
        selection.remove(c);
    selection = leadingBytes(selection, kCorrectionBytes);
    replaceText(editor, c_.Edit94->text() + selection + c_.Edit95->text());
}

void InputAids::bracketKey(QTextEdit* editor, bool shift) {
    const QString open = shift ? c_.Edit5->text() : c_.Edit78->text();
    const QString close = shift ? c_.Edit7->text() : c_.Edit79->text();
    const QString name = c_.Edit31->text();
    QStringList lines = editor->toPlainText().split(QLatin1Char('\n'));
    QString& first = lines.first();
    if (!name.isEmpty() && first.startsWith(name))
        first = name + open + first.mid(name.size());
    else
        first = open + first;
    lines.last() += close;
    replaceText(editor, lines.join(QLatin1Char('\n')));
}

void InputAids::blankLinesKey(QTextEdit* editor) {
    if (hooks_.readingInsertionOn && hooks_.readingInsertionOn() && hooks_.resetReading)
        hooks_.resetReading();
    const QString whole = editor->toPlainText();
    const int caret = editor->textCursor().position();
    const bool beforeCaret = c_.CheckBox53->isChecked();
    const QString sentence = beforeCaret ? whole.left(caret) : whole;
    // The texts this key puts into the editor are its own to send.
    const QScopedValueRollback<bool> own(autoSending_, true);

    // The sentence is checked before anything is sent: a refused one stays
    // where it was, with no blank line in front of nothing.
    if (text::byteLength(wireText(sentence)) > InputPart::kSentenceLimit) {
        input_.sendSentence(wireText(sentence)); // says why
        return;
    }
    replaceText(editor, QString());
    sendFrom(editor, QString());
    replaceText(editor, sentence);
    sendFrom(editor, wireText(sentence));
    if (c_.CheckBox13->isChecked())
        sendFrom(editor, QString());
    if (beforeCaret) {
        replaceText(editor, whole.mid(caret));
        QTextCursor cur = editor->textCursor();
        cur.setPosition(0);
        editor->setTextCursor(cur);
    }
    if (editor->document()->firstBlock().text().isEmpty() && !c_.Edit31->text().isEmpty()) {
        QTextCursor cur(editor->document());
        cur.insertText(c_.Edit31->text());
        if (!beforeCaret)
            editor->setTextCursor(cur);
    }
}

// ---- sending -------------------------------------------------------------------------

int InputAids::sendFrom(QTextEdit* editor, const QString& sentence) {
    const QTextCursor before = editor->textCursor();
    QTextCursor all(editor->document());
    all.select(QTextCursor::Document);
    // Send a sentence removes the selection when only the text before the
    // caret is sent: here the whole input goes.
    editor->setTextCursor(all);
    // A pane's sentence never takes the typist's text out of the input part.
    const int r =
        input_.sendSentence(sentence, editor == c_.RichEdit1 ? InputPart::Source::InputPart
                                                             : InputPart::Source::Elsewhere);
    if (r != 0) {
        editor->setTextCursor(before);
        return r;
    }
    if (editor != c_.RichEdit1)
        editor->clear(); // Send a sentence empties only the input part
    return r;
}

int InputAids::sendInputOf(QTextEdit* editor) {
    if (editor == c_.RichEdit1)
        return input_.sendInputPart();
    return sendFrom(editor, wireText(editor->toPlainText()));
}

QString InputAids::ownText(const QString& text) const {
    const QString name = c_.Edit31->text();
    if (!name.isEmpty() && text.startsWith(name))
        return text.mid(name.size());
    return text;
}

// ---- time and length limits, punctuation ---------------------------------------------

bool InputAids::timeLimitInUse() const {
    return c_.CheckBox15->isChecked() || c_.CheckBox23->isChecked();
}

void InputAids::keyDown() {
    if (timeLimitInUse() && !c_.Timer3->isActive())
        c_.Timer3->start(std::clamp(timeLimit_.value(), 1, 100) * 1000);
}

void InputAids::sentenceEnded() {
    if (!timeLimitInUse())
        return;
    c_.Timer3->stop();
    paintPanels(false);
}

void InputAids::paintPanels(bool red) {
    QList<QWidget*> panels(c_.panels.begin(), c_.panels.end());
    if (hooks_.subPanels)
        panels += hooks_.subPanels();
    for (QWidget* w : panels) {
        if (red) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, kWarningRed);
            w->setPalette(pal);
            w->setAutoFillBackground(true);
        } else {
            // The face colour is whatever the window's pages have.
            w->setPalette(QPalette());
            w->setAutoFillBackground(false);
        }
    }
}

void InputAids::Timer3Timer() {
    c_.Timer3->stop(); // fires once
    paintPanels(true);
    if (!c_.CheckBox23->isChecked())
        return;
    QTextEdit* editor = c_.RichEdit1->hasFocus() ? c_.RichEdit1 : nullptr;
    if (editor == nullptr && hooks_.focusedSubPane)
        editor = hooks_.focusedSubPane();
    if (editor == nullptr) {
        input_.sendSentence(QString());
        return;
    }
    const QString text = wireText(editor->toPlainText());
    const QScopedValueRollback<bool> own(autoSending_, true);
    // Cut: on the clipboard at once, out of the editor once the sentence was taken.
    clipboard_.setText(text);
    sendFrom(editor, text);
}

void InputAids::inputChanged(QTextEdit* editor) {
    keyDown();
    const QString text = wireText(editor->toPlainText());
    const int bytes = text::byteLength(text);
    const int limit = lengthLimit_.value();
    // Below 1 nothing can be a limit: even an empty input would reach it.
    const bool reached = limit >= 1 && bytes >= limit;
    if (c_.CheckBox51->isChecked())
        paintPanels(reached);
    if (autoSending_ || input_.autoSendSuppressed())
        return;
    const QString own = ownText(text);
    if (own.isEmpty())
        return;
    if (c_.CheckBox54->isChecked() && reached) {
        const QScopedValueRollback<bool> guard(autoSending_, true);
        sendFrom(editor, text);
        return;
    }
    // Only the input part sends at punctuation: a pane is for preparing a
    // sentence at leisure.
    if (editor == c_.RichEdit1 && c_.CheckBox61->isChecked() &&
        std::any_of(kPunctuation.begin(), kPunctuation.end(),
                    [&own](QChar p) { return own.contains(p); })) {
        const QScopedValueRollback<bool> guard(autoSending_, true);
        sendInputOf(editor);
    }
}

// ---- per-minute statistics -----------------------------------------------------------

int InputAids::halfRecordLength() const {
    return static_cast<int>(record_.textLength() / 2);
}

void InputAids::paintInputs(bool yellow) {
    QList<QTextEdit*> editors{c_.RichEdit1};
    if (hooks_.subPanes)
        editors += hooks_.subPanes();
    for (QTextEdit* e : editors) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, yellow ? kSpeedYellow : *c_.inputBackground);
        e->setPalette(pal);
    }
}

void InputAids::CheckBox44Click() {
    if (c_.CheckBox44->isChecked()) {
        ring_.fill(0);
        base_ = halfRecordLength();
        max_ = 0;
        maxAverage_ = 0;
        c_.Timer7->start(60000);
        return;
    }
    c_.Timer7->stop();
    static const QString captions[] = {QStringLiteral("補助Ｗ"), QStringLiteral("ﾊﾟｰﾄﾅｰ"),
                                       QStringLiteral("表示１"), QStringLiteral("Display 2")};
    for (std::size_t i = 0; i < c_.statisticsPages.size(); ++i)
        c_.PageControl1->setTabText(c_.PageControl1->indexOf(c_.statisticsPages[i]), captions[i]);
    c_.CheckBox45->setChecked(false);
    c_.CheckBox62->setChecked(false);
}

void InputAids::CheckBox45Click() {
    if (c_.CheckBox45->isChecked())
        appendExplanationLine(c_.RichEdit3, kStatisticsHeader);
}

void InputAids::CheckBox62Click() {
    if (c_.CheckBox62->isChecked())
        c_.CheckBox44->setChecked(true);
    // Unticked too: a yellow left from the last minute would stay all day.
    paintInputs(false);
}

void InputAids::Timer7Timer() {
    std::rotate(ring_.rbegin(), ring_.rbegin() + 1, ring_.rend());
    // Undo, Del and corrections shrink the record: a minute of them counts 0.
    const int now = std::max(0, halfRecordLength() - base_);
    ring_[0] = now;
    if (c_.CheckBox62->isChecked())
        paintInputs(now > speedLimit_.value());
    max_ = std::max(max_, now);
    const int average = std::accumulate(ring_.begin(), ring_.end(), 0) / kStatisticsMinutes;
    maxAverage_ = std::max(maxAverage_, average);
    const QString values[] = {QString::number(now), QString::number(max_), QString::number(average),
                              QString::number(maxAverage_)};
    static const QString prefixes[] = {QStringLiteral("Now:"), QStringLiteral("Max:"),
                                       QStringLiteral("Ave:"), QStringLiteral("AvMx:")};
    for (std::size_t i = 0; i < c_.statisticsPages.size(); ++i)
        c_.PageControl1->setTabText(c_.PageControl1->indexOf(c_.statisticsPages[i]),
                                    prefixes[i] + values[i]);
    if (c_.CheckBox45->isChecked())
        appendExplanationLine(c_.RichEdit3, clock_.now().toString(QStringLiteral("H:mm:ss")) +
                                                QLatin1Char(',') + values[0] + QLatin1Char(',') +
                                                values[1] + QLatin1Char(',') + values[2] +
                                                QLatin1Char(',') + values[3]);
    base_ = halfRecordLength();
}

void InputAids::rebaseStatistics() {
    if (c_.CheckBox44->isChecked())
        base_ = halfRecordLength();
}

// ---- conversion colours, the memo window ---------------------------------------------

QList<QTextEdit*> InputAids::conversionEditors() const {
    QList<QTextEdit*> editors;
    if (hooks_.subPanes)
        editors = hooks_.subPanes();
    return editors;
}

QColor InputAids::conversionText() const {
    return c_.RichEdit1->conversionText();
}

QColor InputAids::conversionBackground() const {
    return c_.RichEdit1->conversionBackground();
}

void InputAids::setConversionColours(const QColor& text, const QColor& background) {
    // The word-processor screen reads them from the input part.
    c_.RichEdit1->setConversionColours(text, background);
    for (QTextEdit* e : conversionEditors())
        if (auto* input = qobject_cast<InputEdit*>(e))
            input->setConversionColours(text, background);
}

void InputAids::Button27Click() {
    if (const auto c = choosers_.color(conversionText()))
        setConversionColours(*c, conversionBackground());
}

void InputAids::Button34Click() {
    if (const auto c = choosers_.color(conversionBackground()))
        setConversionColours(conversionText(), *c);
}

void InputAids::Button52Click() {
    c_.memo->move(c_.mainWindow->x() + 25, c_.mainWindow->y() + 80);
    c_.memo->show();
    c_.memo->raise();
    c_.memo->activateWindow();
}

bool InputAids::eventFilter(QObject* watched, QEvent* event) {
    if (watched != c_.RichEdit2)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F7 &&
        c_.CheckBox52->isChecked()) {
        reportErrors(messages_, [&] {
            correctionKey(c_.RichEdit1);
            c_.RichEdit1->setFocus();
        });
        return true;
    }
    if (event->type() == QEvent::InputMethod && !recolouring_) {
        auto* e = static_cast<QInputMethodEvent*>(event);
        QList<QInputMethodEvent::Attribute> attributes = e->attributes();
        if (!recolourConversion(attributes, conversionText(), conversionBackground()))
            return false;
        QInputMethodEvent coloured(e->preeditString(), attributes);
        coloured.setCommitString(e->commitString(), e->replacementStart(), e->replacementLength());
        const QScopedValueRollback<bool> once(recolouring_, true);
        QCoreApplication::sendEvent(c_.RichEdit2, &coloured);
        return true;
    }
    return false;
}

} // namespace quorel
