#pragma once
#include <QColor>
#include <QInputMethodEvent>
#include <QTextEdit>

namespace quorel {

// The input method marks the clause it is converting with a highlight (a
// background); other clauses and plain composition are only underlined. Gives
// the highlighted clauses the station's conversion colours. Returns whether
// any attribute changed.
bool recolourConversion(QList<QInputMethodEvent::Attribute>& attributes, const QColor& text,
                        const QColor& background);

// The input part's editor: plain text, Enter sends, Ctrl+Enter breaks the line.
class InputEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit InputEdit(QWidget* parent = nullptr);

    // The colours of the clause the input method is converting.
    QColor conversionText() const { return conversionText_; }
    QColor conversionBackground() const { return conversionBackground_; }
    void setConversionColours(const QColor& text, const QColor& background) {
        conversionText_ = text;
        conversionBackground_ = background;
    }

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

private:
    QColor conversionText_ = Qt::blue;
    QColor conversionBackground_ = Qt::white;
};

} // namespace quorel
