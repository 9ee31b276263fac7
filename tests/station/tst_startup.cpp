// Starting and ending a station: the window set and its order, the splash, the
// start-up timer, the hotkeys that move between open windows, closing windows,
// and the answers to a second instance.

#include "app/entry.h"
#include "app/instance_guard.h"
#include "app/main_console.h"
#include "app/picture_window.h"
#include "app/splash.h"
#include "base/program_folder.h"
#include "caption/caption_windows.h"
#include "net/own_address.h"
#include "station_fixture.h"
#include "windows/info/info_windows.h"
#include "windows/prepared/prepared_windows.h"
#include "windows/titles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

using namespace quorel;
using quorel::test::RecordingMessages;
using quorel::test::StationFixture;

namespace {

void activate(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}

void press(QWidget* window, Qt::Key key) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, Qt::ControlModifier);
}

// An editor that claims every Ctrl key as an editing key, as editors do with
// theirs before any shortcut sees them.
class ClaimingEditor final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int typed = 0; // Ctrl keys that reached the editor

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride &&
            (static_cast<QKeyEvent*>(e)->modifiers() & Qt::ControlModifier)) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->modifiers() & Qt::ControlModifier) && e->key() != Qt::Key_Control)
            ++typed;
        QLineEdit::keyPressEvent(e);
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void windowsAreCreatedInOrder();
    void everyWorkingWindowCarriesTheHotkeyMenu();
    void hotkeysOnlyMoveBetweenOpenWindows();
    void subInputHotkeyFallsBackToTheMainWindow();
    void hotkeysWorkFromAnEditorThatClaimsCtrlKeys();
    void pictureWindowClickBringsOpenWindowsBack();
    void closingAnAuxiliaryWindowOnlyHidesIt();
    void startupTimerFinishesTheStart();
    void splashClosedEarlyDoesNotDisturbTheStart();
    void aPcWithoutANetworkStartsAlone();
    void closingTheMainWindowEndsTheStation();
    void secondInstanceAnswers();
    void splashLooksAsDesigned();
    void filesGoToTheDataFolderWhenTheProgramFolderIsReadOnly();
};

void TestStartup::windowsAreCreatedInOrder() {
    StationFixture f;
    QStringList names;
    for (QWidget* w : f.station->windows())
        names << w->objectName();
    QCOMPARE(names, (QStringList{"TMainConsole", "TForm6", "TForm11", "TForm15", "TForm2", "TForm5",
                                 "TForm8", "TForm3", "TForm9", "TForm14", "TFkakunin", "TFmojikara",
                                 "TFshusei_moni"}));
    TMainConsole* m = f.station->main();
    QCOMPARE(m->pos(), QPoint(0, 0));
    QCOMPARE(m->size(), QSize(640, 480));
    QVERIFY(m->isVisible());
    QVERIFY(m->Timer2->isActive());
    QCOMPARE(m->Timer2->interval(), 5000);
    QVERIFY(!f.station->state().settingsReady);
    QStringList pages;
    for (int i = 0; i < m->PageControl1->count(); ++i)
        pages << m->PageControl1->widget(i)->objectName() + QLatin1Char('=') +
                     m->PageControl1->tabText(i);
    QCOMPARE(pages,
             (QStringList{"TabSheet1=Screen && Input ", "TabSheet5=Auxiliary", "partner=Partner",
                          "TabSheet2=Display 1", "TabSheet3=Display 2", "TabSheet6=Input 1",
                          "TabSheet11=Input 2", "TabSheet7=Save", "TabSheet4=Readme"}));
}

void TestStartup::everyWorkingWindowCarriesTheHotkeyMenu() {
    StationFixture f;
    const QStringList expected{"hkey_main=Ctrl+D",    "hkey_fkeymemo=Ctrl+F", "hkeyrenraku1=Ctrl+R",
                               "hekytempm1=Ctrl+N",   "hkey8nin1=Ctrl+8",     "hkeyinput1=Ctrl+I",
                               "hkeyterop1=Ctrl+O",   "hkeykakunin1=Ctrl+S",  "hkeyslide1=Ctrl+L",
                               "hkeymojikara1=Ctrl+K"};
    for (QWidget* w : f.station->windows()) {
        QStringList got;
        for (QAction* a : w->actions())
            got << a->objectName() + QLatin1Char('=') + a->shortcut().toString();
        if (w == f.station->picture())
            QVERIFY(got.isEmpty());
        else
            QCOMPARE(got, expected);
    }
}

