#pragma once
// Membership and partner messages: comma-separated code page 932 text.
// Addresses and names travel as typed; receivers compare addresses as text.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace quorel::membership {

inline constexpr int kBound = 256; // receivers take datagrams shorter than this
inline constexpr int kMaxFields = 10;
inline constexpr int kMaxFieldBytes = 99;

inline const QString kReq = QStringLiteral("Req");
inline const QString kAns = QStringLiteral("Ans");
inline const QString kFul = QStringLiteral("Ful");
inline const QString kLeave = QStringLiteral("離脱");
inline const QString kReqPartner = QStringLiteral("Req-Partner");
inline const QString kCanPartner = QStringLiteral("Can-Partner");

// The fields of a received message. A message with more than kMaxFields
// fields or a field longer than kMaxFieldBytes is not one the station sends;
// it is refused (nothing) rather than cut into something that looks valid.
std::optional<QStringList> splitFields(QByteArrayView text);

// Field i, or an empty text when the message has no such field.
inline QString field(const QStringList& f, int i) {
    return i < f.size() ? f[i] : QString();
}

QByteArray request(const QString& own, const QString& name, int group);
QByteArray answer(const QString& own, const QString& addressee, const QString& name);
QByteArray full(const QString& own, const QString& requester, const QString& name);
QByteArray leave(const QString& own, const QString& name);
QByteArray partner(const QString& own, const QString& addressee, const QString& name,
                   const QString& kind, const QString& phase);

} // namespace quorel::membership
