#pragma once
// Base of every window of the station except the splash. Closing a window only
// hides it: each window object lives from start to end of the program, and the
// same object is shown again later.

#include <QString>
#include <QWidget>

namespace quorel {

class StationWindow : public QWidget {
    Q_OBJECT
public:
    // `titleSuffix` follows the channel number in the title (" : 連絡(ctrl+r)").
    StationWindow(const QString& objectName, const QString& titleSuffix, QWidget* parent = nullptr);
    const QString& titleSuffix() const { return titleSuffix_; }

private:
    QString titleSuffix_;
};

} // namespace quorel
