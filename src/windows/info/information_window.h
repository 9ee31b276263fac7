#pragma once
// The information window: a telop, one line of text that scrolls from right to
// left through a strip of the screen for the audience. In setting mode the
// window shows its two pages ("Send", "Setting") inside a normal border; in
// display mode the border and the pages are gone and the whole window is the
// telop picture.

#include "windows/station_window.h"

#include <QColor>
#include <QFont>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace quorel {

// The telop picture: the background colour with the text drawn at (x, 5) in
// the telop font. It is painted on demand from these few values, so it is
// always exactly as large as the window, and text from the network is only
// ever drawn as plain characters.
class TelopPicture : public QWidget {
    Q_OBJECT
public:
    explicit TelopPicture(QWidget* parent = nullptr);

    void setLook(const QFont& font, const QColor& text, const QColor& background);
    // Only the background.
    void fill();
    // The background and the text with its left edge at x.
    void drawText(const QString& text, int x);

    bool textShown() const { return textShown_; }
    const QString& text() const { return text_; }
    int textX() const { return x_; }
    const QColor& background() const { return background_; }
    const QColor& textColour() const { return textColour_; }
    const QFont& font() const { return font_; }

signals:
    // The pointer moved over the picture with the left button held.
    void dragged(QPoint at);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QFont font_;
    QColor textColour_{Qt::black};
    QColor background_{Qt::white};
    QString text_;
    int x_ = 0;
    bool textShown_ = false;
};

// A line edit that hands F1 to whoever listens (the key catcher of the
// telop, which has the focus while a telop runs).
class TelopKeyCatcher : public QWidget {
    Q_OBJECT
public:
    explicit TelopKeyCatcher(QWidget* parent = nullptr);
signals:
    void f1();

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

class TForm15 : public StationWindow {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Send"
    QWidget* TabSheet2; // "Setting"

    // "Send".
    QLineEdit* Edit1;      // the telop text, at most 1000 bytes
    QPushButton* Button5;  // "Send"
    QPushButton* Button6;  // "Stop Sending"
    QCheckBox* CheckBox12; // do not receive telops
    QCheckBox* CheckBox13; // of a received telop take only the text, display and stop
    QPushButton* Button1;  // "Display": try it here
    QPushButton* Button2;  // "Stop Display"
    QPushButton* Button7;  // "Add to  Pre-roll"

    // "Setting".
    QCheckBox* CheckBox4;                             // across the top of the main window
    QCheckBox* CheckBox14;                            // across the bottom of the main window
    QCheckBox* CheckBox3;                             // height follows the font
    QLineEdit *Edit5, *Edit6, *Edit7, *Edit8, *Edit9; // height, width, top, left, increment
    QSpinBox *UpDown4, *UpDown5, *UpDown6, *UpDown7, *UpDown8;
    QCheckBox* CheckBox6;             // continuous sending to the partner
    QCheckBox* CheckBox11;            // stop at the left end
    QCheckBox* CheckBox7;             // the basic settings go with the telop
    QLineEdit *Edit2, *Edit3, *Edit4; // interval (ms), distance (dots), passes
    QSpinBox *UpDown1, *UpDown2, *UpDown3;
    QCheckBox* CheckBox1;  // repeat
    QPushButton* Button3;  // "Font"
    QPushButton* Button4;  // "Background Color"
    QCheckBox* CheckBox2;  // stays in front
    QCheckBox* CheckBox5;  // hide at the end
    QCheckBox* CheckBox8;  // back to the Setting page at the end
    QCheckBox* CheckBox10; // and the height back to 200
    QCheckBox* CheckBox9;  // back to the saved place at the end

    TelopPicture* Image2;
    TelopKeyCatcher* Edit77;
    QTimer* Timer1; // the ticker

    bool displayMode() const { return displayMode_; }
    // Pages and border on or off; the place is the caller's business.
    void setDisplayMode(bool on);
    // The picture and the pages take the window's size (also while it is
    // hidden, when no resize event comes yet).
    void fitChildren();
    // Keeps the window in front of the others, or not.
    void setStaysOnTop(bool on);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void reflag(Qt::WindowType flag, bool on);
    void buildSendPage();
    void buildSettingPage();
    bool displayMode_ = false;
};

} // namespace quorel
