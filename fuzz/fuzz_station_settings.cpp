// Settings files and remote settings reach every control of a station: no
// list of lines may hang, crash or exhaust it. The lines are applied to one
// whole station, as a loaded file is.

#include "caption/screen_part.h"
#include "fuzz_check.h"
#include "settings/settings_file.h"
#include "settings/settings_registry.h"
#include "station_harness.h"
#include "text/cp932.h"

#include <cstddef>
#include <cstdint>

using namespace quorel;
using namespace quorel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StationHarness& h = StationHarness::instance();
    Station& st = h.station();
    QStringList lines = settings::splitLines(
        text::decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size))));
    lines.prepend(settings::kHeader);
    st.settings().ApplySettings(lines);
    h.settle();
    for (QWidget* w : st.windows())
        w->hide();
    st.screen().redrawBoth();
    // Whatever was applied can be written and applied again.
    const QStringList written = st.settings().WriteSettings();
    QUOREL_FUZZ_CHECK(written.size() == 299);
    QUOREL_FUZZ_CHECK(st.settings().ApplySettings(written));
    h.settle();
    return 0;
}
