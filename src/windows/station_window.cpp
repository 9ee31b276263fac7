#include "windows/station_window.h"

namespace quorel {

static QString untitled(const QString& suffix) {
    // Until a channel is chosen the title carries no channel number.
    QString t = suffix;
    if (t.startsWith(QLatin1String(" :")))
        t.remove(0, 2);
    return t.trimmed();
}

StationWindow::StationWindow(const QString& objectName, const QString& titleSuffix, QWidget* parent)
    : QWidget(parent, Qt::Window), titleSuffix_(titleSuffix) {
    setObjectName(objectName);
    setWindowTitle(untitled(titleSuffix));
}

} // namespace quorel

namespace quorel {

void markExplanation(QWidget* label) {
    label->setProperty("explanation", true);
}

bool isExplanation(const QWidget* label) {
    return label->property("explanation").toBool();
}

} // namespace quorel
