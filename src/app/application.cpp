#include "app/application.h"

#include "base/services.h"

#include <QDebug>
#include <QLoggingCategory>
#include <QWidget>
#include <exception>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcWindow)

QuorelApplication::QuorelApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // Where the keyboard is, for whoever drives the station from outside.
    connect(this, &QApplication::focusChanged, this, [](QWidget*, QWidget* now) {
        if (now != nullptr)
            qCDebug(lcWindow) << "focus on" << now->objectName();
    });
}

bool QuorelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        const QString text = QString::fromUtf8(e.what());
        qWarning("quorel: error in an event handler: %s", e.what());
        // A message box runs its own loop; an error raised while it is up is
        // only logged, so errors cannot pile up dialogs on top of each other.
        if (messages_ != nullptr && !reporting_) {
            reporting_ = true;
            messages_->show(text);
            reporting_ = false;
        }
    } catch (...) {
        qWarning("quorel: unknown error in an event handler");
        if (messages_ != nullptr && !reporting_) {
            reporting_ = true;
            messages_->show(QStringLiteral("Unknown error"));
            reporting_ = false;
        }
    }
    return false;
}

} // namespace quorel
