#include "app/station.h"

#include "app/splash.h"

#include "app/hotkeys.h"
#include "app/main_console.h"
#include "app/picture_window.h"
#include "app/screen_modes.h"
#include "app/settings_bindings.h"
#include "app/splash.h"
#include "base/program_folder.h"
#include "caption/audience_view.h"
#include "caption/caption_link.h"
#include "caption/caption_windows.h"
#include "caption/corrections.h"
#include "caption/eight_person.h"
#include "caption/input_aids.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "caption/monitor.h"
#include "caption/reading_insertion.h"
#include "caption/reading_source.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "caption/sub_input.h"
#include "caption/undo.h"
#include "logs/display_log.h"
#include "logs/line_times.h"
#include "logs/transcript.h"
#include "logs/transcripts.h"
#include "members/member_list.h"
#include "members/partner.h"
#include "net/channels.h"
#include "net/link_encryption.h"
#include "net/lumo_link.h"
#include "net/nmudp.h"
#include "net/own_address.h"
#include "settings/remote_settings.h"
#include "settings/settings_commands.h"
#include "settings/settings_registry.h"
#include "settings/settings_values.h"
#include "web/audience_server.h"
#include "web/qr.h"
#include "windows/info/chat.h"
#include "windows/info/info_windows.h"
#include "windows/info/telop.h"
#include "windows/prepared/karaoke.h"
#include "windows/prepared/palette.h"
#include "windows/prepared/prepared_windows.h"
#include "windows/prepared/preroll.h"
#include "windows/prepared/preroll_monitor.h"
#include "windows/titles.h"
#include "wire/address.h"
#include "wire/port_plan.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QUrlQuery>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcWindow)

