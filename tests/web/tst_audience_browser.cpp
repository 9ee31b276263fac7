// The audience page in a real browser: headless Chromium at phone size loads
// the page of a station started by the test. A sentence the typist sends
// appears on it, F9 takes it away again, and after the station restarts the
// page finds it again by itself and shows its record. Screenshots of the page
// in each theme go to QUOREL_SCREENSHOT_DIR when that is set (the README's).

#include "app/main_console.h"
#include "app/station.h"
#include "caption/input_edit.h"
#include "headless_browser.h"
#include "station_fixture.h"
#include "typing.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>

using namespace quorel;
using quorel::test::HeadlessBrowser;
using quorel::test::StationFixture;

namespace {

constexpr int kShownMs = 15000;

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::Any);
    return probe.serverPort();
}

void serve(Station& st, quint16 port) {
    TMainConsole& m = *st.main();
    m.EditAudiencePort->setText(QString::number(port));
    if (!m.CheckBoxAudience->isChecked())
        m.CheckBoxAudience->click();
}

void send(Station& st, const QString& sentence) {
    TMainConsole& m = *st.main();
    m.RichEdit1->clear();
    m.RichEdit1->setFocus();
    quorel::test::type(m.RichEdit1, sentence);
    QTest::keyClick(m.RichEdit1, Qt::Key_Return);
}

} // namespace

class TestAudienceBrowser : public QObject {
    Q_OBJECT
private slots:
    void pageFollowsTheStationAcrossARestart();
    void themesAtPhoneSize();
};

void TestAudienceBrowser::pageFollowsTheStationAcrossARestart() {
    HeadlessBrowser browser;
    if (const QString why = browser.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    StationFixture f;
    f.station->Timer2Timer();
    const quint16 port = freePort();
    serve(*f.station, port);
    browser.open(QStringLiteral("http://127.0.0.1:%1/").arg(port));

    send(*f.station, QStringLiteral("the speaker welcomes everyone"));
    QTRY_VERIFY_WITH_TIMEOUT(browser.text().contains(QStringLiteral("welcomes everyone")),
                             kShownMs);
    // F9 takes the sentence back: the page loses it as the screen does.
    QTest::keyClick(f.station->main()->RichEdit1, Qt::Key_F9);
    QTRY_VERIFY_WITH_TIMEOUT(!browser.text().contains(QStringLiteral("welcomes everyone")),
                             kShownMs);

    send(*f.station, QStringLiteral("before the break"));
    QTRY_VERIFY_WITH_TIMEOUT(browser.text().contains(QStringLiteral("before the break")), kShownMs);
    // The station goes away: the page says so plainly.
    f.station.reset();
    QTRY_VERIFY_WITH_TIMEOUT(
        browser.evaluate(QStringLiteral("!document.getElementById('status').hidden")).toBool(),
        kShownMs);
    // It comes back on the same port with a record of its own; the page
    // reconnects without the reader doing anything.
    f.restart();
    f.station->Timer2Timer();
    serve(*f.station, port);
    send(*f.station, QStringLiteral("after the break"));
    QTRY_VERIFY_WITH_TIMEOUT(browser.text().contains(QStringLiteral("after the break")), 30000);
    QVERIFY(browser.evaluate(QStringLiteral("document.getElementById('status').hidden")).toBool());
    QVERIFY(!browser.text().contains(QStringLiteral("before the break")));
}

void TestAudienceBrowser::themesAtPhoneSize() {
    HeadlessBrowser browser;
    if (const QString why = browser.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    StationFixture f;
    f.station->Timer2Timer();
    const quint16 port = freePort();
    serve(*f.station, port);
    for (const QString& s : {QStringLiteral("Good morning, and welcome to the lecture."),
                             QStringLiteral("皆さん、おはようございます。"),
                             QStringLiteral("Today: captions on your own phone."),
                             QStringLiteral("字幕は手元でも読めます。")})
        send(*f.station, s);
    const QString shots = qEnvironmentVariable("QUOREL_SCREENSHOT_DIR");
    for (const QString& theme :
         {QStringLiteral("light"), QStringLiteral("dark"), QStringLiteral("contrast")}) {
        // The reader's choice is kept in the browser, so it survives a reload.
        browser.open(QStringLiteral("http://127.0.0.1:%1/").arg(port));
        QTRY_VERIFY_WITH_TIMEOUT(browser.text().contains(QStringLiteral("字幕は手元でも読めます")),
                                 kShownMs);
        browser.evaluate(QStringLiteral("const t = document.getElementById('theme');"
                                        "t.value = '%1'; t.dispatchEvent(new Event('input'));")
                             .arg(theme));
        browser.open(QStringLiteral("http://127.0.0.1:%1/").arg(port));
        QTRY_COMPARE_WITH_TIMEOUT(
            browser.evaluate(QStringLiteral("document.body.className")).toString(),
            QStringLiteral("theme-") + theme, kShownMs);
        QTRY_VERIFY_WITH_TIMEOUT(browser.text().contains(QStringLiteral("字幕は手元でも読めます")),
                                 kShownMs);
        if (!shots.isEmpty()) {
            QDir().mkpath(shots);
            QVERIFY(browser.screenshot(shots + QStringLiteral("/audience-%1.png").arg(theme)));
        }
    }
}

QTEST_MAIN(TestAudienceBrowser)
#include "tst_audience_browser.moc"