void TestStartup::hotkeysOnlyMoveBetweenOpenWindows() {
    StationFixture f;
    Station& s = *f.station;
    activate(s.main());

    press(s.main(), Qt::Key_8); // closed: stays closed
    QVERIFY(!s.eightPerson()->isVisible());
    QCOMPARE(QApplication::activeWindow(), s.main());

    activate(s.eightPerson());
    activate(s.chat());
    press(s.chat(), Qt::Key_8); // open behind another window: comes to the front
    QTRY_COMPARE(QApplication::activeWindow(), s.eightPerson());

    press(s.eightPerson(), Qt::Key_L); // no action anywhere
    QCOMPARE(QApplication::activeWindow(), s.eightPerson());
    press(s.eightPerson(), Qt::Key_D);
    QTRY_COMPARE(QApplication::activeWindow(), s.main());
    press(s.main(), Qt::Key_R);
    QTRY_COMPARE(QApplication::activeWindow(), s.chat());
    press(s.chat(), Qt::Key_K); // the karaoke remote is closed
    QCOMPARE(QApplication::activeWindow(), s.chat());
    QVERIFY(!s.karaoke()->isVisible());
}

void TestStartup::subInputHotkeyFallsBackToTheMainWindow() {
    StationFixture f;
    Station& s = *f.station;
    activate(s.fKeyMemo());
    press(s.fKeyMemo(), Qt::Key_I);
    QTRY_COMPARE(QApplication::activeWindow(), s.main());
    QVERIFY(!s.subInput()->isVisible());
    activate(s.subInput());
    activate(s.fKeyMemo());
    press(s.fKeyMemo(), Qt::Key_I);
    QTRY_COMPARE(QApplication::activeWindow(), s.subInput());
}

void TestStartup::hotkeysWorkFromAnEditorThatClaimsCtrlKeys() {
    StationFixture f;
    Station& s = *f.station;
    for (QWidget* w : s.windows()) {
        if (w == s.picture())
            continue;
        ClaimingEditor editor(w);
        editor.show();
        QStringList missed;
        for (QAction* a : w->actions()) {
            activate(w);
            editor.setFocus();
            QSignalSpy triggered(a, &QAction::triggered);
            const QKeyCombination key = a->shortcut()[0];
            QTest::keyClick(&editor, key.key(), key.keyboardModifiers());
            if (triggered.count() != 1)
                missed << a->shortcut().toString();
        }
        QVERIFY2(missed.isEmpty(), qPrintable(w->objectName() + ": " + missed.join(' ')));
        QCOMPARE(editor.typed, 0);
    }
}

void TestStartup::pictureWindowClickBringsOpenWindowsBack() {
    StationFixture f;
    Station& s = *f.station;
    s.chat()->show();
    activate(s.picture());
    QTest::mouseClick(s.picture()->Image1, Qt::LeftButton);
    QVERIFY(s.main()->isVisible());
    QVERIFY(s.chat()->isVisible());
    QVERIFY(!s.eightPerson()->isVisible()); // closed ones stay closed
}

void TestStartup::closingAnAuxiliaryWindowOnlyHidesIt() {
    StationFixture f;
    QPointer<QWidget> chat = f.station->chat();
    QSignalSpy finished(f.station.get(), &Station::finished);
    chat->show();
    QVERIFY(chat->close());
    QVERIFY(chat);
    QVERIFY(!chat->isVisible());
    chat->show();
    QVERIFY(chat->isVisible());
    QCOMPARE(finished.count(), 0);
}

void TestStartup::startupTimerFinishesTheStart() {
    StationFixture f(true);
    Station& s = *f.station;
    QVERIFY(s.splash() && s.splash()->isVisible());
    QCOMPARE(s.splash()->size(), QSize(288, 180));
    QVERIFY(!s.main()->CheckBox5->isChecked());

    // The real timer, not a direct call: five seconds after start.
    QTRY_VERIFY_WITH_TIMEOUT(s.state().settingsReady, 7000);
    QVERIFY(!s.main()->Timer2->isActive());
    QTRY_VERIFY(s.splash() == nullptr); // closing destroyed it
    QVERIFY(s.main()->CheckBox5->isChecked());
    QVERIFY(s.state().programDirectory.endsWith(QLatin1Char('/')));
    QCOMPARE(s.state().programDirectory, f.dir.path() + QLatin1Char('/'));
    QCOMPARE(s.titles().main().current, s.main()->windowTitle());
    QCOMPARE(s.titles().subInput().base, QStringLiteral("サブ入力ウィンド(ctrl+i)"));
    QVERIFY(s.main()->isVisible());
    QVERIFY(f.messages.shown.isEmpty());
}

