#pragma once
// The pre-roll template window: three panes of prepared text that the
// operator corrects and feeds to the screen line by line. And the pre-roll
// monitor window, which shows the lines around someone's pre-roll caret.

#include "windows/station_window.h"

#include <QPlainTextEdit>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QSplitter;
class QTabWidget;

namespace quorel {

// A pane: plain text, no wrap, both scroll bars. Typing, pasting and the input
// method stop at the byte limit; a loaded text may be larger, and then
// editing may keep it at that size.
class PrerollPane : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kTypingLimit = 655360; // code page 932 bytes, a line break counting 2
    explicit PrerollPane(QWidget* parent = nullptr);

    // A text put in by a load: the limit grows to hold it.
    void allowSize(int bytes) { limit_ = std::max(limit_, bytes); }
    int limit() const { return limit_; }
    int bytes() const;

signals:
    // F1, F9, F11 and F12 go to the window's behaviour instead of the editor.
    void functionKey(int key, bool shift);
    void keyReleased(int key);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    // How many of `text`'s characters still fit (replacing the selection).
    QString fitting(const QString& text) const;
    int limit_ = kTypingLimit;
};

class TForm11 : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Pre-roll Template (Ctrl+n)");
    explicit TForm11(QWidget* parent = nullptr);

    QSplitter* splitter; // the top control area over the panes
    QWidget* Panel3;     // the top control area
    QSplitter* topSplitter;
    QWidget* Panel1; // its left part: what is shown, import, save, clear
    QTabWidget* PageControl1;
    QSplitter* paneSplitter;
    QWidget *Panel10, *Panel12, *Panel18;
    PrerollPane *RichEdit1, *RichEdit2, *RichEdit3;
    std::array<PrerollPane*, 3> panes;
    std::array<QWidget*, 3> holders;

    QLabel *Label1, *Label2;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4, *RadioButton5;
    QCheckBox* CheckBox1;                        // "Add"
    QPushButton *Button36, *Button48, *Button49; // import 1, 2, 3
    QPushButton *Button1, *Button4, *Button5;    // save 1, 2, 3
    QPushButton *Button6, *Button7, *Button8;    // clear 1, 2, 3

    // "Telop".
    QCheckBox *CheckBox6, *CheckBox7, *CheckBox8; // pane 1, 2, 3 go to the telop
    QCheckBox *CheckBox4, *CheckBox5, *CheckBox13, *CheckBox23;
    QPushButton* Button9; // "Clear display"
    // "Send2".
    QLineEdit* Edit3;
    QSpinBox* UpDown2;
    // "Link ".
    QCheckBox *CheckBox9, *CheckBox11, *CheckBox10, *CheckBox19, *CheckBox20;
    QRadioButton *RadioButton9, *RadioButton10, *RadioButton11;
    QRadioButton *RadioButton12, *RadioButton13, *RadioButton14;
    // "Other1".
    QPushButton *Button2, *Button3; // font, background of the three panes
    // "Other2".
    QCheckBox *CheckBox3, *CheckBox2, *CheckBox22;
    QLineEdit* Edit1;

    // Which panes the radio buttons show: 1, 2, 3, 12 or 123.
    int shownPanes() const;
    bool paneShown(int pane) const; // pane 0 ... 2
    // Lays the shown panes out across the pane area.
    void layoutPanes();

    int topHeight() const;
    void setTopHeight(int h);
    int leftWidth() const;
    void setLeftWidth(int w);

signals:
    void shownOrActivated();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void applyTopHeight(int h);
    void applyLeftWidth(int w);
    // Set while the window is hidden: nested splitters learn their sizes
    // only once shown, so the values are applied again then.
    int pendingTop_ = -1;
    int pendingLeft_ = -1;
};

// The pre-roll template monitor: an upper section (lines before the caret
// line) over a lower section (the caret line and those after it).
class TForm3 : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Pre-roll Template Monitor");
    explicit TForm3(QWidget* parent = nullptr);

    QSplitter* splitter;
    QWidget* Panel1;
    QWidget* Panel2;
    QPlainTextEdit* RichEdit2; // upper section
    QPlainTextEdit* RichEdit1; // lower section
    QPushButton *Button1, *Button2;
    QCheckBox* CheckBox1; // "Line wrap at right end."

    int stripHeight() const;
    void setStripHeight(int h);
    int upperHeight() const;
    void setUpperHeight(int h);

signals:
    void shown();

protected:
    void showEvent(QShowEvent* e) override;
};

} // namespace quorel
