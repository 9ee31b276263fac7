#include "caption/reading_insertion.h"

#include "base/services.h"
#include "caption/caption_windows.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "text/cp932.h"
#include "text/kana.h"
#include "wire/display_record.h"
#include "wire/ruby.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QRadioButton>
#include <QTextEdit>

#include <algorithm>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcCaption)

ReadingInsertion::ReadingInsertion(const Controls& c, DisplayRecord& record, StationState& state,
                                   LinkEncryption& encryption, const LumoLink& lumo,
                                   Messages& messages, QObject* parent)
    : QObject(parent), c_(c), record_(record), state_(state), encryption_(encryption), lumo_(lumo),
      messages_(messages) {
    auto on = [this](QCheckBox* box, void (ReadingInsertion::*handler)()) {
        connect(box, &QCheckBox::toggled, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(c_.CheckBox58, &ReadingInsertion::CheckBox58Click);
    on(c_.CheckBox59, &ReadingInsertion::CheckBox59Click);
    on(c_.CheckBox46, &ReadingInsertion::CheckBox46Click);
    c_.NMUDP1->OnDataReceived = [this](TNMUDP* s, int n, const QString& f, int p) {
        NMUDP1DataReceived(s, n, f, p);
    };
    optionsChanged();
}

bool ReadingInsertion::on() const {
    return c_.CheckBox58->isChecked() || c_.CheckBox59->isChecked();
}

// ---- targets -----------------------------------------------------------------------

void ReadingInsertion::addTarget(QTextEdit* editor) {
    targets_.push_back({editor});
    editor->installEventFilter(this);
    editor->viewport()->installEventFilter(this);
    connect(editor, &QTextEdit::textChanged, this, [this, editor] {
        if (Target* t = target(editor); t != nullptr && on())
            t->current = editor->textCursor().position();
    });
    connect(editor, &QObject::destroyed, this, [this, editor] {
        std::erase_if(targets_, [editor](const Target& t) { return t.editor == editor; });
    });
}

ReadingInsertion::Target* ReadingInsertion::target(const QObject* watched) {
    for (Target& t : targets_)
        if (t.editor == watched || t.editor->viewport() == watched)
            return &t;
    return nullptr;
}

const ReadingInsertion::Target* ReadingInsertion::target(const QObject* watched) const {
    return const_cast<ReadingInsertion*>(this)->target(watched);
}

int ReadingInsertion::previousPosition(const QTextEdit* editor) const {
    const Target* t = target(editor);
    return t != nullptr ? t->previous : 0;
}

int ReadingInsertion::currentPosition(const QTextEdit* editor) const {
    const Target* t = target(editor);
    return t != nullptr ? t->current : 0;
}

bool ReadingInsertion::eventFilter(QObject* watched, QEvent* event) {
    Target* t = target(watched);
    if (t == nullptr)
        return false;
    QTextEdit* e = t->editor;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(event);
        const int key = k->key();
        const bool enter = (key == Qt::Key_Return || key == Qt::Key_Enter) &&
                           !(k->modifiers() & Qt::ControlModifier);
        if (enter || key == Qt::Key_Escape || key == Qt::Key_F12)
            reset(e, key == Qt::Key_F12);
        break;
    }
    case QEvent::KeyRelease: {
        if (!on())
            break;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Henkan)
            composing_ = true;
        else if (!composing_ && (key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left ||
                                 key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down))
            t->current = e->textCursor().position();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (on())
            t->current = e->textCursor().position();
        break;
    default:
        break;
    }
    return false;
}

// ---- the input method --------------------------------------------------------------

void ReadingInsertion::compositionStarted() {
    if (on())
        composing_ = true;
}

void ReadingInsertion::compositionEnded() {
    if (on())
        composing_ = false;
}

void ReadingInsertion::conversion(const QString& reading) {
    // Text committed without a composition in kana (the input method off)
    // has no reading and leaves the last one alone.
    if (!on() || reading.isEmpty())
        return;
    reading_ = text::leftBytes(reading, kReadingBytes);
    // Each confirmed conversion arrives once, so even the same reading twice
    // in a row is a new word whose start must be remembered.
    for (Target& t : targets_) {
        t.previous = t.current;
        t.current = t.editor->textCursor().position();
    }
}

