// The main window's person modes and the display station: layouts, the
// borderless display with F1 F2 F3, fonts and colours, the mouse cursor and
// the desktop cover.

#include "app/main_console.h"
#include "app/picture_window.h"
#include "app/screen_modes.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "station_fixture.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace quorel;
using quorel::test::StationFixture;

class TestModes : public QObject {
    Q_OBJECT
private slots:
    void twoPersonBottomPanel();
    void onePersonAndDisplayOnly();
    void framelessDisplayStation();
    void f1InTheWordProcessorStaysFramed();
    void f2RedrawsTheBorderlessScreen();
    void f3FitsTheWindow_data();
    void f3FitsTheWindow();
    void f3NeedsAutomaticAdjustment();
    void cursorCycle();
    void fontsAndColours();
    void fontsComeWithTheirColour();
    void theFontChooserOffersTheColour();
    void desktopCover();
};

void TestModes::twoPersonBottomPanel() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    QCOMPARE(m.partLineHeight(), 24); // 11 pt: a font 15 pixels high
    auto* upDown2 = m.findChild<QSpinBox*>(QStringLiteral("UpDown2"));
    QVERIFY(upDown2);
    upDown2->stepUp(); // the arrows write the box, which lays out
    QCOMPARE(m.Edit96->text(), QStringLiteral("2"));
    QCOMPARE(m.Panel1->height(), 75);
    QCOMPARE(m.RichEdit27->geometry(), QRect(50, 0, m.Panel1->width() - 50, 24));
    QCOMPARE(m.RichEdit1->geometry(), QRect(0, 27, m.Panel1->width(), 48));
    QCOMPARE(m.Button13->height(), 27);
}

void TestModes::onePersonAndDisplayOnly() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.show();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    QTest::mouseClick(m.Button15, Qt::LeftButton);
    QVERIFY(m.RichEdit27->isHidden());
    QCOMPARE(m.Panel1->height(), 27);
    QCOMPARE(m.RichEdit1->pos(), QPoint(50, 3));
    QCOMPARE(m.PageControl1->currentWidget(), m.TabSheet1);

    m.PageControl1->setCurrentWidget(m.TabSheet2);
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    QVERIFY(m.Panel1->isHidden());
    QCOMPARE(QApplication::focusWidget(), m.Edit77);
    QCOMPARE(m.Panel6->cursor().shape(), Qt::BlankCursor);
    QCOMPARE(f.messages.shown, QStringList{ScreenModes::kDisplayOnly});
    QTest::mouseClick(m.Button17, Qt::LeftButton);
    QVERIFY(!m.Panel1->isHidden());
    QVERIFY(!m.RichEdit27->isHidden());
    QCOMPARE(m.Panel6->cursor().shape(), Qt::ArrowCursor);
}

void TestModes::framelessDisplayStation() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    f.station->Timer2Timer();
    m.CheckBox50->setChecked(true);
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    f.messages.shown.clear();
    QTest::keyClick(m.Edit77, Qt::Key_F1);
    QCOMPARE(f.messages.shown, QStringList{ScreenModes::kFrameless});
    QVERIFY(f.station->modes().frameless());
    QVERIFY(m.PageControl1->isHidden());
    QVERIFY(!m.Image2->isHidden());
    QCOMPARE(m.Image2->size(), m.size());
    QVERIFY(m.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!m.CheckBox50->isChecked());
    QVERIFY(!m.CheckBox67->isChecked());

    // Captions now glide over the whole window.
    f.station->screen().appendSentence(QStringLiteral("枠なし"), false);
    while (m.Timer1->isActive())
        f.station->screen().Timer1Timer();
    QVERIFY(!m.Image2->renderer().lastFrame().empty());

    QTest::keyClick(m.Edit77, Qt::Key_F1); // and back
    QVERIFY(!f.station->modes().frameless());
    QVERIFY(!m.PageControl1->isHidden());
    QVERIFY(m.Image2->isHidden());
    QVERIFY(!(m.windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(m.CheckBox67->isChecked());
}

void TestModes::f1InTheWordProcessorStaysFramed() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    QTest::mouseClick(m.Button12, Qt::LeftButton);
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    f.messages.shown.clear();
    QTest::keyClick(m.Edit77, Qt::Key_F1);
    QVERIFY(!f.station->modes().frameless());
    QCOMPARE(f.messages.shown, QStringList{ScreenModes::kNotInWordProcessor});
}

