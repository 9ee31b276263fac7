#pragma once
// The commands of the "Save" page that move the whole configuration between
// the windows and settings files: save as, load, make the start-up settings,
// restore the defaults; and the start-up file's two reads at every start.

#include "settings/settings_registry.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorel {

class Choosers;
class Messages;
struct StationState;

class SettingsCommands : public QObject {
    Q_OBJECT
public:
    static inline const QString kStartupName = QStringLiteral("自動読込表示設定.dp9");
    static inline const QString kProposedName = QStringLiteral("表示全般設定.dp9");
    static inline const QString kFilter =
        QStringLiteral("表示全体設定(*.dp9)|*.dp9|全てのファイル(*.*)|*.*");
    static inline const QString kNothingLoaded = QStringLiteral("読み込み無し");
    static inline const QString kDefaultsRestored = QStringLiteral("初期値に戻した");
    static inline const QString kNameChanged = QStringLiteral(
        "このパソコンの「名前」が変わりました。\n新しい名前を他のパソコンに表示するために\n"
        "「パートナー」ページで次の操作をしてください。\n\n１）「お休み」ボタンを押す\n"
        "２）「メンバーを捜す」ボタンを押す。");
    static inline const QString kColonWarning = QStringLiteral(
        "次の設定は「:」を含んでいます。\n"
        "設定ファイルでは「:」が区切りなので、読み込むと「:」から後ろが消えます。\n\n%1");

    struct Controls {
        QPushButton* Button21; // "保存"
        QPushButton* Button20; // "読込"
        QPushButton* Button66; // "起動時設定にする"
        QPushButton* Button67; // "初期値に戻す"
        QLabel* Label67;       // the file last saved or loaded
        QCheckBox* CheckBox19; // messages enabled
    };
    // What the commands need of the rest of the station.
    struct Hooks {
        std::function<int()> channelIndex;
        std::function<int()> groupNumber;
        std::function<QString()> stationName;
        std::function<void(const QString&)> setStationName;
        // After a load: the record control takes the screen's size and both
        // pictures are drawn again.
        std::function<void()> afterLoad;
        // The parts of "restore defaults" that are not settings keys: the
        // correction mode, the two-person layout, splitter and page colours,
        // channel and group, the values no file carries.
        std::function<void()> beforeDefaults;
        std::function<void()> afterDefaults;
    };

    SettingsCommands(const Controls& c, settings::SettingsRegistry& registry, StationState& state,
                     Messages& messages, Choosers& choosers, QObject* parent = nullptr);
    Hooks& hooks() { return hooks_; }

    // The in-memory list every command clears, fills and uses.
    QStringList SettingsLines;

    // The start-up settings file to read: the user's, else one beside the
    // executable of an installed station.
    QString StartupSettingsFile() const;

    void SaveSettingsAs();      // Button21
    void LoadSettingsFrom();    // Button20
    void SaveStartupSettings(); // Button66
    void LoadStartupSettings(); // the start-up timer
    void ReadStartupHostName(); // creation of the main window, "Read in IP again"
    void RestoreDefaults();     // Button67

    // Loads a named file as "読込" does, without the dialog.
    void loadFile(const QString& path);
    // Saves as "保存" does, without the dialog; false when the write failed.
    bool saveFile(const QString& path);

private:
    void appendChannelAndGroup();
    void appendStationName();
    bool store(const QString& path);
    // Reads a file into SettingsLines; false (and the error shown when
    // `report`) when it cannot be read.
    bool read(const QString& path, bool report);
    void warnAboutColons(const QList<int>& keys);

    Controls c_;
    settings::SettingsRegistry& registry_;
    StationState& state_;
    Messages& messages_;
    Choosers& choosers_;
    Hooks hooks_;
    QList<int> withColon_;
};

} // namespace quorel
