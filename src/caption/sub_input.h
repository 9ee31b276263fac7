#pragma once
// The sub input window's behaviour: each pane works like the input part
// (Enter sends through "Send a sentence", the input aids act on it, undo puts
// a sentence back into it, the partner sees what it holds), and the column
// split cuts every sentence on the screen into lines of a fixed width.

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QWidget;

namespace quorel {

class Clipboard;
class InputAids;
class InputPart;
class Messages;
class SubPane;
class TForm14;

class SubInput : public QObject {
    Q_OBJECT
public:
    static inline const QString kMarkersOff =
        QStringLiteral("「表示１」ページの「入力文の表示位置の表示」のチェックを外しました。");
    static inline const QString kNoWrapOn =
        QStringLiteral("「「表示の右端で折り返さない。」のチェックを\nを入れる必要があるので、"
                       "チェックを入れました。");

    struct Controls {
        TForm14* form;
        QWidget* mainWindow;
        QCheckBox* CheckBox53;         // send only the text before the caret
        QLineEdit* Edit31;             // speaker name
        QCheckBox* CheckBox19;         // messages enabled
        QCheckBox* CheckBox50;         // markers on the screen
        QPlainTextEdit* displayRecord; // the word-processor screen
    };

    // Parts of the station this window borrows.
    struct Hooks {
        std::function<void(bool shift, QTextEdit* into)> undo; // F9
        std::function<bool(bool shift)> f11;                   // true when F11 is Del/Cls
        std::function<void(QTextEdit* pane, int key)> report;  // the monitor report
        std::function<void()> redraw;                          // the screen, after a wrap change
        // The main window's ruby switch, unticked with the column split.
        std::function<void()> rubyOff;
    };

    SubInput(const Controls& c, InputPart& input, InputAids& aids, Clipboard& clipboard,
             Messages& messages, QObject* parent = nullptr);

    Hooks& hooks() { return hooks_; }

    // The main window's "Sub Input W": places and shows the window.
    void Button10Click();
    // The pane with the keyboard, or null.
    QTextEdit* focusedPane() const;
    QList<QTextEdit*> panes() const;
    QList<QWidget*> panels() const;
    // The column count of the split, 0 while it is off.
    int columns() const;

    // Enter in a pane; returns what Send a sentence returned.
    int sendPane(QTextEdit* pane);
    // Esc in a pane: cut everything, so that Ctrl+Z brings it back.
    void clearPane(QTextEdit* pane);
    void keyDown(QTextEdit* pane, QKeyEvent* e, bool* handled);

    void CheckBox37Click();
    void CheckBox45Click();

private:
    // After a send: the sent part leaves the pane, the speaker name returns.
    void emptyAfterSend(QTextEdit* pane, bool beforeCaret);

    Controls c_;
    InputPart& input_;
    InputAids& aids_;
    Clipboard& clipboard_;
    Messages& messages_;
    Hooks hooks_;
    // Set while a send empties a pane: that change is the send's, never a typist's.
    bool sending_ = false;
};

} // namespace quorel
