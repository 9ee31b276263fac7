#pragma once
// The chat window: short notes between the typists of a group that never reach
// the caption screen.

#include "windows/station_window.h"

#include <QPlainTextEdit>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTimer;

namespace quorel {

// The chat's input box: Enter sends (no line break), and it holds at most
// kLimit characters however they come (typing, paste, the input method).
class ChatInput : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kLimit = 254;
    explicit ChatInput(QWidget* parent = nullptr);
signals:
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void keepLimit();
};

class TForm6 : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Chat Window (ctrl+r)");
    explicit TForm6(QWidget* parent = nullptr);

    QSplitter* splitter;       // the option strip, the log and the input box
    QScrollArea* Panel3;       // the option strip
    QPlainTextEdit* RichEdit2; // the log
    QWidget* Panel1;           // holds the input box
    ChatInput* RichEdit1;      // the input box
    QLineEdit* Edit1;          // sender name
    QCheckBox* CheckBox1;      // "Send to all Members"
    QPushButton *Button1, *Button2, *Button3, *Button4;
    QCheckBox* CheckBox2; // periodic note
    QLineEdit* Edit2;     // its period in minutes
    QLineEdit *Edit3, *Edit4;
    QCheckBox *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7;
    QLabel* Label3;
    QTimer* Timer1; // ends the warning colour
    QTimer* Timer2; // ticks the periodic note

    // Heights of the option strip and of the input box's panel.
    int stripHeight() const;
    void setStripHeight(int h);
    int inputHeight() const;
    void setInputHeight(int h);

signals:
    void closing();
    void activated();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
};

} // namespace quorel
