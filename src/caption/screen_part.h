#pragma once
// The screen part: the display record shown on the smooth screen (lines glide
// in from below a few pixels per tick) or, for corrections, on the
// word-processor screen. Owns the scroll parameters and the screen buttons.

#include "wire/display_record.h"

#include <QColor>
#include <QObject>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QTimer;
class QWidget;

namespace quorel {

class Clipboard;
class Messages;
class SmoothPicture;
struct StationState;

class ScreenPart : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QWidget* Panel6;           // the screen part
        SmoothPicture* Image1;     // smooth screen in the screen part
        SmoothPicture* Image2;     // smooth screen over the whole window (frameless)
        QPlainTextEdit* RichEdit2; // word-processor screen
        QTimer* Timer1;
        QLineEdit* Edit8;      // display lines
        QLineEdit* Edit9;      // distance per step
        QLineEdit* Edit10;     // steps per line (shown)
        QLineEdit* Edit11;     // interval, ms
        QLineEdit* Edit12;     // line spacing
        QLineEdit* Edit43;     // acceleration threshold
        QLineEdit* Edit44;     // acceleration factor
        QCheckBox* CheckBox5;  // automatic acceleration
        QCheckBox* CheckBox8;  // line feed only by null line
        QCheckBox* CheckBox50; // position markers
        QCheckBox* CheckBox67; // automatic line adjustment
        QCheckBox* CheckBox24; // copy received sentences
        QCheckBox* CheckBox37; // record size in the page tab
        QCheckBox* CheckBox85; // correction mode
        QCheckBox* CheckBox19; // messages enabled
        QPushButton* Button9;  // line spacing from number of lines
        QPushButton* Button12; // "ワ" / "止" / "動"
        QPushButton* Button13; // "RE"
        QPushButton* Button14; // "Snd"
        QTabWidget* PageControl1;
        QWidget* TabSheet1;
        QTextEdit* RichEdit1;          // the input part (coloured in correction mode)
        const QColor* inputBackground; // the input colour chosen by the user
    };

    ScreenPart(const Controls& c, DisplayRecord& record, StationState& state, Clipboard& clipboard,
               Messages& messages, QObject* parent = nullptr);

    DisplayRecord& record() { return record_; }

    // Appends a sentence: own sentences come from this station's input, others
    // were received (and may be copied to the clipboard).
    void appendSentence(const QString& s, bool own);
    // Column-split append (the sub input window's split option).
    void appendColumnSplit(const QString& s, int columns);
    // The column count every sentence is cut into lines of; 0 when off.
    // Empty until the sub input window exists.
    std::function<int()> columnSplit;
    // True while ruby sending or the column split is on: position markers
    // are then refused.
    std::function<bool()> markersRefused;
    static inline const QString kMarkersRefused = QStringLiteral(
        "「補助Ｗ」ページの「ルビ送信」のチェック、\nまたは、「サブ入力ウィンド」の「ルビ送信」"
        "ページの「桁数」のチェックが入っています。\n「表示位置の表示」と同時に使えません。");

    void staticRedraw(SmoothPicture* picture);
    void redrawBoth();
    void autoLineAdjust();
    void startTimerIfIdle();
    // Target count := shown index := line count, step 0.
    void resetToEnd();
    // The screen's font and colours: the record control's and both pictures'.
    void setDisplayFont(const QFont& font, const QColor& color);
    void setDisplayBackground(const QColor& color);
    // Undo may take back a received sentence only when it may.
    bool lastAppendWasOwn() const { return lastAppendWasOwn_; }
    void setLastAppendWasOwn(bool own) { lastAppendWasOwn_ = own; }
    // Cls: every line the screen draws lies beyond the end.
    void blankScreen(int shownIndex);
    // Jumps to the end of the record without scrolling (both pictures when
    // frameless).
    void showEnd();
    bool correctionMode() const;
    // Enter in the input part ends correction mode.
    void endCorrectionModeByEnter();

    // Handlers of the owned controls.
    void Timer1Timer();
    void Edit8Change();
    void Edit9Change();
    void Edit11Change();
    void Edit12Change();
    void Edit43Change();
    void Edit44Change();
    void CheckBox8Click();
    void CheckBox50Click();
    void CheckBox67Click();
    void CheckBox37Click();
    void Button9Click();
    void Button12Click();
    void Button13Click();
    void Panel6Resize();

    // A scroll distance that takes effect at once, also in a running scroll
    // (a partner's request); the distance the user set becomes it too.
    void setImmediateDistance(int distance);

    // The screen kind of settings files: 0 the smooth screen, otherwise the
    // word-processor screen (1 with the "Snd" button).
    int screenKind() const;
    void setScreenKind(int kind);

    // Frameless mode draws on Image2 (set by the window layout).
    void setFrameless(bool on) { frameless_ = on; }
    bool frameless() const { return frameless_; }
    // The picture the smooth screen draws on now (Image2 when frameless).
    SmoothPicture* shownPicture() const { return activePicture(); }
    bool wordProcessorMode() const { return wordProcessor_; }

    // Smooth-screen state, read by tests and benchmarks.
    struct State {
        int displayLines = 6, userDisplayLines = 6, lineSpacing = 60, distance = 2;
        int stepsPerLine = 30, interval = 30, step = 0, shownIndex = 0, targetCount = 0;
        int accelThreshold = 5, accelFactor = 2, baseDistance = 2;
        bool accelerating = false;
        int latchedSteps = 30, latchedSpacing = 60, latchedDistance = 2;
    };
    const State& state() const { return s_; }

signals:
    // Word-processor mode or the margins changed: the window lays out again.
    void layoutChanged();

private:
    void recordChanged(const DisplayRecord::Change& c);
    void latch();
    void draw(SmoothPicture* picture);
    SmoothPicture* activePicture() const;
    bool autoAdjustApplies() const;
    void setInputWarning(bool on);
    void leaveWordProcessor();
    DisplayRecord::AppendOptions appendOptions() const;
    // Word-processor screen <-> record.
    void loadEditor();
    void applyToEditor(const DisplayRecord::Change& c);
    void editorChanged(int pos, int removed, int added);

    Controls c_;
    DisplayRecord& record_;
    StationState& station_;
    Clipboard& clipboard_;
    Messages& messages_;
    State s_;
    bool frameless_ = false;
    bool wordProcessor_ = false;
    bool editorUpdating_ = false; // the record is being copied into the editor
    bool fromEditor_ = false;     // the record is being changed by the editor
    bool lastAppendWasOwn_ = false;
    QString tabCaption_;
};

} // namespace quorel
