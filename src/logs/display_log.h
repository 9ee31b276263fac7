#pragma once
// The display record as text logs: saved on request, cleared periodically so
// that a whole day of captions never slows the screen down (saved first when
// the typist asks for it), saved at exit; and the explanation page saved on
// request.
//
// Automatic logs go into the program folder, named after the moment they are
// written. A log is never overwritten: a name already taken (an exit in the
// same second as a periodic save) gets a suffix. Every log is written whole or
// not at all, and a record whose save failed is kept, never cleared.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QTimer;

namespace quorel {

class Choosers;
class Clock;
class DisplayRecord;
class Messages;
class ScreenPart;
struct StationState;

class DisplayLog : public QObject {
    Q_OBJECT
public:
    static inline const QString kFilter =
        QStringLiteral("テキスト(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    static inline const QString kNothingSaved = QStringLiteral("保存なし");
    static inline const QString kExitLine = QStringLiteral("---Ｑｕｏｒｅｌ終了時自動保存---");
    static inline const QString kContinued = QStringLiteral("継続保存");
    static inline const QString kExplanationName = QStringLiteral("説明ページ保存.txt");
    static inline const QString kChatTail = QStringLiteral("連絡文.txt");
    static inline const QString kSizeWarning =
        QStringLiteral("ログが多量になると表示が乱れたり、ハングする事があります。\n"
                       "最大でも６４Ｋバイト程度にしておく事をお勧めします。\n"
                       "Windows95,98,Meでは特に注意してください。");
    // Shown at the end of the start when the periodic checks are off.
    static inline const QString kChecksOffWarning =
        QStringLiteral("「起動時設定」で「保存」ページの「定期的な消去と自動保存」が\n"
                       "無効（０分の指定）になっています。\n"
                       "このままでは、表示文の記録が多量になってＱｕｏｒｅｌの動作が\n"
                       "おかしくなる可能性があります。\n"
                       "「１０分」程度の数字を指定することを強く推奨します。\n\n"
                       "＜具体的な不具合の事例＞\n"
                       "１）表示に◆■が残るなど、表示がおかしくなる。\n"
                       "２）入力するとエラーメッセージが出る。\n"
                       "３）動作が遅くなる。\n\n"
                       "＜このまま使う場合のアドバイス＞ \n"
                       "１）初心者の方へ \n"
                       "初心者だけの練習会では問題が出なくても、実際の情報保障は、\n"
                       "入力速度の速い上級者と長時間入力するなど、動作がおかしくなる\n"
                       "可能性があります。\n"
                       "パソコンがおかしくなったら、まずこの指定を疑ってください。\n\n"
                       "２）上級者の方へ\n"
                       "自分のパソコンでは問題ないことを確認して、あえて「無効」を指定して\n"
                       "いると思いますが、失敗の許されない現場では、念のため、休憩時間に\n"
                       "Ｑｕｏｒｅｌを終了し、再起動するなど予防処置を取ることを勧めます。");

    static constexpr int kStartIntervalMs = 600000;
    // Longer intervals are a day: the timer's milliseconds stay in range.
    static constexpr int kMaxMinutes = 24 * 60;
    static constexpr int kKeptLines = 10;
    static constexpr int kEmptyLines = 20;
    // A record no longer than a fresh one plus a line is not worth a log.
    static constexpr int kExitMinimumLines = 22;

    struct Controls {
        QPushButton* Button7;  // "保存": the record with a dialog
        QLabel* Label5;        // the file last saved with Button7
        QCheckBox* CheckBox39; // save at each periodic clearing and at exit
        QLineEdit* Edit92;     // minutes between checks
        QLineEdit* Edit91;     // line threshold
        QLineEdit* Edit4;      // size threshold in KByte (1000 bytes)
        QTimer* Timer5;        // the periodic check
        QPushButton* Button11; // "保存" on the Readme page
        QTextEdit* RichEdit3;  // the explanation page
        QCheckBox* CheckBox19; // messages enabled
    };
    // What the logs need of parts built elsewhere. An empty hook does nothing.
    struct Hooks {
        // The chat record's lines when the chat asks to be saved at exit;
        // nothing otherwise.
        std::function<QStringList()> chatRecordAtExit;
        // After every periodic check: the per-minute statistics take the
        // record's size as their new base.
        std::function<void()> afterCheck;
    };

    DisplayLog(const Controls& c, DisplayRecord& record, ScreenPart& screen,
               const StationState& state, const Clock& clock, Messages& messages,
               Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    void SaveDisplayLogWithDialog(); // Button7
    void PeriodicLogCheck();         // Timer5
    void SaveLogsAtExit();           // the main window closes
    void SaveExplanationPage();      // Button11

    void Edit92Change();
    void Edit91Change();
    void Edit4Change();

    // True when Edit92 holds a number that stops the periodic checks.
    bool checksOff() const;

    // "2009_10_30-12_34_56": the date and time of an automatic log's name.
    static QString automaticStem(const QDateTime& t);
    // The program folder's first free name `stem` + `tail`, then `stem`_2 +
    // `tail`, `stem`_3 + `tail` ...
    QString freeName(const QString& stem, const QString& tail) const;

private:
    // Writes lines as a log; on failure shows why and returns false.
    bool write(const QString& path, const QStringList& lines);

    Controls c_;
    DisplayRecord& record_;
    ScreenPart& screen_;
    const StationState& state_;
    const Clock& clock_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
    bool exitSaved_ = false;
};

} // namespace quorel
