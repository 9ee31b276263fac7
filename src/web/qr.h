#pragma once
// QR codes for the join code of the audience view: a phone's camera opens the
// audience page from the picture on the station's screen.

#include <QImage>
#include <QString>

namespace quorel {

// The quiet zone around the symbol, in modules: scanners need four light
// modules on every side.
inline constexpr int kQrQuietModules = 4;

// The QR code of `text` (UTF-8, error correction level M, the smallest version
// that holds it): a square image, black modules on white, `moduleSize` pixels
// per module, with the quiet zone. A null image when the text is empty, too
// long for a QR code, or moduleSize is below 1.
QImage qrImage(const QString& text, int moduleSize);

} // namespace quorel
