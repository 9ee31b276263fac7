#pragma once
#include <QObject>

class QSocketNotifier;

namespace quorel {

// Turns SIGTERM and SIGINT into a Qt signal on the event loop, so that a
// station stopped from outside closes in order (like closing its window).
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;
signals:
    void terminate();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorel
