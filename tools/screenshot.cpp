// Takes the README's screenshots of real windows: a station with captions on
// its screen, a two-person input station showing its partner's unfinished
// input, and a borderless display station. Run under an X server
// (scripts/screenshot uses Xvfb).

#include "app/main_console.h"
#include "app/screen_modes.h"
#include "app/station.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "caption/monitor.h"
#include "caption/screen_part.h"
#include "lan_fixture.h"
#include "members/partner.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

using namespace quorel;

namespace {

const QStringList kSentences{
    QStringLiteral("皆さん、こんにちは。"),
    QStringLiteral("本日は情報保障についてお話しします。"),
    QStringLiteral("字幕は二人の入力者が交代で入力しています。"),
    QStringLiteral("質問は最後にまとめてお受けします。"),
};

void wait(int ms) {
    QTest::qWait(ms);
}

bool save(QWidget* w, const QString& path) {
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorel_screenshot OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    test::Lan net;
    Station& a = net.add();
    Station& b = net.add();
    Station& display = net.add();
    for (Station* s : {&a, &b, &display}) {
        s->main()->show();
        s->Timer2Timer();
    }
    wait(300);
    // a and b type as a pair; the third shows the captions.
    for (int i = 0; i < 8; ++i)
        if (a.main()->memberAddress[std::size_t(i)]->text() == QLatin1String("192.168.1.11"))
            a.main()->memberBePartner[std::size_t(i)]->click();
    wait(300);
    for (const QString& s : kSentences) {
        a.input().sendSentence(s);
        wait(250);
    }
    wait(2000);
    a.main()->RichEdit1->setPlainText(QStringLiteral("次のスライドをご覧くだ"));
    a.main()->RichEdit1->moveCursor(QTextCursor::End);
    a.monitor().report(0);
    b.main()->RichEdit1->setPlainText(QString());
    wait(300);
    bool ok = save(a.main(), out.filePath(QStringLiteral("main-window.png")));
    ok = save(b.main(), out.filePath(QStringLiteral("two-person.png"))) && ok;

    TMainConsole& d = *display.main();
    d.resize(960, 540);
    d.Button16->click();
    wait(200);
    QTest::keyClick(d.Edit77, Qt::Key_F1); // borderless
    wait(200);
    QTest::keyClick(d.Edit77, Qt::Key_F3); // fit lines to the window
    QTest::keyClick(d.Edit77, Qt::Key_F2);
    wait(500);
    ok = save(&d, out.filePath(QStringLiteral("display.png"))) && ok;
    return ok ? 0 : 1;
}
