#pragma once
// Light scrambling of text messages with a password shared by the stations
// that work together. It keeps casual readers of the wire out; it is not strong
// protection, and the station says so when it is switched on.

#include <QByteArray>
#include <QObject>
#include <QString>

class QCheckBox;
class QLineEdit;

namespace quorel {

class Messages;
class Titles;
struct StationState;

class LinkEncryption : public QObject {
    Q_OBJECT
public:
    static inline const QString kDefaultPassword = QStringLiteral("共有する合言葉はここです");
    static inline const QString kStandInPassword = QStringLiteral("仮の共有合言葉です");
    static constexpr int kPasswordLimit = 254; // bytes

    struct Controls {
        QCheckBox* CheckBox42; // "通信を暗号化する。→パスワード"
        QLineEdit* Edit1;      // the password
        QCheckBox* CheckBox19; // messages enabled
    };

    LinkEncryption(const Controls& c, Titles& titles, StationState& state, Messages& messages,
                   QObject* parent = nullptr);

    bool enabled() const;
    // Unchanged while the switch is off.
    QByteArray Scramble(const QByteArray& text) const;
    QByteArray Unscramble(const QByteArray& text) const;
    void deriveKey();
    int keyOffset() const { return keyOffset_; }

    void CheckBox42Click();
    void Edit1Change();

    static const QString kExplanation;

private:
    Controls c_;
    Titles& titles_;
    StationState& state_;
    Messages& messages_;
    QByteArray key_;
    int keyOffset_ = 0;
};

} // namespace quorel