void TestStartup::splashClosedEarlyDoesNotDisturbTheStart() {
    StationFixture f(true);
    Station& s = *f.station;
    QTest::mouseClick(s.splash()->closeButton(), Qt::LeftButton);
    QTRY_VERIFY(s.splash() == nullptr);
    QVERIFY(s.main()->Timer2->isActive());
    s.Timer2Timer();
    QVERIFY(s.state().settingsReady);
}

void TestStartup::aPcWithoutANetworkStartsAlone() {
    // A display PC switched on before its network: its only address is the
    // loopback, which the address rule turns into the stand-in address.
    VirtualLan lan;
    StationFixture f(lan.addHost(QStringLiteral("127.0.0.1"), QStringLiteral("display")), true);
    Station& s = *f.station;
    QCOMPARE(s.main()->Edit35->text(), OwnAddress::kReplacement);
    QCOMPARE(f.messages.shown, QStringList{OwnAddress::kReplacedMessage});
    QVERIFY(s.main()->Timer2->isActive());
    s.Timer2Timer();
    QVERIFY(s.state().settingsReady);
    QTRY_VERIFY(s.splash() == nullptr);
}

void TestStartup::closingTheMainWindowEndsTheStation() {
    StationFixture f;
    Station& s = *f.station;
    QSignalSpy finished(&s, &Station::finished);
    s.chat()->show();
    s.main()->close();
    QCOMPARE(finished.count(), 1);
    QVERIFY(!s.chat()->isVisible());
}

void TestStartup::secondInstanceAnswers() {
    const QString name = QUuid::createUuid().toString();
    InstanceGuard first(name);
    QVERIFY(!first.alreadyExists());
    RecordingMessages none;
    QCOMPARE(answerSecondInstance(first, none), std::nullopt);
    QVERIFY(none.asked.isEmpty());

    InstanceGuard second(name);
    QVERIFY(second.alreadyExists());
    RecordingMessages yes;
    yes.answer = true;
    QCOMPARE(answerSecondInstance(second, yes), std::optional<int>(1));
    QCOMPARE(yes.asked.size(), 1);
    QVERIFY(yes.asked[0].startsWith(QStringLiteral("もう起動されています。")));
    QVERIFY(yes.shown.isEmpty());

    RecordingMessages no;
    no.answer = false;
    QCOMPARE(answerSecondInstance(second, no), std::nullopt);
    QCOMPARE(no.shown.size(), 1);
    QVERIFY(no.shown[0].startsWith(QStringLiteral("Ｑｕｏｒｅｌを２つ起動した場合は")));

    // The first one is untouched, and once it ends the name is free again.
    QVERIFY(!first.alreadyExists());
    first.release();
    InstanceGuard third(name);
    QVERIFY(!third.alreadyExists());
}

void TestStartup::splashLooksAsDesigned() {
    TForm12 splash;
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(splash.closeButton()->text(), QStringLiteral("×"));
    QCOMPARE(splash.closeButton()->geometry(), QRect(276, 0, 12, 12));
    QVERIFY(splash.closeButton()->font().bold());
}

QTEST_MAIN(TestStartup)
void TestStartup::filesGoToTheDataFolderWhenTheProgramFolderIsReadOnly() {
    QTemporaryDir exe, data;
    // A folder the station may write in keeps its files.
    ProgramFolders f = chooseProgramFolders(exe.path(), data.path() + "/quorel");
    QCOMPARE(f.files, exe.path() + '/');
    QVERIFY(f.beside.isEmpty());
    // No file can be created in /proc, not even by root: the data folder
    // takes the files, and the executable's folder is still read.
    f = chooseProgramFolders(QStringLiteral("/proc"), data.path() + "/quorel");
    QCOMPARE(f.files, data.path() + "/quorel/");
    QCOMPARE(f.beside, QStringLiteral("/proc/"));
    QVERIFY(QFileInfo(f.files).isDir());
}

#include "tst_startup.moc"
