#pragma once
// Base of every window of the station except the splash. Closing a window only
// hides it: each window object lives from start to end of the program, and the
// same object is shown again later.

#include <QString>
#include <QWidget>

namespace quorel {

// Labels that explain options take the explanation colour of the page
// colours, apart from the item text colour of the other controls.
void markExplanation(QWidget* label);
bool isExplanation(const QWidget* label);

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
