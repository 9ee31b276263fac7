#include "caption/audience_view.h"

#include "caption/qr_overlay.h"
#include "web/audience_server.h"

#include <QCheckBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>

namespace quorel {

Q_DECLARE_LOGGING_CATEGORY(lcCaption)

AudienceView::AudienceView(const Controls& c, DisplayRecord& record, QObject* parent)
    : QObject(parent), c_(c), server_(new web::AudienceServer(record, this)),
      qr_(new QrOverlay(this)) {
    connect(c_.CheckBoxAudience, &QCheckBox::toggled, this, [this] { CheckBoxAudienceClick(); });
    connect(c_.EditAudiencePort, &QLineEdit::editingFinished, this,
            [this] { EditAudiencePortChange(); });
    // A settings file sets the text without editing: the port follows it too.
    connect(c_.EditAudiencePort, &QLineEdit::textChanged, this, [this] {
        if (!c_.EditAudiencePort->hasFocus())
            EditAudiencePortChange();
    });
}

AudienceView::~AudienceView() = default;

void AudienceView::CheckBoxAudienceClick() {
    apply();
}

void AudienceView::EditAudiencePortChange() {
    if (c_.CheckBoxAudience->isChecked() &&
        server_->port() != quint16(c_.EditAudiencePort->text().toInt()))
        apply();
}

void AudienceView::QrKey() {
    if (address_.isEmpty()) {
        qr_->hide();
        return;
    }
    qr_->toggle(hooks_.screenPicture ? hooks_.screenPicture() : nullptr, address_);
}

void AudienceView::apply() {
    const QString before = address_;
    address_.clear();
    server_->stop();
    if (c_.CheckBoxAudience->isChecked()) {
        bool ok = false;
        const int port = c_.EditAudiencePort->text().toInt(&ok);
        if (!ok || port < 1024 || port > 65535) {
            c_.LabelAudience->setText(QStringLiteral("The port must be 1024 to 65535"));
        } else if (!server_->start(quint16(port))) {
            c_.LabelAudience->setText(server_->errorString());
        } else {
            const QString host = hooks_.ownAddress ? hooks_.ownAddress() : QString();
            address_ = QStringLiteral("http://%1:%2/")
                           .arg(host.isEmpty() ? QStringLiteral("localhost") : host)
                           .arg(port);
            c_.LabelAudience->setText(address_);
        }
    } else {
        c_.LabelAudience->clear();
    }
    if (address_ != before) {
        qCDebug(lcCaption).noquote()
            << "audience view:" << (address_.isEmpty() ? c_.LabelAudience->text() : address_);
        qr_->hide(); // a code of an address no longer served must not be scanned
        emit addressChanged(address_);
    }
}

} // namespace quorel
