// The "Audience view" group: ticking the box serves the captions on the
// chosen port, the label tells the address or why the port could not be had,
// and the switch and port go through settings files like any other key.

#include "app/main_console.h"
#include "app/screen_modes.h"
#include "app/station.h"
#include "caption/audience_view.h"
#include "caption/input_edit.h"
#include "caption/qr_overlay.h"
#include "caption/smooth_picture.h"
#include "settings/settings_commands.h"
#include "settings/settings_registry.h"
#include "station_fixture.h"
#include "web/qr.h"
#include "wire/display_record.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

using namespace quorel;
using quorel::test::StationFixture;

namespace {

// A port nobody listens on right now.
int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::Any, 0))
        return 0;
    return probe.serverPort();
}

QByteArray get(int port, const QByteArray& path) {
    QTcpSocket s;
    QByteArray answer;
    QObject::connect(&s, &QTcpSocket::readyRead, [&] { answer += s.readAll(); });
    s.connectToHost(QHostAddress::LocalHost, quint16(port));
    s.write("GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n");
    static_cast<void>(
        QTest::qWaitFor([&] { return s.state() == QAbstractSocket::UnconnectedState; }, 5000));
    return answer + s.readAll();
}

void pressQrKey(QWidget* window) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
}

// The overlay shows the code of `address` over `picture`: a sibling raised
// above it, centred on it, never its child (the picture scrolls its children).
void checkOverlay(QrOverlay& qr, const QWidget* picture, const QString& address) {
    QVERIFY(qr.isShown());
    QWidget* overlay = qr.widget();
    QCOMPARE(overlay->parentWidget(), picture->parentWidget());
    const QObjectList& siblings = picture->parentWidget()->children();
    QVERIFY(siblings.indexOf(overlay) > siblings.indexOf(picture));
    QVERIFY((overlay->geometry().center() - picture->geometry().center()).manhattanLength() <= 2);
    QVERIFY(picture->geometry().contains(overlay->geometry()));
    QCOMPARE(qr.addressLabel()->text(), address);
    const QImage shown = qr.codeLabel()->pixmap().toImage();
    const int modules = qrImage(address, 1).width();
    QVERIFY(shown.width() >= 4 * modules); // large enough to scan across a room
    const QImage code = qrImage(address, shown.width() / modules);
    QCOMPARE(shown.convertToFormat(code.format()), code);
}

} // namespace

class TestAudienceView : public QObject {
    Q_OBJECT
private slots:
    void tickingTheBoxServesThePage();
    void portInUseIsShown();
    void keysRoundTripThroughTheStartupFile();
    void qrKeyShowsTheCodeOverTheScreen();
};

void TestAudienceView::tickingTheBoxServesThePage() {
    StationFixture s;
    Station& st = *s.station;
    st.Timer2Timer();
    TMainConsole& m = *st.main();
    QVERIFY(!m.CheckBoxAudience->isChecked()); // off by default
    QCOMPARE(m.EditAudiencePort->text(), QStringLiteral("8080"));
    QVERIFY(m.LabelAudienceQr->text().isEmpty());

    const int port = freePort();
    m.EditAudiencePort->setText(QString::number(port));
    QSignalSpy address(&st.audience(), &AudienceView::addressChanged);
    m.CheckBoxAudience->click();
    const QString url = QStringLiteral("http://%1:%2/").arg(m.Edit35->text()).arg(port);
    QCOMPARE(m.LabelAudience->text(), url);
    QCOMPARE(address.size(), 1);
    QCOMPARE(address.at(0).at(0).toString(), url);
    QVERIFY(get(port, "/").startsWith("HTTP/1.1 200"));

    // The page follows the station's own record.
    QWebSocket viewer;
    QStringList texts;
    connect(&viewer, &QWebSocket::textMessageReceived, [&](const QString& t) { texts << t; });
    viewer.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
    QTRY_COMPARE(texts.size(), 1);
    st.record().append(QStringLiteral("ようこそ"), {});
    QTRY_VERIFY(texts.size() > 1 && texts.last().contains(QStringLiteral("ようこそ")));

    // Another port while on moves the page there.
    const int other = freePort();
    m.EditAudiencePort->setText(QString::number(other));
    QCOMPARE(m.LabelAudience->text(),
             QStringLiteral("http://%1:%2/").arg(m.Edit35->text()).arg(other));
    QVERIFY(get(other, "/").startsWith("HTTP/1.1 200"));
    QVERIFY(get(port, "/").isEmpty());

    m.CheckBoxAudience->click();
    QVERIFY(m.LabelAudience->text().isEmpty());
    QCOMPARE(address.last().at(0).toString(), QString());
    QVERIFY(get(other, "/").isEmpty());
}

