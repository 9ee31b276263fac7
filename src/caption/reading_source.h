#pragma once
// The reading of a conversion. A Windows input method reports the reading it
// converted into kanji; Linux input methods (IBus, Fcitx through Qt) report
// only the composition text and the committed result. So the reading is
// taken from the composition itself: the last composition text that was
// still all kana, before it turned into kanji, is the reading of the text
// that is committed.
//
// Install one ReadingSource on every editor that takes Japanese input. It
// never consumes an event; it only reports, and it reports a confirmed
// reading before the editor inserts the committed text, so a listener can
// remember where that text goes.

#include <QHash>
#include <QObject>
#include <QString>

namespace quorel {

class ReadingSource : public QObject {
    Q_OBJECT
public:
    explicit ReadingSource(QObject* parent = nullptr);

    // Starts or stops watching the input method events of an editor
    // (QTextEdit, QPlainTextEdit, QLineEdit or any widget taking them).
    void watch(QObject* editor);
    void unwatch(QObject* editor);

    // Whether a composition is open in any watched editor.
    bool composing() const;

signals:
    // The first composition text of a composition appeared.
    void compositionStarted(QObject* editor);
    // The composition text changed (it is never empty here).
    void compositionChanged(QObject* editor, const QString& preedit);
    // The composition ended: committed, or cancelled (its text emptied).
    void compositionEnded(QObject* editor);
    // Text was committed. `reading` is the kana typed for it as half-width
    // katakana (ｶﾝｼﾞ for 漢字), empty when no composition in kana preceded
    // it (typing with the input method off). Emitted before the text enters
    // the editor and before compositionEnded.
    void readingConfirmed(QObject* editor, const QString& reading);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Composition {
        bool open = false;
        QString preedit;
        QString kana; // the last preedit that was all kana
    };
    void end(QObject* editor, Composition& c);

    QHash<QObject*, Composition> compositions_;
};

} // namespace quorel
