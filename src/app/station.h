#pragma once
// A Station is everything one captioning station has: its services, its display
// record, its windows in their fixed creation order and the components that give
// the windows their behaviour. No globals: a test process can hold several.

#include "app/splash.h"
#include "base/services.h"
#include "wire/display_record.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace quorel {

class CaptionLink;
class Chat;
class Palette;
class Preroll;
class SubInput;
class ReadingInsertion;
class AudienceView;
class PrerollMonitor;
class Corrections;
class Telop;
class SettingsCommands;
class RemoteSettings;
namespace settings {
class SettingsRegistry;
}
class Channels;
class MemberList;
class MonitorPart;
class Undo;
class ScreenModes;
class EightPersonMonitor;
class Partner;
class DatagramNetwork;
class DisplayLog;
class LineTimes;
class Transcripts;
class InputAids;
class InputPart;
class KaraokeRemote;
class LinkEncryption;
class LumoLink;
class OwnAddress;
class TNMUDP;
class Titles;
class ScreenPart;
class StationWindow;
class TFkakunin;
class TFmojikara;
class TFshusei_moni;
class TForm11;

class TForm14;
class TForm15;
class TForm2;
class TForm3;
class TForm5;
class TForm6;
class TForm8;
class TForm9;
class TMainConsole;

class Station : public QObject {
    Q_OBJECT
public:
    struct Environment {
        Messages* messages = nullptr;
        Clipboard* clipboard = nullptr;
        DatagramNetwork* network = nullptr;
        const Clock* clock = nullptr; // null: the system clock
        Choosers* choosers = nullptr; // null: the font and colour dialogs
        // The folder of settings files and logs; empty: the executable's
        // folder. Known from the start, so nothing is ever written into the
        // working directory.
        QString programDirectory;
        bool splash = true;
        // Every smooth-screen frame drawn and sent whole, as before the screen
        // tracked what changes: to compare a display that looks wrong.
        bool wholeFrames = false;
    };

    explicit Station(const Environment& env, QObject* parent = nullptr);
    ~Station() override;

    Messages& messages() { return messages_; }
    Clipboard& clipboard() { return *env_.clipboard; }
    StationState& state() { return state_; }
    DisplayRecord& record() { return record_; }

    TForm12* splash() const { return splash_.data(); }
    TMainConsole* main() const { return main_.get(); }
    TForm6* chat() const { return form6_.get(); }
    TForm11* preroll() const { return form11_.get(); }
    TForm15* information() const { return form15_.get(); }
    TForm2* eightPerson() const { return form2_.get(); }
    TForm5* fKeyMemo() const { return form5_.get(); }
    TForm8* wordProcessorStopMonitor() const { return form8_.get(); }
    TForm3* prerollMonitor() const { return form3_.get(); }
    TForm9* picture() const { return form9_.get(); }
    TForm14* subInput() const { return form14_.get(); }
    SubInput* subInputPart() const { return subInput_; }
    ReadingInsertion& readingInsertion() { return *reading_; }
    AudienceView& audience() { return *audience_; }
    TFkakunin* palette() const { return fkakunin_.get(); }
    TFmojikara* karaoke() const { return fmojikara_.get(); }
    TFshusei_moni* paletteMonitor() const { return fshusei_.get(); }
    // The windows in creation order, main window first (the splash excluded).
    QList<QWidget*> windows() const;

    ScreenPart& screen() { return *screen_; }
    InputPart& input() { return *input_; }
    InputAids& aids() { return *aids_; }
    Titles& titles() { return *titles_; }
    Channels& channels() { return *channels_; }
    OwnAddress& ownAddress() { return *ownAddress_; }
    LinkEncryption& encryption() { return *encryption_; }
    const LumoLink& lumo() const { return *lumo_; }
    MemberList& members() { return *members_; }
    Partner& partner() { return *partner_; }
    CaptionLink& captions() { return *captions_; }
    Corrections& corrections() { return *corrections_; }
    Chat& chatNotes() { return *chat_; }
    Telop& telop() { return *telop_; }
    Preroll& prerollTemplate() { return *preroll_; }
    PrerollMonitor& prerollLink() { return *prerollMonitor_; }
    Palette& paletteQueue() { return *palette_; }
    KaraokeRemote& karaokeRemote() { return *karaoke_; }
    MonitorPart& monitor() { return *monitor_; }
    Undo& undo() { return *undo_; }
    ScreenModes& modes() { return *modes_; }
    EightPersonMonitor& eightRows() { return *eight_; }
    settings::SettingsRegistry& settings() { return *settings_; }
    SettingsCommands& settingsCommands() { return *commands_; }
    RemoteSettings& remoteSettings() { return *remote_; }
    DisplayLog& logs() { return *logs_; }
    const LineTimes& lineTimes() const { return *lineTimes_; }
    Transcripts& transcripts() { return *transcripts_; }
    const Clock& clock() const { return env_.clock ? *env_.clock : systemClock_; }
    DatagramNetwork& network() { return *env_.network; }

