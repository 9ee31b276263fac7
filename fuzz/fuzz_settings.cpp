// Settings files arrive from other PCs and, as remote settings, from the
// network: the reader must take any bytes, and whatever it took must survive
// a write and a read unchanged.

#include "fuzz_check.h"
#include "settings/catalogue.h"
#include "settings/settings_file.h"
#include "settings/settings_registry.h"
#include "text/cp932.h"

#include <cstddef>
#include <cstdint>

namespace {

struct Reader {
    Reader() {
        r.hooks().explanation = [](const QString&) {};
        r.hooks().error = [](const QString&) {};
        r.hooks().computedDefault = [](int) { return QStringLiteral("80"); };
        r.hooks().command = [](int key, const QString&) { return key == 607; };
        r.parkComputedDefaults();
    }
    quorel::settings::SettingsRegistry r;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines = quorel::settings::splitLines(quorel::text::decode(input));

    // As the file came, and with the header in front, so that the lines reach
    // the keys and not only the header check.
    Reader plain;
    plain.r.ApplySettings(lines);
    lines.prepend(quorel::settings::kHeader);
    Reader reader;
    reader.r.ApplySettings(lines);

    // Written, the lines read back to the same values; the file's bytes
    // agree with its lines.
    const QStringList written = reader.r.WriteSettings();
    QUOREL_FUZZ_CHECK(written.size() == 299);
    QUOREL_FUZZ_CHECK(quorel::settings::splitLines(
                          quorel::text::decode(quorel::settings::joinLines(written))) == written);
    Reader again;
    QUOREL_FUZZ_CHECK(again.r.ApplySettings(written));
    QUOREL_FUZZ_CHECK(again.r.WriteSettings() == written);
    return 0;
}
