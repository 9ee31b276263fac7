#include "caption/reading_source.h"

#include "text/kana.h"

#include <QEvent>
#include <QInputMethodEvent>

#include <algorithm>

namespace quorel {

ReadingSource::ReadingSource(QObject* parent) : QObject(parent) {}

void ReadingSource::watch(QObject* editor) {
    if (!editor || compositions_.contains(editor))
        return;
    compositions_.insert(editor, {});
    editor->installEventFilter(this);
    connect(editor, &QObject::destroyed, this,
            [this](QObject* gone) { compositions_.remove(gone); });
}

void ReadingSource::unwatch(QObject* editor) {
    if (!editor || !compositions_.contains(editor))
        return;
    editor->removeEventFilter(this);
    disconnect(editor, nullptr, this, nullptr);
    compositions_.remove(editor);
}

bool ReadingSource::composing() const {
    return std::any_of(compositions_.cbegin(), compositions_.cend(),
                       [](const Composition& c) { return c.open; });
}

void ReadingSource::end(QObject* editor, Composition& c) {
    const bool wasOpen = c.open;
    c = {};
    if (wasOpen)
        emit compositionEnded(editor);
}

bool ReadingSource::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::InputMethod)
        return false;
    const auto it = compositions_.find(watched);
    if (it == compositions_.end())
        return false;
    const auto* e = static_cast<const QInputMethodEvent*>(event);
    const QString preedit = e->preeditString();

    // Listeners may watch or unwatch editors, so the entry is looked up
    // again after every signal.
    if (!e->commitString().isEmpty()) {
        const QString reading = text::toHalfWidthKatakana(it->kana);
        emit readingConfirmed(watched, reading);
        if (const auto c = compositions_.find(watched); c != compositions_.end())
            end(watched, *c);
    } else if (preedit.isEmpty()) {
        // Cancelled (or an event that only moves the cursor while idle).
        end(watched, *it);
        return false;
    }
    if (preedit.isEmpty())
        return false;

    // The same event may commit one text and open the next composition.
    auto c = compositions_.find(watched);
    if (c == compositions_.end())
        return false;
    if (!c->open) {
        c->open = true;
        emit compositionStarted(watched);
        c = compositions_.find(watched);
        if (c == compositions_.end())
            return false;
    }
    if (preedit != c->preedit) {
        c->preedit = preedit;
        if (text::isKanaOnly(preedit))
            c->kana = preedit;
        emit compositionChanged(watched, preedit);
    }
    return false;
}

} // namespace quorel