Station::Station(const Environment& env, QObject* parent)
    : QObject(parent), env_(env),
      messages_(*env.messages, [this](const QString& text) { networkNotice(text); }) {
    if (env_.programDirectory.isEmpty()) {
        const ProgramFolders folders =
            chooseProgramFolders(QCoreApplication::applicationDirPath(), userDataFolder());
        state_.programDirectory = folders.files;
        state_.besideExecutable = folders.beside;
        qInfo().noquote() << "quorel: files are kept in" << folders.files;
    } else {
        state_.programDirectory = chooseProgramFolders(env_.programDirectory, {}).files;
    }

    if (env_.splash) {
        // Shown and painted before the other windows exist, so it is visible
        // while they are created.
        splash_ = new TForm12;
        splash_->show();
        splash_->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    createMainWindow();
    // Each window binds its endpoints once it has been built.
    auto make = [this](auto& slot) {
        slot = std::make_unique<typename std::decay_t<decltype(slot)>::element_type>();
        createEndpoints(slot.get());
    };
    make(form6_);
    make(form11_);
    make(form15_);
    make(form2_);
    make(form5_);
    make(form8_);
    make(form3_);
    make(form9_);
    make(form14_);
    make(fkakunin_);
    make(fmojikara_);
    make(fshusei_);
    createNetworkParts();
    createKaraokeRemote();
    bindSettings();
    createRemoteSettings();

    for (QWidget* w : windows())
        if (w != form9_.get())
            installHotkeyMenu(w, *this);
    connect(form9_->Image1, &PictureLabel::clicked, this, &Station::pictureClicked);

    // The main window is the application's main form: it is shown when the
    // loop starts, the others only when the user opens them. The typist can
    // type at once.
    main_->show();
    main_->RichEdit1->setFocus();
}

Station::~Station() {
    // The line times go before the record that reports to them.
    if (lineTimesListener_ >= 0)
        record_.removeListener(lineTimesListener_);
    if (splash_)
        delete splash_.data();
}

void Station::createEndpoints(QWidget* window) {
    for (const PortPlanEntry& e : kPortPlan) {
        if (window->objectName() != QLatin1String(e.window))
            continue;
        auto* ep = new TNMUDP(
            *env_.network, [this](const QString& text) { networkNotice(text); }, window);
        ep->setObjectName(QString::fromLatin1(e.endpoint));
        ep->RemotePort = e.base;
        ep->setLocalPort(e.base);
    }
}

TNMUDP* Station::endpoint(const QString& window, const QString& name) const {
    for (QWidget* w : windows())
        if (w->objectName() == window)
            return w->findChild<TNMUDP*>(name, Qt::FindDirectChildrenOnly);
    return nullptr;
}

QList<TNMUDP*> Station::endpoints() const {
    QList<TNMUDP*> out;
    for (const PortPlanEntry& e : kPortPlan)
        out << endpoint(QString::fromLatin1(e.window), QString::fromLatin1(e.endpoint));
    return out;
}

void Station::createGroupParts() {
    TMainConsole& m = *main_;
    auto ep = [&](const char* name) {
        return m.findChild<TNMUDP*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    MemberList::Controls mc{};
    for (std::size_t i = 0; i < 8; ++i)
        mc.rows[i] = {m.memberCompanion[i], m.memberName[i], m.memberAddress[i]};
    mc.groups = m.groupButtons;
    mc.ComboBox1 = m.ComboBox1;
    mc.CheckBox6 = m.CheckBox6;
    mc.Button47 = m.Button47;
    mc.Button53 = m.Button53;
    mc.Edit35 = m.Edit35;
    mc.Edit30 = m.Edit30;
    mc.CheckBox71 = m.CheckBox71;
    mc.CheckBox72 = m.CheckBox72;
    mc.Edit98 = m.Edit98;
    mc.Edit99 = m.Edit99;
    mc.Edit100 = m.Edit100;
    mc.CheckBox19 = m.CheckBox19;
    mc.RichEdit3 = m.RichEdit3;
    mc.NMUDP8 = ep("NMUDP8");
    mc.NMUDP6 = ep("NMUDP6");
    mc.NMUDP10 = ep("NMUDP10");
    members_ = new MemberList(mc, state_, messages(), clock(), this);
}

void Station::createNetworkParts() {
    TMainConsole& m = *main_;
    titles_ = std::make_unique<Titles>(
        main_.get(), form14_.get(),
        QList<StationWindow*>{form2_.get(), form3_.get(), form5_.get(), form6_.get(), form8_.get(),
                              form11_.get(), form15_.get(), fkakunin_.get(), fmojikara_.get(),
                              fshusei_.get()});
    lumo_ = std::make_unique<LumoLink>(m.CheckBox60);
    QList<Channels::Endpoint> eps;
    for (const PortPlanEntry& e : kPortPlan)
        eps.push_back({endpoint(QString::fromLatin1(e.window), QString::fromLatin1(e.endpoint)),
                       e.base, e.moves});
    channels_ = new Channels({m.ComboBox2, m.CheckBox60, m.CheckBox19, m.Edit35,
                              fmojikara_->CheckBox59, fmojikara_->CheckBox1},
                             eps, *titles_, state_, messages(), this);
    encryption_ = new LinkEncryption({m.CheckBox42, m.Edit1, m.CheckBox19}, *titles_, state_,
                                     messages(), this);

    auto ep = [&](const char* name) {
        return m.findChild<TNMUDP*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    };
    partner_ = new Partner({m.memberBePartner, m.memberPartner, m.CheckBox7, m.Edit35, m.Edit30,
                            ep("NMUDP4"), ep("NMUDP2")},
                           *members_, *titles_, messages(), this);
    partner_->setMonitorButtons(form2_->bePartner, form2_->partner);
    modes_ = new ScreenModes(m, *screen_, *form9_, state_, messages(),
                             env_.choosers ? *env_.choosers : qtChoosers_, this);
    captions_ = new CaptionLink({ep("NMUDP1"), m.CheckBox22, m.CheckBox85, form8_->Memo2},
                                *members_, *screen_, *encryption_, *lumo_, this);
    corrections_ =
        new Corrections({ep("NMUDP3"), m.Button14, m.Edit8, m.CheckBox8, m.CheckBox50, m.RichEdit1},
                        *members_, *screen_, *encryption_, *lumo_, messages(), this);
    chat_ = new Chat(*form6_, *endpoint(QStringLiteral("TForm6"), QStringLiteral("NMUDP1")),
                     *members_, *ownAddress_, *encryption_, *lumo_, state_, clock(), messages(),
                     env_.choosers ? *env_.choosers : qtChoosers_, this);
    connect(m.Button86, &QPushButton::clicked, chat_, &Chat::showWindow);
    createTelop();

    // Membership changes end the partnership and show the plain titles.
    members_->hooks().releasePartner = [this] { partner_->releaseUnfixed(); };
    members_->hooks().restoreTitles = [this] { titles_->show(); };
    members_->hooks().pcAddresses = [this] { return env_.network->localAddresses(); };
    members_->hooks().notice = [this](const QString& text) { networkNotice(text); };
    channels_->hooks().releasePartner = [this] { partner_->releaseUnfixed(); };
    channels_->hooks().leaveAndClearMembers = [this] {
        members_->SendLeave();
        main_->CheckBox6->setChecked(false);
        members_->ClearMemberList();
    };
    channels_->hooks().searchMembers = [this] { members_->SearchMembers(); };

    monitor_ =
        new MonitorPart({m.RichEdit1, m.RichEdit27, m.Edit66, m.Edit68, m.Timer4, m.CheckBox57,
                         m.CheckBox55, m.CheckBox12, m.CheckBox49, m.CheckBox56, form2_->CheckBox1,
                         form2_->panes, m.Edit35, ep("NMUDP2"), ep("NMUDP7")},
                        *members_, *partner_, *encryption_, messages(), this);
    undo_ = new Undo({ep("NMUDP9"), m.RichEdit1, m.CheckBox8, m.CheckBox50, m.CheckBox11,
                      m.CheckBox40, m.CheckBox35, m.CheckBox36, m.CheckBox47, m.CheckBox22,
                      m.CheckBox85, m.CheckBox19},
                     record_, *screen_, *input_, *members_, *lumo_, state_, messages(), this);
    undo_->hold = [this](const QString& token) { captions_->hold(token); };
    captions_->hooks().undo = [this] { undo_->undoReceived(); };
    captions_->hooks().del = [this] { undo_->Del(); };
    captions_->hooks().cls = [this] { undo_->Cls(); };

    // The 8-person monitor follows the member list's names.
    members_->hooks().nameChanged = [this](int slot, const QString& name) {
        form2_->names[std::size_t(slot)]->setText(name);
        form2_->panes[std::size_t(slot)]->clear();
    };
    eight_ = new EightPersonMonitor(*form2_, m.Edit20, m.memberBePartner, m.memberPartner,
                                    env_.choosers ? *env_.choosers : qtChoosers_, messages(), this);
    connect(m.Button45, &QPushButton::clicked, this, [this] {
        main_->CheckBox12->setChecked(true);
        // The rows stay as the user arranged them; only the partner buttons
        // are brought up to date.
        eight_->showRows();
        form2_->show();
        form2_->raise();
    });
    connect(m.CheckBox14, &QCheckBox::toggled, this, [this](bool onTop) {
        const bool shown = form2_->isVisible();
        form2_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (shown)
            form2_->show();
    });

    InputPart::Hooks& in = input_->hooks();
    in.sendCaption = [this](const QString& s) { captions_->SendCaption(s); };
    in.partnerNominated = [this] { return partner_->flag(); };
    // A single space on the partner link blanks the partner's monitor part.
    in.blankPartnerMonitor = [this] { monitor_->SendOnSettingsSocket(QStringLiteral(" ")); };
    in.keyReleased = [this](QKeyEvent* e) { monitor_->report(e->key()); };
    in.undo = [this](bool shift) { undo_->undo(shift); };
    in.f11 = [this](bool shift) { return undo_->f11(shift); };

    logs_ = new DisplayLog({m.Button7, m.Label5, m.CheckBox39, m.Edit92, m.Edit91, m.Edit4,
                            m.Timer5, m.Button11, m.RichEdit3, m.CheckBox19},
                           record_, *screen_, state_, clock(), messages(),
                           env_.choosers ? *env_.choosers : qtChoosers_, this);
    logs_->hooks().chatRecordAtExit = [this] { return chat_->recordAtExit(); };

    // Transcripts: every line's arrival time, saved with the record as text
    // and subtitles.
    lineTimes_ = std::make_unique<LineTimes>(record_, clock());
    lineTimesListener_ =
        record_.addListener([this](const DisplayRecord::Change& ch) { lineTimes_->onChange(ch); });
    transcripts_ = new Transcripts({m.ButtonTranscript}, record_, *lineTimes_, state_, clock(),
                                   messages(), env_.choosers ? *env_.choosers : qtChoosers_, this);

    aids_ = new InputAids({form5_.get(),      m.RichEdit1,
                           m.RichEdit2,       m.Edit31,
                           m.CheckBox13,      m.CheckBox52,
                           m.Edit94,          m.Edit95,
                           m.CheckBox43,      m.Edit78,
                           m.Edit79,          m.Edit5,
                           m.Edit7,           m.CheckBox47,
                           m.CheckBox53,      m.Edit16,
                           m.CheckBox15,      m.CheckBox23,
                           m.Edit21,          m.CheckBox51,
                           m.CheckBox54,      m.CheckBox61,
                           m.CheckBox44,      m.CheckBox45,
                           m.CheckBox62,      m.Edit24,
                           m.Button27,        m.Button34,
                           m.Button52,        m.Timer3,
                           m.Timer7,          {m.Panel1, m.Panel22, m.Panel23},
                           m.PageControl1,    {m.TabSheet5, m.partner, m.TabSheet2, m.TabSheet3},
                           m.RichEdit3,       &m,
                           &m.inputBackground},
                          *input_, record_, clipboard(),
                          env_.choosers ? *env_.choosers : qtChoosers_, clock(), messages(), this);
    in.keyDown = [this] { aids_->keyDown(); };
    in.functionKey = [this](int key, bool shift) {
        return aids_->functionKey(main_->RichEdit1, key, shift);
    };
    in.changed = [this] { aids_->inputChanged(main_->RichEdit1); };
    in.sent = [this] { aids_->sentenceEnded(); };
    in.cleared = [this] { aids_->sentenceEnded(); };
    logs_->hooks().afterCheck = [this] { aids_->rebaseStatistics(); };
    createPrerollParts();
    createPaletteParts();
    createSubInput();
    createReadingInsertion();
    createAudienceView();
}

void Station::createAudienceView() {
    TMainConsole& m = *main_;
    audience_ = std::make_unique<AudienceView>(
        AudienceView::Controls{m.CheckBoxAudience, m.EditAudiencePort, m.LabelAudience,
                               m.LabelAudienceQr},
        record_);
    audience_->hooks().ownAddress = [this] { return main_->Edit35->text(); };
    audience_->hooks().screenPicture = [this]() -> QWidget* { return screen_->shownPicture(); };
    // The QR key: the audience scans the address from the display screen. A
    // shortcut of the main window only, not one of the hotkeys every window
    // carries.
    auto* qrKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &m);
    qrKey->setObjectName(QStringLiteral("ShortcutAudienceQr"));
    qrKey->setContext(Qt::WindowShortcut);
    connect(qrKey, &QShortcut::activated, audience_.get(), [this] { audience_->QrKey(); });

    // The transcripts of the Save page, for a browser to download.
    using Format = QByteArray (*)(const QStringList&, const std::vector<qint64>&);
    auto transcriptPage = [this](Format format, const char* type) {
        return [this, format, type](const QUrlQuery&) -> std::optional<web::AudienceServer::Reply> {
            return web::AudienceServer::Reply{
                type, format(record_.lines(), lineTimes_->times()), {}};
        };
    };
    web::AudienceServer& server = audience_->server();
    server.addPage(QStringLiteral("/transcript.txt"),
                   transcriptPage(&transcript::plainText, "text/plain; charset=utf-8"));
    server.addPage(QStringLiteral("/transcript.srt"),
                   transcriptPage(&transcript::subRip, "application/x-subrip; charset=utf-8"));
    server.addPage(QStringLiteral("/transcript.vtt"),
                   transcriptPage(&transcript::webVtt, "text/vtt; charset=utf-8"));

    // Readers join by scanning the address from the Auxiliary page.
    connect(audience_.get(), &AudienceView::addressChanged, this, [this](const QString& address) {
        const QImage code = address.isEmpty() ? QImage() : qrImage(address, 4);
        main_->LabelAudienceQr->setPixmap(code.isNull() ? QPixmap() : QPixmap::fromImage(code));
    });
}

void Station::createReadingInsertion() {
    TMainConsole& m = *main_;
    TForm14& sub = *form14_;
    reading_ = new ReadingInsertion({endpoint(QStringLiteral("TForm14"), QStringLiteral("NMUDP1")),
                                     m.CheckBox58, m.Edit22, m.Edit23, m.CheckBox59, m.RadioButton1,
                                     m.RadioButton2, m.RadioButton3, m.CheckBox46, m.CheckBox50,
                                     m.CheckBox19, form5_.get()},
                                    record_, state_, *encryption_, *lumo_, messages(), this);
    // The readings of the input method's conversions in these editors.
    auto* source = new ReadingSource(this);
    reading_->addTarget(m.RichEdit1);
    source->watch(m.RichEdit1);
    for (SubPane* p : sub.panes) {
        reading_->addTarget(p);
        source->watch(p);
    }
    connect(source, &ReadingSource::compositionStarted, reading_,
            [this] { reading_->compositionStarted(); });
    connect(source, &ReadingSource::compositionEnded, reading_,
            [this] { reading_->compositionEnded(); });
    connect(source, &ReadingSource::readingConfirmed, reading_,
            [this](QObject*, const QString& r) { reading_->conversion(r); });
    ReadingInsertion::Hooks& h = reading_->hooks();
    h.subOptionsOn = [&sub] { return sub.CheckBox37->isChecked() && sub.CheckBox45->isChecked(); };
    // No wrap first: the split asks for it with a message of its own otherwise.
    h.setSubOptions = [&sub](bool on) {
        sub.CheckBox37->setChecked(on);
        sub.CheckBox45->setChecked(on);
    };
    h.screenLines = [this] { return screen_->state().displayLines; };
    h.rubyApplied = [this] {
        if (!main_->RichEdit2->isVisible())
            return;
        QTextCursor cur = main_->RichEdit2->textCursor();
        cur.movePosition(QTextCursor::End);
        main_->RichEdit2->setTextCursor(cur);
    };
    subInput_->hooks().rubyOff = [this] { main_->CheckBox46->setChecked(false); };
    screen_->markersRefused = [this] {
        return form14_->CheckBox45->isChecked() || main_->CheckBox46->isChecked();
    };
    InputAids::Hooks& a = aids_->hooks();
    a.readingInsertionOn = [this] { return reading_->on(); };
    a.insertReading = [this](QTextEdit* editor) { reading_->insert(editor); };
}

void Station::createPaletteParts() {
    TMainConsole& m = *main_;
    palette_ = new Palette(*fkakunin_, *fshusei_,
                           {endpoint(QStringLiteral("TFkakunin"), QStringLiteral("NMUDP1")),
                            endpoint(QStringLiteral("TFkakunin"), QStringLiteral("NMUDP2")),
                            endpoint(QStringLiteral("TFkakunin"), QStringLiteral("NMUDP3")),
                            m.CheckBox21, m.CheckBox11, m.Button23, m.Button35},
                           *members_, *encryption_, state_, messages(),
                           env_.choosers ? *env_.choosers : qtChoosers_, this);
    Palette::Hooks& h = palette_->hooks();
    // A confirmed sentence leaves past the corrector's own unsent text.
    h.sendSentence = [this](const QString& s) {
        return input_->sendSentence(s, InputPart::Source::Elsewhere);
    };
    h.undo = [this](bool shift, QTextEdit* pane) { undo_->undo(shift, pane); };
    h.f11 = [this](bool shift) { return undo_->f11(shift); };
    h.functionKey = [this](QTextEdit* pane, int key, bool shift) {
        return aids_->functionKey(pane, key, shift);
    };
    input_->hooks().sendToPalette = [this](const QString& s) { palette_->SendToPalette(s); };
}

void Station::createSubInput() {
    TMainConsole& m = *main_;
    subInput_ = new SubInput(
        {form14_.get(), &m, m.CheckBox53, m.Edit31, m.CheckBox19, m.CheckBox50, m.RichEdit2},
        *input_, *aids_, clipboard(), messages(), this);
    SubInput::Hooks& h = subInput_->hooks();
    h.undo = [this](bool shift, QTextEdit* into) { undo_->undo(shift, into); };
    h.f11 = [this](bool shift) { return undo_->f11(shift); };
    h.report = [this](QTextEdit* pane, int key) { monitor_->report(pane, key); };
    h.redraw = [this] { screen_->redrawBoth(); };
    screen_->columnSplit = [this] { return subInput_->columns(); };
    InputAids::Hooks& a = aids_->hooks();
    a.focusedSubPane = [this] { return subInput_->focusedPane(); };
    a.subPanes = [this] { return subInput_->panes(); };
    a.subPanels = [this] { return subInput_->panels(); };
    connect(m.Button10, &QPushButton::clicked, subInput_, &SubInput::Button10Click);
}

void Station::createTelop() {
    TMainConsole& m = *main_;
    telop_ = new Telop(*form15_,
                       {endpoint(QStringLiteral("TForm15"), QStringLiteral("NMUDP1")), m.CheckBox16,
                        m.CheckBox19, main_.get()},
                       *members_, *encryption_, *lumo_, messages(),
                       env_.choosers ? *env_.choosers : qtChoosers_, this);
    Telop::Hooks& h = telop_->hooks();
    h.partnerNominated = [this] { return partner_->flag(); };
    h.partnerSlot = [this] { return partner_->slot(); };
    connect(m.Button97, &QPushButton::clicked, this, [this] { bringToFront(form15_.get()); });
}

void Station::createPrerollParts() {
    TMainConsole& m = *main_;
    Choosers& choosers = env_.choosers ? *env_.choosers : qtChoosers_;
    preroll_ =
        new Preroll(*form11_, {m.RichEdit1, m.CheckBox19}, state_, messages(), choosers, this);
    Preroll::Hooks& h = preroll_->hooks();
    // Prepared lines go out without touching what the typist has in the input
    // part.
    h.sendSentence = [this](const QString& s) {
        return input_->sendSentence(s, InputPart::Source::Elsewhere);
    };
    h.undo = [this](bool shift) { undo_->undo(shift); };
    h.f11 = [this](bool shift) { return undo_->f11(shift); };
    h.partnerNominated = [this] { return partner_->flag(); };
    h.sendRemoteSetting = [this](const QString& line) { remote_->SendSettingsMessage({line}); };
    h.setTelopText = [this](const QString& text) { telop_->SetTelopText(text); };
    h.setTelopTextAndSettings = [this](const QString& line) { telop_->ApplyTelopCommaLine(line); };
    h.stopTelopOnNetwork = [this] { telop_->StopTelopOnNetwork(); };
    h.sendTelopToNetwork = [this] { telop_->SendTelopToNetwork(); };
    h.clearLocalTelop = [this] { telop_->ClearLocalTelop(); };
    h.startLocalTelop = [this] { telop_->StartLocalTelop(); };
    h.showInformationWindow = [this] { form15_->show(); };
    h.setTelopOption = [this](Preroll::TelopOption option, bool on) {
        QCheckBox* box = nullptr;
        switch (option) {
        case Preroll::TelopOption::StopAtLeftEnd:
            box = form15_->CheckBox11;
            break;
        case Preroll::TelopOption::MoveToPlace:
            box = form15_->CheckBox9;
            break;
        case Preroll::TelopOption::ClearWindow:
            box = form15_->CheckBox5;
            break;
        case Preroll::TelopOption::ShowSettingPage:
            box = form15_->CheckBox8;
            break;
        }
        box->setChecked(on);
    };
    Telop::Hooks& th = telop_->hooks();
    th.sendCommaSettings = [this] { return form11_->CheckBox23->isChecked(); };
    th.addToPreroll = [this](const QString& line) { preroll_->appendToPane(0, line); };

    prerollMonitor_ = new PrerollMonitor(
        *form11_, *form3_,
        {endpoint(QStringLiteral("TForm11"), QStringLiteral("NMUDP1")),
         endpoint(QStringLiteral("TForm11"), QStringLiteral("NMUDP2")),
         endpoint(QStringLiteral("TForm11"), QStringLiteral("NMUDP5")), m.CheckBox48, m.CheckBox19},
        *members_, *encryption_, state_, messages(), choosers, this);
    PrerollMonitor::Hooks& mh = prerollMonitor_->hooks();
    mh.partnerAddress =
        [this, link = endpoint(QStringLiteral("TMainConsole"), QStringLiteral("NMUDP2"))] {
            return partner_->flag() ? link->RemoteHost : QString();
        };
    mh.note = [this](const QString& line) { members_->note(line); };

    connect(m.ButtonPreroll, &QPushButton::clicked, this, [this] {
        main_->PageControl1->setCurrentWidget(main_->TabSheet1);
        preroll_->showWindow();
    });
    connect(m.Button6, &QPushButton::clicked, prerollMonitor_, &PrerollMonitor::showWindow);
    connect(m.CheckBox10, &QCheckBox::toggled, this, [this](bool onTop) {
        const bool shown = form11_->isVisible();
        form11_->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (shown)
            form11_->show();
    });
}

void Station::createKaraokeRemote() {
    TMainConsole& m = *main_;
    // Just below the top of the display, so the operator sees both.
    fmojikara_->move(m.x() + m.Panel6->width() / 5, m.y() + m.Panel6->height());
    karaoke_ = new KaraokeRemote(*fmojikara_,
                                 {endpoint(QStringLiteral("TFmojikara"), QStringLiteral("NMUDP1")),
                                  m.CheckBox60, m.CheckBox19},
                                 *encryption_, *lumo_, state_, messages(),
                                 env_.choosers ? *env_.choosers : qtChoosers_, this);
    KaraokeRemote::Hooks& h = karaoke_->hooks();
    h.partnerNominated = [this] { return partner_->flag(); };
    h.partnerAddress = [link = endpoint(QStringLiteral("TMainConsole"), QStringLiteral("NMUDP2"))] {
        return link->RemoteHost;
    };
    h.sendSettingsMessage = [this](const QStringList& lines) {
        remote_->SendSettingsMessage(lines);
    };
    h.channelIndex = [this] { return channels_->itemIndex(); };
}

void Station::createSettings() {
    TMainConsole& m = *main_;
    settings_ = std::make_unique<settings::SettingsRegistry>();
    commands_ = new SettingsCommands(
        {m.Button21, m.Button20, m.Button66, m.Button67, m.Label67, m.CheckBox19}, *settings_,
        state_, messages(), env_.choosers ? *env_.choosers : qtChoosers_, this);
    SettingsCommands::Hooks& h = commands_->hooks();
    h.stationName = [this] { return main_->Edit30->text(); };
    // A comma would shift every field of the membership messages.
    h.setStationName = [this](const QString& name) {
        main_->Edit30->setText(QString(name).remove(QLatin1Char(',')));
    };
}

void Station::bindSettings() {
    settings::SettingsRegistry& r = *settings_;
    bindStationSettings(*this, r);

    settings::SettingsRegistry::Hooks& rh = r.hooks();
    rh.explanation = [this](const QString& line) { appendExplanationLine(main_->RichEdit3, line); };
    rh.error = [this](const QString& text) { messages().show(text); };
    rh.frameless = [this] { return screen_->frameless(); };
    rh.computedDefault = [this](int key) {
        const TMainConsole& mc = *main_;
        switch (key) {
        case 162:
            return QString::number(mc.y() + 80);
        case 163:
            return QString::number(mc.x() + 25);
        case 760:
            return QString::number(mc.y() + mc.Panel6->height());
        case 761:
            return QString::number(mc.x() + mc.Panel6->width() / 5);
        default:
            return QString();
        }
    };
    r.parkComputedDefaults();

    // The station name: a new one is news for the other members only after
    // a rest and a new search, which the message says.
    r.bind(166, {{}, [this](const QString& value) {
                     TMainConsole& mc = *main_;
                     const QString name = QString(value).remove(QLatin1Char(','));
                     if (name != mc.Edit30->text()) {
                         showIfEnabled(messages(), mc.CheckBox19, SettingsCommands::kNameChanged);
                         mc.PageControl1->setCurrentWidget(mc.partner);
                     }
                     mc.Edit30->setText(name);
                 }});

    SettingsCommands::Hooks& h = commands_->hooks();
    h.channelIndex = [this] { return std::max(0, channels_->itemIndex()); };
    h.groupNumber = [this] { return members_->groupNumber(); };
    h.afterLoad = [this] {
        TMainConsole& mc = *main_;
        mc.RichEdit2->setGeometry(mc.RichEdit2->x(), mc.RichEdit2->y(), mc.Panel6->width(),
                                  mc.Panel6->height());
        screen_->redrawBoth();
    };
    h.beforeDefaults = [this] { restoreDefaultsAround(true); };
    h.afterDefaults = [this] { restoreDefaultsAround(false); };
}

void Station::createRemoteSettings() {
    TMainConsole& m = *main_;
    remote_ =
        new RemoteSettings({m.Button18, m.CheckBox67, m.CheckBox19}, *settings_, messages(), this);
    RemoteSettings::Hooks& h = remote_->hooks();
    h.send = [this](const QString& text) { monitor_->SendOnSettingsSocket(text); };
    h.partnerNominated = [this] { return partner_->flag(); };
    // The partner's address is where the partner link sends.
    h.trusted = [this, link = endpoint(QStringLiteral("TMainConsole"), QStringLiteral("NMUDP2"))](
                    const QString& from) {
        return (partner_->flag() && from == link->RemoteHost) ||
               from == QLatin1String("127.0.0.1") || members_->isThisPc(from);
    };
    h.note = [this](const QString& line) { members_->note(line); };
    h.applying = [this](bool on) {
        if (on)
            messages_.beginFromNetwork();
        else
            messages_.endFromNetwork();
    };
    monitor_->settingsBody = [this](const QString& body, const QString& from) {
        remote_->received(body, from);
    };
    settings_->hooks().command = [this](int key, const QString& value) {
        return remoteCommand(key, value);
    };
}

bool Station::remoteCommand(int key, const QString& value) {
    TMainConsole& m = *main_;
    const bool on = value == QLatin1String("true");
    auto reply = [this](const QStringList& lines) {
        remote_->SendSettingsMessage(lines);
        return true; // the reply ends the pass
    };
    const QString fontSize = QString::number(m.RichEdit2->font().pointSize());
    switch (key) {
    case 600:
        if (on) {
            m.Edit9->setText(QString::number(screen_->state().baseDistance));
            modes_->fitToFont();
        }
        return false;
    case 603: {
        // Shown after the pass: a box must never run inside it.
        const QString text = value;
        QTimer::singleShot(0, this, [this, text] { networkNotice(text); });
        return false;
    }
    case 607:
        if (!on || !partner_->flag())
            return false;
        return reply(
            {QStringLiteral("$set$001:%1:メインウィンドの幅").arg(m.width()),
             QStringLiteral("$set$004:") + m.Edit8->text() +
                 QStringLiteral(":マニュアル調整の表示行数"),
             QStringLiteral("$set$009:") + fontSize + QStringLiteral(":表示部のフォントサイズ"),
             QStringLiteral("$set$608:true:行数から行間を調整するのボタン")});
    case 608:
        if (on)
            screen_->Button9Click();
        return false;
    case 609:
        if (!on || !partner_->flag())
            return false;
        return reply(
            {QStringLiteral("$set$000:%1:ウィンドウの高さ").arg(m.height()),
             QStringLiteral("$set$001:%1:メインウィンドの幅").arg(m.width()),
             QStringLiteral("$set$002:%1:メインウィンドの縦位置").arg(m.y()),
             QStringLiteral("$set$003:%1:メインウィンドの横位置").arg(m.x()),
             QStringLiteral("$set$004:") + m.Edit8->text() +
                 QStringLiteral(":マニュアル調整の表示行数"),
             QStringLiteral("$set$005:") + m.Edit12->text() +
                 QStringLiteral(":マニュアル調整の行間"),
             QStringLiteral("$set$009:") + fontSize + QStringLiteral(":表示部のフォントサイズ")});
    case 610:
        if (!on || !partner_->flag())
            return false;
        return reply({QStringLiteral("$set$611:") + m.Edit12->text() +
                      QStringLiteral(":マニュアル調整の行間")});
    case 612:
    case 613:
    case 614:
        if (!on || m.PageControl1->currentWidget() != m.TabSheet1)
            return false;
        if (key == 612) {
            modes_->toggleFrameless();
            m.Edit77->setFocus();
        } else if (key == 613) {
            modes_->redraw();
        } else {
            modes_->fit();
        }
        return false;
    case 620: {
        const int distance = settings::parseInt(value);
        // Steps per line are the spacing divided by the distance.
        if (distance >= 1)
            screen_->setImmediateDistance(distance);
        return false;
    }
    default:
        return false;
    }
}

void Station::restoreDefaultsAround(bool before) {
    TMainConsole& m = *main_;
    if (before) {
        form8_->hide();
        m.CheckBox85->setChecked(false);
        return;
    }
    for (QWidget* w : windows())
        if (w != main_.get())
            w->hide();
    form15_->CheckBox6->setChecked(false);
    // The two-person layout on the smooth screen.
    screen_->setScreenKind(0);
    modes_->applyPersons(2);
    m.Button14->hide();
    m.RichEdit2->setGeometry(0, m.Panel6->height() + 20, m.Panel6->width(), m.Panel6->height());
    m.RichEdit2->setFocusPolicy(Qt::ClickFocus);
    m.Splitter1->setStyleSheet(QStringLiteral("background: #008000"));
    m.Splitter2->setStyleSheet(QStringLiteral("background: #808000"));
    // Channel 1, Group A and G in the drop-down.
    settings_->ApplySettings({settings::kHeader, QStringLiteral("801:0"), QStringLiteral("802:1")});
    {
        const QSignalBlocker quiet(m.ComboBox1);
        m.ComboBox1->setCurrentIndex(0);
    }
    m.CheckBox21->show();
    m.hide();
    m.show();
    screen_->redrawBoth();
}

QList<QWidget*> Station::windows() const {
    return {main_.get(),     form6_.get(),     form11_.get(), form15_.get(), form2_.get(),
            form5_.get(),    form8_.get(),     form3_.get(),  form9_.get(),  form14_.get(),
            fkakunin_.get(), fmojikara_.get(), fshusei_.get()};
}

void Station::createMainWindow() {
    main_ = std::make_unique<TMainConsole>();
    TMainConsole& m = *main_;

    // 1. A "Ful" answer of an earlier search is forgotten.
    state_.groupFull = false;

    // 2. The window, the screen parts and the input and monitor parts.
    m.setGeometry(0, 0, 640, 480);
    m.move(0, 0);
    screen_ = new ScreenPart(
        ScreenPart::Controls{m.Panel6,       m.Image1,     m.Image2,     m.RichEdit2,
                             m.Timer1,       m.Edit8,      m.Edit9,      m.Edit10,
                             m.Edit11,       m.Edit12,     m.Edit43,     m.Edit44,
                             m.CheckBox5,    m.CheckBox8,  m.CheckBox50, m.CheckBox67,
                             m.CheckBox24,   m.CheckBox37, m.CheckBox85, m.CheckBox19,
                             m.Button9,      m.Button12,   m.Button13,   m.Button14,
                             m.PageControl1, m.TabSheet1,  m.RichEdit1,  &m.inputBackground},
        record_, state_, clipboard(), messages(), this);
    input_ = new InputPart(InputPart::Controls{m.RichEdit1, m.CheckBox19, m.CheckBox21,
                                               m.CheckBox22, m.CheckBox41, m.CheckBox53, m.Edit31},
                           *screen_, clipboard(), messages(), this);
    m.RichEdit1->setPlainText(InputPart::kHint);
    m.RichEdit27->setPlainText(QStringLiteral("Monitor part"));
    m.personsMode = 2;
    if (env_.wholeFrames) {
        for (SmoothPicture* p : {m.Image1, m.Image2})
            p->renderer().setIncremental(false);
        qCDebug(lcWindow) << "smooth screen: every frame drawn whole";
    }
    connect(m.Panel6, &ScreenPanel::resized, screen_,
            [this] { reportErrors(messages(), [&] { screen_->Panel6Resize(); }); });
    connect(screen_, &ScreenPart::layoutChanged, &m,
            [this] { main_->layoutBottom(screen_->wordProcessorMode()); });
    m.layoutBottom(false);
    // Coming back to the screen page, the typist goes on typing at once.
    connect(m.PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        TMainConsole& mc = *main_;
        if (mc.PageControl1->widget(index) != mc.TabSheet1)
            return;
        if (mc.personsMode == 0)
            mc.Edit77->setFocus();
        else
            mc.RichEdit1->setFocus();
    });

    createEndpoints(&m);
    connect(&m, &TMainConsole::closing, this, &Station::mainWindowClosing);
    connect(m.Timer2, &QTimer::timeout, this,
            [this] { reportErrors(messages(), [&] { Timer2Timer(); }); });

    createGroupParts();
    createSettings();
    m.LabelFolder->setText(QDir::toNativeSeparators(state_.programDirectory));

    // 3. The own address.
    ownAddress_ =
        new OwnAddress({m.Edit35, m.Edit30, m.ListBox2, m.Button39, m.Button36, m.Button38,
                        m.CheckBox71, m.CheckBox72, m.Edit98, m.Edit99, m.Edit100, m.CheckBox19},
                       *env_.network, state_, messages(), this);
    ownAddress_->readStartupName = [this] { commands_->ReadStartupHostName(); };
    ownAddress_->DetectOwnAddress();

    // 4. Without a valid address the station runs alone, and the start stops
    //    here: no start-up settings, the splash stays until its "×".
    if (CheckAddress(m.Edit35->text()) != 0) {
        m.Edit35->setText(OwnAddress::kReadFailed);
        showIfEnabled(messages(), m.CheckBox19, OwnAddress::kReadFailedMessage);
        return;
    }

    // 5. The station name from the start-up settings file.
    reportErrors(messages(), [&] { commands_->ReadStartupHostName(); });

    // 6. Find the group.
    members_->SearchMembers();

    // 7. The rest of the start five seconds from now.
    m.Timer2->start(5000);
}

