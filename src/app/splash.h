#pragma once
#include <QWidget>

class QPushButton;

namespace quorel {

// Splash window shown while the station starts: 288 x 180, borderless, on top,
// with a small "×" that closes (and destroys) it.
class TForm12 : public QWidget {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);
    QPushButton* closeButton() const { return closeButton_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
    QPushButton* closeButton_;
};

} // namespace quorel
