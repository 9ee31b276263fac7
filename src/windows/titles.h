#pragma once
// Window titles carry the channel number, the encryption mark and the
// partner's name, so a typist always sees where each window is talking.
// The main window and the sub input window keep three texts each: the title
// at start-up, the base (extended by the encryption mark) and the current one
// (channel number plus base). The partner suffix is only ever shown.

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace quorel {

class StationWindow;

class Titles {
public:
    struct Texts {
        QString startup, base, current;
    };
    static inline const QString kEncryptedMark = QStringLiteral("【暗号化通信中】");
    static inline const QString kSubInputTitle = QStringLiteral("サブ入力ウィンド(ctrl+i)");

    Titles(QWidget* main, QWidget* subInput, QList<StationWindow*> others);

    // The name of the nominated partner, empty when there is none.
    std::function<QString()> partnerName;

    // End of start-up: all three texts from the titles at that moment.
    void setUpAtStartup();
    // Channel item index (n = index + 1, so -1 gives "0").
    void applyChannel(int itemIndex);
    void setEncrypted(bool on);
    // Shows the current titles, with the partner's name when there is one.
    void show();
    // Shows the current titles followed by `suffix` (the stored texts stay).
    void showWithPartner(const QString& suffix);

    const Texts& main() const { return main_; }
    const Texts& subInput() const { return sub_; }

private:
    QWidget* mainWindow_;
    QWidget* subWindow_;
    QList<StationWindow*> others_;
    Texts main_, sub_;
};

} // namespace quorel
