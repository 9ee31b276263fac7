#include "app/station.h"

#include "app/splash.h"

#include "app/hotkeys.h"
#include "app/main_console.h"
#include "app/picture_window.h"
#include "app/splash.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "windows/info/info_windows.h"
#include "windows/prepared/prepared_windows.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

namespace quorel {

Station::Station(const Environment& env, QObject* parent) : QObject(parent), env_(env) {
    if (env_.splash) {
        // Shown and painted before the other windows exist, so it is visible
        // while they are created.
        splash_ = new TForm12;
        splash_->show();
        splash_->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

    createMainWindow();
    form6_ = std::make_unique<TForm6>();
    form11_ = std::make_unique<TForm11>();
    form15_ = std::make_unique<TForm15>();
    form2_ = std::make_unique<TForm2>();
    form5_ = std::make_unique<TForm5>();
    form8_ = std::make_unique<TForm8>();
    form3_ = std::make_unique<TForm3>();
    form9_ = std::make_unique<TForm9>();
    form14_ = std::make_unique<TForm14>();
    fkakunin_ = std::make_unique<TFkakunin>();
    fmojikara_ = std::make_unique<TFmojikara>();
    fshusei_ = std::make_unique<TFshusei_moni>();

    for (QWidget* w : windows())
        if (w != form9_.get())
            installHotkeyMenu(w, *this);
    connect(form9_->Image1, &PictureLabel::clicked, this, &Station::pictureClicked);

    // The main window is the application's main form: it is shown when the
    // loop starts, the others only when the user opens them.
    main_->show();
}

Station::~Station() {
    if (splash_)
        delete splash_.data();
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

    // 3-6. Own address, station name and the member search join here once the
    // station has its network layer.

    // 7. The rest of the start five seconds from now.
    connect(m.Timer2, &QTimer::timeout, this,
            [this] { reportErrors(messages(), [&] { Timer2Timer(); }); });
    m.Timer2->start(5000);

    connect(&m, &TMainConsole::closing, this, &Station::mainWindowClosing);
}

void Station::Timer2Timer() {
    TMainConsole& m = *main_;
    // 1. Once only.
    m.Timer2->stop();

    // 2. The program folder.
    QString dir = env_.programDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                  : env_.programDirectory;
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    state_.programDirectory = dir;

    // 3. Automatic acceleration is on at every start.
    m.CheckBox5->setChecked(true);

    // 4. Title texts.
    mainTitles_ = {m.windowTitle(), m.windowTitle(), m.windowTitle()};
    const QString sub = QStringLiteral("サブ入力ウィンド(ctrl+i)");
    subInputTitles_ = {sub, sub, sub};
    form14_->setWindowTitle(sub);

    // 5. The word-processor screen takes the screen part's size.
    m.RichEdit2->resize(m.Panel6->size());

    // 6. The start-up settings file is applied here once the station reads
    //    settings files.

    // 7.
    screen_->redrawBoth();

    // 8. The partner request to a lone member joins here with the member list.

    // 9.
    screen_->Edit11Change();

    // 10.
    if (!state_.groupFull)
        m.show();

    // 11.
    if (splash_)
        splash_->close();

    // 12.
    state_.settingsReady = true;
    m.show();
}

void Station::mainWindowClosing() {
    // Saving the display log and the chat record, releasing the partner and
    // leaving the group run here, in that order, as those subsystems arrive.
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