void TestAudienceView::portInUseIsShown() {
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::Any, 0));
    StationFixture s;
    TMainConsole& m = *s.station->main();
    m.EditAudiencePort->setText(QString::number(holder.serverPort()));
    m.CheckBoxAudience->click();
    QCOMPARE(m.LabelAudience->text(), QStringLiteral("Port %1 is in use").arg(holder.serverPort()));
    QVERIFY(s.station->audience().address().isEmpty());
    QVERIFY(s.messages.shown.isEmpty()); // said on the page, not in a box
}

void TestAudienceView::keysRoundTripThroughTheStartupFile() {
    StationFixture s;
    Station& st = *s.station;
    st.Timer2Timer();
    TMainConsole& m = *st.main();
    QCOMPARE(st.settings().value(950), QStringLiteral("off"));
    QCOMPARE(st.settings().value(951), QStringLiteral("8080"));
    const int port = freePort();
    m.EditAudiencePort->setText(QString::number(port));
    m.CheckBoxAudience->click();
    QCOMPARE(st.settings().value(950), QStringLiteral("on"));
    QCOMPARE(st.settings().value(951), QString::number(port));
    st.settingsCommands().SaveStartupSettings();

    s.restart();
    Station& again = *s.station;
    QVERIFY(!again.main()->CheckBoxAudience->isChecked());
    again.Timer2Timer(); // applies the start-up file
    QVERIFY(again.main()->CheckBoxAudience->isChecked());
    QCOMPARE(again.main()->EditAudiencePort->text(), QString::number(port));
    QVERIFY(get(port, "/overlay").startsWith("HTTP/1.1 200"));

    // Values out of range are clamped as they are read.
    QVERIFY(again.settings().ApplySettings(
        {settings::kHeader, QStringLiteral("951:80:x"), QStringLiteral("950:off:x")}));
    QCOMPARE(again.main()->EditAudiencePort->text(), QStringLiteral("1024"));
    QVERIFY(!again.main()->CheckBoxAudience->isChecked());

    // Restoring the defaults turns the view off and the port back.
    again.main()->CheckBoxAudience->click();
    again.settingsCommands().RestoreDefaults();
    QVERIFY(!again.main()->CheckBoxAudience->isChecked());
    QCOMPARE(again.main()->EditAudiencePort->text(), QStringLiteral("8080"));
}

void TestAudienceView::qrKeyShowsTheCodeOverTheScreen() {
    StationFixture s;
    Station& st = *s.station;
    st.Timer2Timer();
    TMainConsole& m = *st.main();
    m.show();
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    QrOverlay& qr = st.audience().qrOverlay();
    QCOMPARE(qr.interval(), QrOverlay::kDefaultShowMs);
    m.RichEdit1->setFocus(); // the key works while typing
    QVERIFY(m.RichEdit1->hasFocus());

    // Not served: the key shows nothing.
    pressQrKey(&m);
    QVERIFY(!qr.isShown());

    m.EditAudiencePort->setText(QString::number(freePort()));
    m.CheckBoxAudience->click();
    const QString address = st.audience().address();
    QVERIFY(!address.isEmpty());
    pressQrKey(&m);
    checkOverlay(qr, m.Image1, address);
    QVERIFY(!m.Image1->isAncestorOf(qr.widget()));
    pressQrKey(&m); // again: hidden at once
    QVERIFY(!qr.isShown());

    // It goes by itself after its interval.
    qr.setInterval(50);
    pressQrKey(&m);
    QVERIFY(qr.isShown());
    QTRY_VERIFY(!qr.isShown());

    // Frameless, the code covers the picture over the whole window.
    st.modes().toggleFrameless();
    QVERIFY(st.modes().frameless());
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    qr.setInterval(QrOverlay::kDefaultShowMs);
    pressQrKey(&m);
    checkOverlay(qr, m.Image2, address);
    // It stays centred when the window changes size, and goes when the
    // display leaves frameless mode (its picture is hidden).
    m.resize(m.width() + 120, m.height() + 60);
    QTRY_COMPARE(m.Image2->width(), m.width());
    checkOverlay(qr, m.Image2, address);
    st.modes().toggleFrameless();
    QVERIFY(!st.modes().frameless());
    QVERIFY(!qr.isShown());
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    pressQrKey(&m);
    checkOverlay(qr, m.Image1, address);

    // Closing the view takes the code away, and the key shows none after.
    m.CheckBoxAudience->click();
    QVERIFY(!qr.isShown());
    pressQrKey(&m);
    QVERIFY(!qr.isShown());
}

QTEST_MAIN(TestAudienceView)
#include "tst_audience_view.moc"
