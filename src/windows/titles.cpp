#include "windows/titles.h"

#include "windows/station_window.h"

namespace quorel {

Titles::Titles(QWidget* main, QWidget* subInput, QList<StationWindow*> others)
    : mainWindow_(main), subWindow_(subInput), others_(std::move(others)) {
    main_ = {main->windowTitle(), main->windowTitle(), main->windowTitle()};
    sub_ = {kSubInputTitle, kSubInputTitle, kSubInputTitle};
}

void Titles::setUpAtStartup() {
    const QString t = mainWindow_->windowTitle();
    main_ = {t, t, t};
    sub_ = {kSubInputTitle, kSubInputTitle, kSubInputTitle};
    show();
}

void Titles::applyChannel(int itemIndex) {
    const QString n = QString::number(itemIndex + 1);
    main_.current = n + QStringLiteral(" : ") + main_.base;
    sub_.current = n + QStringLiteral(" : ") + sub_.base;
    for (StationWindow* w : others_)
        w->setWindowTitle(n + w->titleSuffix());
    show();
}

void Titles::setEncrypted(bool on) {
    if (on) {
        main_.current += kEncryptedMark;
        main_.base += kEncryptedMark;
        sub_.current += kEncryptedMark;
        sub_.base += kEncryptedMark;
    } else {
        main_.current = main_.base = main_.startup;
        sub_.current = sub_.base = sub_.startup;
    }
    show();
}

void Titles::show() {
    const QString partner = partnerName ? partnerName() : QString();
    showWithPartner(partner.isEmpty() ? QString()
                                      : QStringLiteral("<") + partner + QStringLiteral(">"));
}

void Titles::showWithPartner(const QString& suffix) {
    mainWindow_->setWindowTitle(main_.current + suffix);
    subWindow_->setWindowTitle(sub_.current + suffix);
}

} // namespace quorel
