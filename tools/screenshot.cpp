// Takes a screenshot of a real main window with a few captions on its screen,
// for the README. Run under an X server (scripts/screenshot uses Xvfb).

#include "app/main_console.h"
#include "app/station.h"
#include "caption/input_edit.h"
#include "caption/input_part.h"
#include "station_fixture.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorel_screenshot OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    quorel::test::StationFixture f;
    quorel::Station& s = *f.station;
    s.main()->show();
    s.Timer2Timer();
    const QStringList sentences{
        QStringLiteral("皆さん、こんにちは。"),
        QStringLiteral("本日は情報保障についてお話しします。"),
        QStringLiteral("字幕は二人の入力者が交代で入力しています。"),
        QStringLiteral("質問は最後にまとめてお受けします。"),
    };
    int next = 0;
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        if (next < sentences.size())
            s.input().sendSentence(sentences[next++]);
    });
    feeder.start(300);
    QTimer::singleShot(4500, [&] {
        s.main()->RichEdit1->setPlainText(QStringLiteral("今日の講演の"));
        s.main()->RichEdit1->moveCursor(QTextCursor::End);
    });
    QTimer::singleShot(5000, [&] {
        const bool ok = s.main()->grab().save(out);
        std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(out));
        app.exit(ok ? 0 : 1);
    });
    return QApplication::exec();
}
