#pragma once
// The audience page's address as a large QR code, with the address written
// under it, shown for a few seconds over the display screen so that the
// audience can scan it from their seats.
//
// The overlay is a sibling of the picture it covers (a child of the picture's
// parent, raised above it and centred over it), never the picture's child:
// the picture scrolls its own contents, and its children would scroll along.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

namespace quorel {

class QrOverlay : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultShowMs = 8000;

    explicit QrOverlay(QObject* parent = nullptr);
    ~QrOverlay() override;

    // Shows the code of `address` over `picture` for interval() ms; called
    // while the code shows over that picture, hides it instead. It follows the
    // picture when that moves or is resized, and goes when that is hidden
    // (the display turning frameless hides one picture and shows the other).
    void toggle(QWidget* picture, const QString& address);
    void hide();
    bool isShown() const;

    int interval() const { return timer_.interval(); }
    void setInterval(int ms) { timer_.setInterval(ms); }
    // The overlay once it has been shown (null before, or after its parent
    // went): a frame holding the code and the address.
    QWidget* widget() const { return frame_; }
    QLabel* codeLabel() const { return code_; }
    QLabel* addressLabel() const { return text_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(QWidget* host);
    void place();

    QPointer<QWidget> frame_;
    QPointer<QWidget> picture_; // the picture the code covers
    int modules_ = 0;           // the code's width in modules
    QLabel* code_ = nullptr;    // children of frame_
    QLabel* text_ = nullptr;
    QTimer timer_;
};

} // namespace quorel