void Station::Timer2Timer() {
    TMainConsole& m = *main_;
    // 1. Once only.
    m.Timer2->stop();

    // 2. The program folder is known since the station was built.

    // 3. Automatic acceleration is on at every start.
    m.CheckBox5->setChecked(true);

    // 4. Title texts.
    titles_->setUpAtStartup();

    // 5. The word-processor screen takes the screen part's size.
    m.RichEdit2->resize(m.Panel6->size());

    // 6. The start-up settings file. A bad line ends its pass with the error,
    //    never the start: the steps below always run.
    reportErrors(messages(), [&] { commands_->LoadStartupSettings(); });

    // 7.
    screen_->redrawBoth();

    // 8. A station that found exactly one member asks it to be the partner.
    partner_->startupRequest();

    // 9.
    screen_->Edit11Change();

    // 10.
    if (!state_.groupFull)
        m.show();
    encryption_->deriveKey();

    // 11.
    if (splash_)
        splash_->close();

    // 12.
    state_.settingsReady = true;
    m.show();

    // 13. Without periodic clearing the record grows all day: said whatever
    //     the message switch says.
    if (logs_->checksOff())
        messages().show(DisplayLog::kChecksOffWarning);

    // 14. A name put in by the settings file is not a typed change.
    ownAddress_->clearNameEdited();

    // 15.
    if (ownAddress_->listIsRed()) {
        m.PageControl1->setCurrentWidget(m.partner);
        messages().show(OwnAddress::kSeveralAddresses);
    }
}

