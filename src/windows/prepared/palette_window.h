#pragma once
// The confirm and correct palette: six one-sentence panes where a corrector
// checks the typists' sentences before they reach the screen. And its
// monitor, which shows what the corrector types in each pane.

#include "windows/station_window.h"

#include <QTextEdit>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace quorel {

// A pane: plain text only. Typing, pasting and the input method stop at the
// byte limit; a queued sentence may be longer and is never cut.
class PalettePane : public QTextEdit {
    Q_OBJECT
public:
    static constexpr int kTypingLimit = 254; // code page 932 bytes, a line break counting 2
    explicit PalettePane(QWidget* parent = nullptr);
    int bytes() const;

    // Called for every key down before the editor; true takes the key.
    std::function<bool(QKeyEvent*)> keyDown;

signals:
    void keyReleased(int key);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    QString fitting(const QString& text) const;
};

class TFkakunin : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Confirm _Correct Pallete(ctrl+s)");
    static constexpr int kPanes = 6;
    explicit TFkakunin(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Confirm _Correct"
    QWidget* TabSheet2; // "Setting _Explanation"
    PalettePane *RichEdit1, *RichEdit2, *RichEdit3, *RichEdit4, *RichEdit5, *RichEdit6;
    std::array<PalettePane*, kPanes> panes;
    QLabel* LabelWaiting; // how many sentences wait for a free pane
    QLabel *Label1, *Label2;
    QPushButton *Button1, *Button2, *Button3; // font, background, save
    QTextEdit* RichEdit7;                     // the explanation
    QCheckBox* CheckBox30;                    // the palette link (no visible control)

    // Panes across the page: each the page's width, stacked 2 px apart.
    void layoutPanes();

signals:
    void shown();
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
};

class TFshusei_moni : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Confirm _Correct Monitor");
    explicit TFshusei_moni(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QTextEdit* RichEdit1;           // the six monitor lines
    QPushButton *Button1, *Button2; // font, background
};

} // namespace quorel
