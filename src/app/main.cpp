#include "app/application.h"
#include "app/entry.h"
#include "app/instance_guard.h"
#include "app/main_console.h"
#include "app/station.h"
#include "app/unix_signals.h"
#include "base/services.h"
#include "net/udp_network.h"

#include <QTimer>

int main(int argc, char** argv) {
    quorel::QuorelApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorel"));
    // Auxiliary windows only hide; the program ends when the main window closes.
    QApplication::setQuitOnLastWindowClosed(false);
    quorel::QtMessages messages;
    app.setMessages(&messages);

    quorel::InstanceGuard guard(QStringLiteral("Quorel"));
    if (auto code = quorel::answerSecondInstance(guard, messages))
        return *code;

    // Installed before the station exists, so a station stopped while it
    // starts still closes in order.
    quorel::UnixSignals signals_;
    quorel::Station* running = nullptr;
    bool stopRequested = false;
    QObject::connect(&signals_, &quorel::UnixSignals::terminate, [&] {
        if (running != nullptr)
            running->main()->close();
        else
            stopRequested = true;
    });

    quorel::QtClipboard clipboard;
    quorel::UdpNetwork network;
    quorel::Station::Environment env;
    env.messages = &messages;
    env.clipboard = &clipboard;
    env.network = &network;
    // QUOREL_WHOLE_FRAMES=1: the smooth screen as it was drawn before it
    // tracked what changes, to compare with on the same machine.
    env.wholeFrames = qEnvironmentVariableIntValue("QUOREL_WHOLE_FRAMES") == 1;
    quorel::Station station(env);
    running = &station;
    QObject::connect(&station, &quorel::Station::finished, &app, &QApplication::quit);
    if (stopRequested)
        QTimer::singleShot(0, station.main(), &QWidget::close);

    QApplication::exec();
    guard.release();
    return 0;
}
