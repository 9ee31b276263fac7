#pragma once
// The sub input window: two more input panes, one above the other, so that a
// typist can prepare two sentences at once or type away from the main window.
// A memo page, and a page of display options for the column split.

#include "caption/input_edit.h"
#include "windows/station_window.h"

#include <array>

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QSplitter;
class QTabWidget;

namespace quorel {

// A pane: the input part's editor, but typing, pasting and the input method
// stop at the byte limit. Text the station puts in (an undone sentence) is
// never cut.
class SubPane : public InputEdit {
    Q_OBJECT
public:
    static constexpr int kLimit = 254; // code page 932 bytes, a line break counting 2
    explicit SubPane(QWidget* parent = nullptr);
    int bytes() const;
    // A paste or drop: what fits goes in.
    void insertFromMimeData(const QMimeData* source) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    // The part of `text` that still fits in place of the selection.
    QString fitting(const QString& text) const;
};

class TForm14 : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Sub Input Window(ctrl+i)");
    static inline const QString kHint =
        QStringLiteral("Specify the Font by “Monitor Part and Input Part” of \"Display 1\"page. \n"
                       "Enter:Move to Screen\n"
                       "Ctrl+Enter:Line Feed in Input Part\n"
                       "ESC:Clear\n"
                       "Ctrl+Z:Cancel Clearance\n");
    static inline const QString kMemo =
        QStringLiteral("The page for the memorandum.\n"
                       "Copy a text here and paste it into an input pane.\n"
                       "Ctrl+C copies, Ctrl+V pastes.\n"
                       "Ctrl+Tab moves to the next page.\n"
                       "Tab moves to the next control.\n"
                       "Nothing on this page is sent.");

    explicit TForm14(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3; // "Input", "Memo", and the options page
    QSplitter* Splitter1;                       // pane 1, the strip, pane 2
    SubPane* RichEdit1;                         // pane 1
    QWidget* Panel1;                            // the strip
    QSplitter* Splitter2;                       // Panel2 | Panel3 in the strip
    QWidget *Panel2, *Panel3;
    SubPane* RichEdit2;    // pane 2
    QTextEdit* RichEdit3;  // the memo
    QCheckBox* CheckBox37; // no wrap at the display's right edge
    QCheckBox* CheckBox45; // cut every sentence into lines of Edit20 columns
    QLineEdit* Edit20;     // column count (half-width)
    QSpinBox* UpDown14;
    std::array<SubPane*, 2> panes;

    // Sizes the settings file keeps. Held here, since a hidden window's
    // splitters have no sizes yet; the user's dragging updates them.
    int paneHeight(int index) const { return paneHeights_[std::size_t(index)]; }
    void setPaneHeight(int index, int height);
    int stripWidth(int index) const { return stripWidths_[std::size_t(index)]; }
    void setStripWidth(int index, int width);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void applySizes();
    std::array<int, 2> paneHeights_{63, 63};
    std::array<int, 2> stripWidths_{200, 200};
};

} // namespace quorel
