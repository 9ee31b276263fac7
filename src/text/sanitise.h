#pragma once
// The one cleaning rule every text path shares (sent sentences, received
// captions, corrections): the text ends at its first NUL; a tab becomes a
// space; CR, LF, 0x20-0x7F and 0x81-0xFC stay; 0x80 and 0xA0 stay only as the
// second byte of a double-byte character; every other byte becomes "@".

#include <QByteArray>
#include <QString>

namespace quorel::text {

QByteArray sanitiseBytes(QByteArrayView bytes);

// The same rule applied to a control's text: encode, sanitise, decode.
QString sanitise(QStringView s);

} // namespace quorel::text
