// An error escaping any event handler is shown to the user and the station
// goes on with the next event.

#include "app/application.h"
#include "station_fixture.h"

#include <QTimer>
#include <cstdio>
#include <stdexcept>

namespace {

class Throwing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("bad value in a handler");
        if (e->type() == QEvent::Type(QEvent::User + 1)) {
            ++handled;
            return true;
        }
        return QObject::event(e);
    }
};

int failures = 0;
void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what);
    if (!ok)
        ++failures;
}

} // namespace

int main(int argc, char** argv) {
    quorel::QuorelApplication app(argc, argv);
    quorel::test::RecordingMessages messages;
    app.setMessages(&messages);

    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::Type(QEvent::User + 1)));
    QTimer::singleShot(0, &app, [] { throw std::invalid_argument("timer handler failed"); });
    QTimer::singleShot(50, &app, &QCoreApplication::quit);
    QCoreApplication::exec();

    check(messages.shown.contains(QStringLiteral("bad value in a handler")),
          "an error in an event handler is shown");
    check(target.handled == 1, "the next event is still handled");
    check(messages.shown.contains(QStringLiteral("timer handler failed")),
          "an error in a timer handler is shown");
    std::printf("%d passed, %d failed\n", 3 - failures, failures);
    return failures == 0 ? 0 : 1;
}
