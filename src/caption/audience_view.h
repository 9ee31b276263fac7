#pragma once
// The "Audience view" group on the "Auxiliary" page: the switch and the port
// of the station's read-only caption page for browsers on the LAN, and the
// label that shows the page's address or why the port could not be had. Its
// key (Ctrl+Q, set up by the station) shows the address as a QR code over
// the display screen for a few seconds.

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace quorel {

class DisplayRecord;
class QrOverlay;
namespace web {
class AudienceServer;
}

class AudienceView : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultPort = 8080;

    struct Controls {
        QCheckBox* CheckBoxAudience; // "Audience view"
        QLineEdit* EditAudiencePort; // 1024-65535
        QLabel* LabelAudience;       // the address, or the error
        QLabel* LabelAudienceQr;     // the address as a QR code (filled elsewhere)
    };
    struct Hooks {
        // The station's own address as the LAN sees it.
        std::function<QString()> ownAddress;
        // The picture the display screen draws on now; the QR key covers it.
        std::function<QWidget*()> screenPicture;
    };

    AudienceView(const Controls& c, DisplayRecord& record, QObject* parent = nullptr);
    ~AudienceView() override;
    Hooks& hooks() { return hooks_; }

    // The server, for parts that add pages of their own (it exists while the
    // station does, listening or not).
    web::AudienceServer& server() { return *server_; }
    // "http://<own address>:<port>/" while the page is served, else empty.
    QString address() const { return address_; }

    void CheckBoxAudienceClick();
    void EditAudiencePortChange();
    // The QR key: while the page is served, shows its address as a QR code
    // over the display screen for a few seconds, or hides a code that shows.
    // Nothing when the page is not served.
    void QrKey();
    QrOverlay& qrOverlay() { return *qr_; }

signals:
    // The page's address changed (empty when it is no longer served).
    void addressChanged(const QString& address);

private:
    void apply();

    Controls c_;
    Hooks hooks_;
    web::AudienceServer* server_;
    QrOverlay* qr_;
    QString address_;
};

} // namespace quorel
