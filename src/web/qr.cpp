#include "web/qr.h"

#include <qrencode.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace quorel {

QImage qrImage(const QString& text, int moduleSize) {
    const QByteArray data = text.toUtf8();
    if (data.isEmpty() || moduleSize < 1)
        return {};
    // Byte mode keeps the text exactly as given, NULs included.
    std::unique_ptr<QRcode, void (*)(QRcode*)> code(
        QRcode_encodeData(int(data.size()),
                          reinterpret_cast<const unsigned char*>(data.constData()), 0,
                          QR_ECLEVEL_M),
        QRcode_free);
    if (!code)
        return {};
    const int modules = code->width + 2 * kQrQuietModules;
    // The largest symbol is 177 modules; a huge module size must not
    // overflow the side.
    if (moduleSize > std::numeric_limits<int>::max() / 2 / modules)
        return {};
    const int side = modules * moduleSize;
    QImage image(side, side, QImage::Format_Grayscale8);
    if (image.isNull())
        return {};
    image.fill(0xff);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // Bit 0 of each module tells whether it is dark.
            if (!(code->data[y * code->width + x] & 1))
                continue;
            const int left = (x + kQrQuietModules) * moduleSize;
            const int top = (y + kQrQuietModules) * moduleSize;
            for (int row = top; row < top + moduleSize; ++row) {
                uchar* line = image.scanLine(row);
                std::fill(line + left, line + left + moduleSize, uchar(0));
            }
        }
    }
    return image;
}

} // namespace quorel
