#pragma once
// Typing as a typist does: ASCII through key events, Japanese as the input
// method delivers it (a committed composition).

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

namespace quorel::test {

inline void type(QWidget* w, const QString& text) {
    QString ascii;
    auto flushAscii = [&] {
        if (!ascii.isEmpty())
            QTest::keyClicks(w, ascii);
        ascii.clear();
    };
    QString composed;
    auto flushComposed = [&] {
        if (composed.isEmpty())
            return;
        QInputMethodEvent ev;
        ev.setCommitString(composed);
        QApplication::sendEvent(w, &ev);
        composed.clear();
    };
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            flushComposed();
            ascii += c;
        } else {
            flushAscii();
            composed += c;
        }
    }
    flushAscii();
    flushComposed();
}

} // namespace quorel::test
