#pragma once
// The karaoke remote: a track bar that follows the speaker through the line
// shown on the partner's display, which colours the characters up to that
// point; buttons that switch the partner's colouring on and off and choose
// its colour.

#include "windows/station_window.h"

#include <QSlider>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;

namespace quorel {

// The track bar takes the arrow keys for itself: they move the colouring by
// columns, not by the slider's own steps. Every key stays here unless Alt is
// held, so the window's other controls never see a stray arrow.
class KaraokeTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit KaraokeTrackBar(QWidget* parent = nullptr);

signals:
    void arrowKey(int key, bool shift);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

class TFmojikara : public StationWindow {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("カラオケ・送信リモコン(ctrl+k)");
    static constexpr int kWidth = 530;
    static constexpr int kHeight = 218;
    static constexpr int kPanelHeight = 90;

    explicit TFmojikara(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "リモコン"
    QWidget* TabSheet2; // "説明"
    QSplitter* Splitter1;
    QWidget* Panel1; // the control panel above the track bar
    KaraokeTrackBar* TrackBar1;

    QGroupBox* GroupBox1; // "移動桁／量(%)"
    QLineEdit* Edit2;     // "←/→": columns per arrow key
    QSpinBox* UpDown1;
    QLineEdit* Edit3; // "Shift +": columns per Shift+arrow key
    QSpinBox* UpDown2;
    QGroupBox* GroupBox2; // "桁数", hidden while the karaoke display is the target
    QLineEdit* Edit4;     // "最大": columns of a full line
    QSpinBox* UpDown4;
    QLineEdit* Edit5;      // "色変え桁": the column reached
    QGroupBox* GroupBox3;  // "色変わりを"
    QCheckBox* CheckBox59; // "文字ｶﾗに送信"
    QCheckBox* CheckBox1;  // "ｶﾗｵｹに送信"
    QGroupBox* GroupBox4;  // "変化色"
    QPushButton* Button3;  // "文字ｶﾗ" colour
    QPushButton* Button1;  // "ｶﾗｵｹ" colour
    QGroupBox* GroupBox5;  // "文字ｶﾗ"
    QPushButton* Button2;  // on
    QPushButton* Button4;  // off
    QGroupBox* GroupBox6;  // "ｶﾗｵｹ"
    QPushButton* Button5;  // on
    QPushButton* Button6;  // off
    QLabel *Label1, *Label2;

    QPlainTextEdit* RichEdit1; // "説明": how to use the remote
    QPushButton* Button7;      // "保存"

    int panelHeight() const;
    void setPanelHeight(int h);

signals:
    // The window came to the front: the operator goes on with the arrows.
    void activated();

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void applyPanelHeight(int h);
    // Set while the window is hidden: the splitter learns its size only once
    // shown, so the value is applied again then.
    int pendingPanel_ = -1;
};

} // namespace quorel