    // The endpoint `name` of the window with objectName `window`.
    TNMUDP* endpoint(const QString& window, const QString& name) const;
    // Every endpoint of the port plan, in the plan's order.
    QList<TNMUDP*> endpoints() const;

    // A message caused by something that arrived from the network: a notice
    // that never takes the keyboard, and on a borderless display only a line
    // on the explanation page.
    void networkNotice(const QString& text);

    // The start-up timer's tick (five seconds after start).
    void Timer2Timer();

    // Hotkey actions.
    void hotkeyMain();
    void hotkeyFKeyMemo();
    void hotkeyChat();
    void hotkeyPreroll();
    void hotkeyEightPerson();
    void hotkeySubInput();
    void createSubInput();
    void createReadingInsertion();
    void createAudienceView();
    void hotkeyInformation();
    void hotkeyPalette();
    void hotkeyKaraoke();

signals:
    // The main window was closed and the close steps ran: the program ends.
    void finished();

private:
    void createMainWindow();
    void createEndpoints(QWidget* window);
    void createNetworkParts();
    void createGroupParts();
    void createTelop();
    void createSettings();
    void createPrerollParts();
    void createPaletteParts();
    void createKaraokeRemote();
    void bindSettings();
    void restoreDefaultsAround(bool before);
    void createRemoteSettings();
    // A command of a remote settings message; true ends the apply pass.
    bool remoteCommand(int key, const QString& value);
    void mainWindowClosing();
    void pictureClicked();
    static void bringToFront(QWidget* w);
    static void bringToFrontIfOpen(QWidget* w);

    Environment env_;
    RoutedMessages messages_;
    StationState state_;
    DisplayRecord record_;
    QPointer<TForm12> splash_;
    std::unique_ptr<TMainConsole> main_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm11> form11_;
    std::unique_ptr<TForm15> form15_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TForm8> form8_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm9> form9_;
    std::unique_ptr<TForm14> form14_;
    std::unique_ptr<TFkakunin> fkakunin_;
    std::unique_ptr<TFmojikara> fmojikara_;
    std::unique_ptr<TFshusei_moni> fshusei_;
    ScreenPart* screen_ = nullptr;
    InputPart* input_ = nullptr;
    InputAids* aids_ = nullptr;
    std::unique_ptr<Titles> titles_;
    std::unique_ptr<LumoLink> lumo_;
    Channels* channels_ = nullptr;
    OwnAddress* ownAddress_ = nullptr;
    LinkEncryption* encryption_ = nullptr;
    MemberList* members_ = nullptr;
    Partner* partner_ = nullptr;
    CaptionLink* captions_ = nullptr;
    Corrections* corrections_ = nullptr;
    Chat* chat_ = nullptr;
    Telop* telop_ = nullptr;
    Preroll* preroll_ = nullptr;
    SubInput* subInput_ = nullptr;
    ReadingInsertion* reading_ = nullptr;
    PrerollMonitor* prerollMonitor_ = nullptr;
    Palette* palette_ = nullptr;
    KaraokeRemote* karaoke_ = nullptr;
    MonitorPart* monitor_ = nullptr;
    Undo* undo_ = nullptr;
    ScreenModes* modes_ = nullptr;
    EightPersonMonitor* eight_ = nullptr;
    std::unique_ptr<settings::SettingsRegistry> settings_;
    SettingsCommands* commands_ = nullptr;
    RemoteSettings* remote_ = nullptr;
    // Listens to record_: declared after it, so it goes first.
    std::unique_ptr<AudienceView> audience_;
    DisplayLog* logs_ = nullptr;
    std::unique_ptr<LineTimes> lineTimes_;
    int lineTimesListener_ = -1;
    Transcripts* transcripts_ = nullptr;
    QtChoosers qtChoosers_;
    SystemClock systemClock_;
};

} // namespace quorel