void TestModes::f2RedrawsTheBorderlessScreen() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    ScreenPart& screen = f.station->screen();
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    QTest::keyClick(m.Edit77, Qt::Key_F1);
    QVERIFY(f.station->modes().frameless());
    for (const char* s : {"一行目", "二行目"})
        screen.appendSentence(QString::fromUtf8(s), false);
    for (int tick = 0; tick < 3; ++tick) // the last line is still gliding in
        screen.Timer1Timer();

    // Drawn at rest: the last line stands on the last row.
    auto atRest = [&](SmoothPicture* picture) {
        const auto& frame = picture->renderer().lastFrame();
        return !frame.empty() && frame.back().line == f.station->record().lineCount() - 1 &&
               frame.back().y == (screen.state().displayLines - 1) * screen.state().lineSpacing;
    };
    QVERIFY(!atRest(m.Image2));
    QTest::keyClick(m.Edit77, Qt::Key_F2);
    QVERIFY(atRest(m.Image2));
    QVERIFY(atRest(m.Image1));
    QVERIFY(!m.Timer1->isActive());
}

void TestModes::f3FitsTheWindow_data() {
    QTest::addColumn<bool>("frameless");
    QTest::addColumn<int>("lines");
    QTest::newRow("framed") << false << 16;
    QTest::newRow("frameless") << true << 17;
}

void TestModes::f3FitsTheWindow() {
    QFETCH(bool, frameless);
    QFETCH(int, lines);
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.RichEdit2->setFont(QFont(m.RichEdit2->font().family(), 24));
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    if (frameless)
        QTest::keyClick(m.Edit77, Qt::Key_F1);
    m.resize(1024, 768);
    QTest::keyClick(m.Edit77, Qt::Key_F3);
    QCOMPARE(m.Edit8->text(), QString::number(lines));
    QCOMPARE(m.Edit12->text(), QStringLiteral("44"));
    QCOMPARE(m.Edit10->text(), QStringLiteral("22"));
    QCOMPARE(f.station->screen().state().lineSpacing, 44);
}

void TestModes::f3NeedsAutomaticAdjustment() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.CheckBox67->setChecked(false);
    QTest::mouseClick(m.Button16, Qt::LeftButton);
    f.messages.shown.clear();
    const QString before = m.Edit12->text();
    QTest::keyClick(m.Edit77, Qt::Key_F3);
    QCOMPARE(m.Edit12->text(), before);
    QCOMPARE(f.messages.shown, QStringList{ScreenModes::kNoAutoAdjust});
}

void TestModes::cursorCycle() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    m.CheckBox68->setChecked(true);
    QList<Qt::CursorShape> shapes;
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(m.Image1, Qt::LeftButton);
        shapes << m.Panel6->cursor().shape();
    }
    QCOMPARE(shapes,
             (QList<Qt::CursorShape>{Qt::PointingHandCursor, Qt::BlankCursor, Qt::ArrowCursor}));
    QTest::mouseClick(m.Image1, Qt::LeftButton);
    m.CheckBox68->setChecked(false);
    QCOMPARE(m.Panel6->cursor().shape(), Qt::ArrowCursor);
}

void TestModes::fontsAndColours() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    f.station->Timer2Timer();
    QFont big = m.RichEdit2->font();
    big.setPointSize(48);
    f.choosers.nextFont = big;
    QTest::mouseClick(m.Button1, Qt::LeftButton);
    QCOMPARE(m.Image1->renderer().font().pointSize(), 48);
    QCOMPARE(m.Edit12->text(), QString::number(48 * 96 / 72)); // adjusted to it

    f.choosers.nextColor = QColor(0, 0, 64);
    QTest::mouseClick(m.Button2, Qt::LeftButton);
    QCOMPARE(m.Image1->renderer().image().pixelColor(2, 2), QColor(0, 0, 64));

    f.choosers.nextColor = QColor(255, 255, 200);
    QTest::mouseClick(m.Button4, Qt::LeftButton);
    QCOMPARE(m.RichEdit1->palette().color(QPalette::Base), QColor(255, 255, 200));
    QTest::mouseClick(m.Button12, Qt::LeftButton);
    QTest::mouseClick(m.Button12, Qt::LeftButton); // correction mode paints it red ...
    QTest::mouseClick(m.Button13, Qt::LeftButton); // ... and "RE" brings the chosen colour back
    QCOMPARE(m.RichEdit1->palette().color(QPalette::Base), QColor(255, 255, 200));

    QFont input = m.RichEdit1->font();
    input.setPointSize(16);
    f.choosers.nextFont = input;
    QTest::mouseClick(m.Button3, Qt::LeftButton);
    QCOMPARE(m.RichEdit27->font().pointSize(), 16);
    QCOMPARE(m.Panel1->height(), m.partLineHeight() * 2 + 3);
}