void Station::networkNotice(const QString& text) {
    if (screen_ != nullptr && screen_->frameless() && members_ != nullptr) {
        members_->note(text);
        return;
    }
    env_.messages->notify(text);
}

void Station::mainWindowClosing() {
    // The logs first, so that nothing said to the partner and the group can
    // cost the record. Then the partner and the group are told.
    reportErrors(messages(), [&] { logs_->SaveLogsAtExit(); });
    reportErrors(messages(), [&] { partner_->ReleasePartner(); });
    reportErrors(messages(), [&] { members_->SendLeave(); });
    for (QWidget* w : windows())
        if (w != main_.get())
            w->hide();
    emit finished();
}

void Station::bringToFront(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

void Station::bringToFrontIfOpen(QWidget* w) {
    // A hotkey never opens a window; it only moves between open ones.
    if (w->isVisible())
        bringToFront(w);
}

void Station::hotkeyMain() {
    bringToFront(main_.get());
}
void Station::hotkeyFKeyMemo() {
    bringToFrontIfOpen(form5_.get());
}
void Station::hotkeyChat() {
    bringToFrontIfOpen(form6_.get());
}
void Station::hotkeyPreroll() {
    bringToFrontIfOpen(form11_.get());
    // Coming to the window means going on with the pre-roll.
    preroll_->focusRule();
}
void Station::hotkeyEightPerson() {
    bringToFrontIfOpen(form2_.get());
}
void Station::hotkeySubInput() {
    if (form14_->isVisible())
        bringToFront(form14_.get());
    else
        bringToFront(main_.get());
}
void Station::hotkeyInformation() {
    bringToFrontIfOpen(form15_.get());
}
void Station::hotkeyPalette() {
    bringToFrontIfOpen(fkakunin_.get());
}
void Station::hotkeyKaraoke() {
    bringToFrontIfOpen(fmojikara_.get());
}

void Station::pictureClicked() {
    bringToFront(main_.get());
    for (QWidget* w : std::initializer_list<QWidget*>{form2_.get(), form3_.get(), form5_.get(),
                                                      form6_.get(), form8_.get()})
        bringToFrontIfOpen(w);
}

} // namespace quorel
