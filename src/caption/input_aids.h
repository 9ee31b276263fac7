#pragma once
// The input aids: the function keys (F-key memo texts, the F7 correction
// phrase, F8 brackets, F12 with blank lines), the time and length limits of a
// sentence with their warnings and automatic sends, the automatic send at
// punctuation, the per-minute character count and the input method's
// conversion colours.
//
// Every aid takes the editor it acts on, so that other input panes reuse them
// as they are. Sentences leave through the input part's "Send a sentence".

#include <QColor>
#include <QObject>
#include <QString>
#include <array>
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

class Choosers;
class Clipboard;
class Clock;
class DisplayRecord;
class InputEdit;
class InputPart;
class Messages;
class TForm5;

class InputAids : public QObject {
    Q_OBJECT
public:
    static constexpr int kCorrectionBytes = 253; // of the word-processor selection
    static constexpr int kStatisticsMinutes = 10;
    static inline const QString kStatisticsHeader =
        QStringLiteral("時分秒,１分字数,１分最大,十分平均,平均最大");
    // Any of these in what the typist wrote sends it.
    static inline const QString kPunctuation = QStringLiteral("。、？?.,");
    static inline const QColor kWarningRed{255, 0, 0};    // 255
    static inline const QColor kSpeedYellow{255, 255, 0}; // 65535

    struct Controls {
        TForm5* memo;
        InputEdit* RichEdit1;           // the input part
        QPlainTextEdit* RichEdit2;      // the word-processor screen (F7's selection)
        QLineEdit* Edit31;              // speaker name
        QCheckBox* CheckBox13;          // F12: a blank line after the sentence too
        QCheckBox* CheckBox52;          // F7 is the correction key
        QLineEdit *Edit94, *Edit95;     // around the F7 selection
        QCheckBox* CheckBox43;          // F8 brackets the sentence
        QLineEdit *Edit78, *Edit79;     // F8 brackets
        QLineEdit *Edit5, *Edit7;       // Shift+F8 brackets
        QCheckBox* CheckBox47;          // F11 is Del/Cls (the memo row shows it)
        QCheckBox* CheckBox53;          // send only the text before the caret
        QLineEdit* Edit16;              // time limit in seconds
        QCheckBox* CheckBox15;          // time limit: red
        QCheckBox* CheckBox23;          // time limit: send
        QLineEdit* Edit21;              // length limit in bytes
        QCheckBox* CheckBox51;          // length limit: red
        QCheckBox* CheckBox54;          // length limit: send
        QCheckBox* CheckBox61;          // send at punctuation
        QCheckBox* CheckBox44;          // characters per minute
        QCheckBox* CheckBox45;          // ... noted on the explanation page
        QCheckBox* CheckBox62;          // ... yellow above Edit24
        QLineEdit* Edit24;              // characters per minute that warn
        QPushButton* Button27;          // conversion text colour
        QPushButton* Button34;          // conversion background colour
        QPushButton* Button52;          // shows the F-key memo
        QTimer* Timer3;                 // time limit
        QTimer* Timer7;                 // per-minute statistics
        std::array<QWidget*, 3> panels; // Panel1, Panel22, Panel23: the warning panels
        QTabWidget* PageControl1;
        std::array<QWidget*, 4> statisticsPages; // "Auxiliary", "Partner", "Display 1", "Display 2"
        QTextEdit* RichEdit3;                    // the explanation page
        QWidget* mainWindow;
        const QColor* inputBackground; // the input colour the user chose
    };

    // Parts of other windows. Each stays empty until its window exists.
    struct Hooks {
        // Reading insertion: while on, F1 inserts the reading instead of the memo text.
        std::function<bool()> readingInsertionOn;
        std::function<void(QTextEdit*)> insertReading;
        std::function<void()> resetReading;
        // The sub input window: the pane that has the focus (or null), all its
        // input panes, and its warning panels.
        std::function<QTextEdit*()> focusedSubPane;
        std::function<QList<QTextEdit*>()> subPanes;
        std::function<QList<QWidget*>()> subPanels;
    };

    InputAids(const Controls& c, InputPart& input, DisplayRecord& record, Clipboard& clipboard,
              Choosers& choosers, const Clock& clock, Messages& messages,
              QObject* parent = nullptr);

    Hooks& hooks() { return hooks_; }

    // The function keys in `editor`; true when the key was taken.
    bool functionKey(QTextEdit* editor, int key, bool shift);
    // F1 ... F8 and F11 as memo keys: the row's text at the caret, or in
    // place of everything when the row's replace box is ticked.
    void memoKey(QTextEdit* editor, int row);
    // F7 as the correction key: editor := Edit94 + selection + Edit95.
    void correctionKey(QTextEdit* editor);
    // F8 with CheckBox43: the sentence in brackets (Shift: Edit5/Edit7).
    void bracketKey(QTextEdit* editor, bool shift);
    // F12: a blank line, the sentence, and with CheckBox13 another blank line.
    void blankLinesKey(QTextEdit* editor);

    // A change of `editor` that a typist made: time limit, length limit,
    // punctuation send.
    void inputChanged(QTextEdit* editor);
    // Any key in an input pane: the time limit starts if it is idle.
    void keyDown();
    // A sentence was sent or the input cleared: the time limit ends.
    void sentenceEnded();

    void Timer3Timer();
    void Timer7Timer();
    // After every periodic log check: the record was cut, counting starts
    // from its new size.
    void rebaseStatistics();

    void Button27Click();
    void Button34Click();
    void Button52Click();
    void setConversionColours(const QColor& text, const QColor& background);
    QColor conversionText() const;
    QColor conversionBackground() const;

    // The statistics: the last ten minutes (newest first), the maximum of a
    // minute and the maximum of the ten-minute averages.
    const std::array<int, kStatisticsMinutes>& perMinute() const { return ring_; }
    int maxPerMinute() const { return max_; }
    int maxAverage() const { return maxAverage_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool timeLimitInUse() const;
    void paintPanels(bool red);
    void paintInputs(bool yellow);
    // Sends `sentence` out of `editor`; the editor is emptied only when the
    // sentence was taken. Returns what Send a sentence returned.
    int sendFrom(QTextEdit* editor, const QString& sentence);
    // The Enter action of `editor`.
    int sendInputOf(QTextEdit* editor);
    // What the typist wrote beyond the speaker name put back after a send.
    QString ownText(const QString& text) const;
    void replaceText(QTextEdit* editor, const QString& text);
    int halfRecordLength() const;
    void CheckBox44Click();
    void CheckBox45Click();
    void CheckBox62Click();
    QList<QTextEdit*> conversionEditors() const;

    Controls c_;
    InputPart& input_;
    DisplayRecord& record_;
    Clipboard& clipboard_;
    Choosers& choosers_;
    const Clock& clock_;
    Messages& messages_;
    Hooks hooks_;
    bool autoSending_ = false;
    bool recolouring_ = false;

    // A number box that holds something else keeps working with the last
    // number it held, instead of an error at every key.
    struct NumberBox {
        QLineEdit* edit;
        int lastGood;
        int value();
    };
    NumberBox timeLimit_, lengthLimit_, speedLimit_;

    std::array<int, kStatisticsMinutes> ring_{};
    int base_ = 0;
    int max_ = 0;
    int maxAverage_ = 0;
};

// The first `maxBytes` bytes of `text` (code page 932), never ending inside a
// double-byte character.
QString leadingBytes(const QString& text, int maxBytes);

} // namespace quorel
