#include "app/application.h"
#include "app/entry.h"
#include "app/instance_guard.h"
#include "app/main_console.h"
#include "app/services.h"
#include "app/station.h"
#include "app/unix_signals.h"
#include "net/udp_network.h"

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

    quorel::QtClipboard clipboard;
    quorel::UdpNetwork network;
    quorel::Station station({&messages, &clipboard, &network, QString(), true});
    QObject::connect(&station, &quorel::Station::finished, &app, &QApplication::quit);
    quorel::UnixSignals signals_;
    QObject::connect(&signals_, &quorel::UnixSignals::terminate, station.main(), &QWidget::close);

    QApplication::exec();
    guard.release();
    return 0;
}