QString ReadingInsertion::formed(const QString& reading) const {
    if (c_.RadioButton3->isChecked())
        return text::katakanaToHiragana(text::toFullWidthKatakana(reading));
    if (c_.RadioButton2->isChecked())
        return text::toFullWidthKatakana(reading);
    return reading;
}

void ReadingInsertion::insert(QTextEdit* editor) {
    Target* t = target(editor);
    if (t == nullptr || reading_.isEmpty())
        return;
    composing_ = false;
    const QString x = formed(reading_);
    // An open composition ends here, so its text cannot land inside the marks.
    if (QInputMethod* im = QGuiApplication::inputMethod())
        im->commit();

    QTextCursor cur = editor->textCursor();
    const int length = static_cast<int>(editor->document()->characterCount()) - 1;
    if (c_.CheckBox58->isChecked()) {
        cur.insertText(c_.Edit22->text() + x + c_.Edit23->text());
    } else {
        const int s = cur.position();
        const int start = std::clamp(t->previous, 0, length);
        const QString mark = QLatin1String(RubyOpen) + x + QLatin1String(RubyClose);
        cur.setPosition(start);
        cur.insertText(mark);
        // Back behind the word: the mark went in before it.
        cur.setPosition(start <= s ? s + static_cast<int>(mark.size()) : s);
    }
    editor->setTextCursor(cur);
    reading_.clear();
    t->previous = t->current;
    t->current = cur.position();
}

void ReadingInsertion::reset(QTextEdit* editor, bool f12) {
    reading_.clear();
    if (Target* t = target(editor)) {
        t->current = 0;
        t->previous = 0;
    }
    if (f12)
        composing_ = false;
}

// ---- options -----------------------------------------------------------------------

void ReadingInsertion::optionsChanged() {
    if (c_.memo != nullptr)
        c_.memo->showOtherUse(TForm5::F1, on());
}

void ReadingInsertion::CheckBox58Click() {
    if (c_.CheckBox58->isChecked()) {
        c_.CheckBox59->setChecked(false);
        if (state_.settingsReady)
            showIfEnabled(messages_, c_.CheckBox19, kBracketHelp);
    }
    optionsChanged();
}

void ReadingInsertion::CheckBox59Click() {
    if (c_.CheckBox59->isChecked()) {
        c_.CheckBox58->setChecked(false);
        if (state_.settingsReady)
            showIfEnabled(messages_, c_.CheckBox19, kRubyHelp);
    }
    optionsChanged();
}

void ReadingInsertion::CheckBox46Click() {
    if (!c_.CheckBox46->isChecked()) {
        if (hooks_.setSubOptions)
            hooks_.setSubOptions(false);
        return;
    }
    // A marker would be read as part of the words the readings belong to.
    if (c_.CheckBox50->isChecked()) {
        c_.CheckBox50->setChecked(false);
        showIfEnabled(messages_, c_.CheckBox19, kMarkersOff);
    }
    if (hooks_.subOptionsOn && !hooks_.subOptionsOn() && hooks_.setSubOptions) {
        hooks_.setSubOptions(true);
        if (state_.settingsReady)
            showIfEnabled(messages_, c_.CheckBox19, kSubOptionsOn);
    }
}

// ---- ruby messages -----------------------------------------------------------------

void ReadingInsertion::NMUDP1DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP,
                                          int) {
    if (!c_.CheckBox46->isChecked() || NumberBytes >= kBound)
        return;
    const auto raw = Sender->receiveText(NumberBytes, kBound);
    if (!raw || lumo_.dropsFrom(FromIP))
        return;
    const QByteArray plain = encryption_.Unscramble(*raw);
    lumo_.SendLumoCopy(*Sender, plain, kBasePort);
    const auto message = parseRubyMessage(plain);
    if (!message)
        return;
    const int lines = hooks_.screenLines ? hooks_.screenLines() : 0;
    qCDebug(lcCaption) << "ruby from" << FromIP << text::decode(message->base)
                       << text::decode(message->reading);
    if (!applyRuby(record_, message->base, message->reading, lines))
        return;
    if (hooks_.rubyApplied)
        hooks_.rubyApplied();
    if (lcCaption().isDebugEnabled()) {
        QStringList tail;
        for (int i = std::max(0, record_.lineCount() - lines); i < record_.lineCount(); ++i)
            tail << record_.line(i);
        qCDebug(lcCaption) << "ruby applied:" << tail;
    }
}

} // namespace quorel
