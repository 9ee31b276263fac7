#include "wire/membership.h"

#include "text/cp932.h"

namespace quorel::membership {

std::optional<QStringList> splitFields(QByteArrayView text) {
    // A comma is never the second byte of a double-byte character, so the
    // bytes can be split before decoding.
    QStringList fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ',')
            continue;
        if (i - start > kMaxFieldBytes || fields.size() == kMaxFields)
            return std::nullopt;
        fields << text::decode(text.sliced(start, i - start));
        start = i + 1;
    }
    return fields;
}

namespace {
QByteArray join(const QStringList& f) {
    return text::encode(f.join(QLatin1Char(',')));
}
} // namespace

QByteArray request(const QString& own, const QString& name, int group) {
    return join({own, name, kReq, QString::number(group)});
}

QByteArray answer(const QString& own, const QString& addressee, const QString& name) {
    return join({own, addressee, name, kAns});
}

QByteArray full(const QString& own, const QString& requester, const QString& name) {
    return join({own, requester, name, kFul});
}

QByteArray leave(const QString& own, const QString& name) {
    return join({own, name, kLeave});
}

QByteArray partner(const QString& own, const QString& addressee, const QString& name,
                   const QString& kind, const QString& phase) {
    return join({own, addressee, name, kind, phase});
}

} // namespace quorel::membership