void TestModes::fontsComeWithTheirColour() {
    // Light captions on a dark background: without the text colour they vanish.
    StationFixture f;
    TMainConsole& m = *f.station->main();
    TForm2& eight = *f.station->eightPerson();
    auto text = [](QWidget* w) { return w->palette().color(QPalette::Text); };
    const QColor yellow(255, 255, 0), white(255, 255, 255), green(0, 128, 0);

    f.choosers.nextFont = m.RichEdit2->font();
    f.choosers.nextFontColor = yellow;
    QTest::mouseClick(m.Button1, Qt::LeftButton);
    QCOMPARE(text(m.RichEdit2), yellow);
    QCOMPARE(m.Image1->renderer().textColor(), yellow);
    QCOMPARE(m.Image2->renderer().textColor(), yellow);

    f.choosers.nextFont = m.RichEdit1->font();
    f.choosers.nextFontColor = white;
    QTest::mouseClick(m.Button3, Qt::LeftButton);
    QCOMPARE(text(m.RichEdit1), white);
    QCOMPARE(text(m.RichEdit27), white);
    QCOMPARE(m.Image1->renderer().textColor(), yellow); // the screen keeps its own

    f.choosers.nextColor = QColor(0, 0, 0);
    QTest::mouseClick(eight.panes[2]->viewport(), Qt::RightButton);
    f.choosers.nextFont = eight.panes[0]->font();
    f.choosers.nextFontColor = green;
    QTest::mouseClick(eight.Button1, Qt::LeftButton);
    for (std::size_t i = 0; i < 8; ++i) {
        QCOMPARE(text(eight.panes[i]), green);
        QCOMPARE(text(eight.names[i]), green);
    }
    QCOMPARE(eight.panes[2]->palette().color(QPalette::Base), QColor(0, 0, 0));
}

void TestModes::theFontChooserOffersTheColour() {
    QtChoosers choosers;
    QFont big = QApplication::font();
    big.setPointSize(40);
    QTimer::singleShot(0, this, [&] {
        QWidget* chooser = QApplication::activeModalWidget();
        QVERIFY(chooser);
        chooser->findChild<QFontDialog*>()->setCurrentFont(big);
        QTimer::singleShot(0, this, [] {
            auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            QVERIFY(colours);
            QCOMPARE(colours->currentColor(), QColor(0, 0, 0)); // opens on the current one
            colours->setCurrentColor(QColor(255, 255, 255));
            colours->accept();
        });
        auto* colour = chooser->findChild<QPushButton*>(QStringLiteral("fontColor"));
        QTest::mouseClick(colour, Qt::LeftButton);
        QCOMPARE(colour->text(), QStringLiteral("#ffffff"));
        chooser->findChild<QFontDialog*>()->accept();
    });
    const auto chosen = choosers.font(QApplication::font(), QColor(0, 0, 0));
    QVERIFY(chosen);
    QCOMPARE(chosen->font.pointSize(), 40);
    QCOMPARE(chosen->color, QColor(255, 255, 255));

    QTimer::singleShot(
        0, this, [] { QApplication::activeModalWidget()->findChild<QFontDialog*>()->reject(); });
    QVERIFY(!choosers.font(QApplication::font(), QColor(0, 0, 0)));
}

void TestModes::desktopCover() {
    StationFixture f;
    TMainConsole& m = *f.station->main();
    f.choosers.nextColor = QColor(0, 0, 80);
    QTest::mouseClick(m.Button8, Qt::LeftButton);
    m.CheckBox9->setChecked(true);
    TForm9& cover = *f.station->picture();
    QVERIFY(cover.isVisible());
    QCOMPARE(cover.Image1->color(), QColor(0, 0, 80));
    QCOMPARE(cover.pos(), QPoint(0, 0));
    QVERIFY(cover.windowFlags() & Qt::FramelessWindowHint);
    m.CheckBox9->setChecked(false);
    QVERIFY(!cover.isVisible());
}

QTEST_MAIN(TestModes)
#include "tst_modes.moc"
