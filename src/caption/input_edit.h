#pragma once
#include <QTextEdit>

namespace quorel {

// The input part's editor: plain text, Enter sends, Ctrl+Enter breaks the line.
class InputEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit InputEdit(QWidget* parent = nullptr);

signals:
    // Every key, before the editor sees it; set *handled to swallow the key.
    void keyDown(QKeyEvent* event, bool* handled);
    // Enter (without Ctrl): the sentence is to be sent.
    void enterPressed();
    void keyUp(QKeyEvent* event);
    // The input method put text in: reported like a key release, since the
    // keys an input method consumes never reach the editor.
    void committed();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
};

} // namespace quorel
