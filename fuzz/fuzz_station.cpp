// A station is a target on any LAN it joins: whatever arrives on any of its
// ports, from whoever, must leave it running, answering and drawing.
//
// Input: one byte of station state (bit 0 scrambling, 1 the LAN switch off,
// 2 correction mode and ruby messages taken, 3 the word-processor screen, 4 telops received, 5 the
// pre-roll window shown and following the line link, 6 the palette and its
// monitor shown, 7 the palette link on), then records of
//   [which: port of the plan (low 7 bits % 19) and sender (/ 19 % 5);
//           bit 7 sends the bytes as they are even with scrambling on]
//   [length: one byte; 255 adds 16 x the next byte, past the receive buffer]
//   [bytes]

#include "caption/screen_part.h"
#include "fuzz_check.h"
#include "members/member_list.h"
#include "station_harness.h"
#include "windows/info/information_window.h"
#include "windows/prepared/palette_window.h"
#include "windows/prepared/preroll_window.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <cstddef>
#include <cstdint>

using namespace quorel;
using namespace quorel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StationHarness& h = StationHarness::instance();
    Station& st = h.station();
    TMainConsole& m = *st.main();
    if (size == 0)
        return 0;

    // A record that grows over a long run would make every switch to the
    // word-processor screen slower; a fresh one keeps the run fast.
    if (st.record().lineCount() > 2000) {
        st.record().reset({});
        st.screen().resetToEnd();
    }

    // The state the datagrams meet: scrambling, the LAN switch, correction
    // mode and the word-processor screen.
    const std::uint8_t state = data[0];
    m.CheckBox42->setChecked(state & 1);
    m.CheckBox22->setChecked(!(state & 2));
    if (bool(state & 8) != st.screen().wordProcessorMode())
        st.screen().setScreenKind(state & 8 ? 1 : 0);
    m.CheckBox85->setChecked((state & 4) && st.screen().wordProcessorMode());
    {
        const QSignalBlocker quiet(m.CheckBox46); // the display options stay as they are
        m.CheckBox46->setChecked(state & 4);
    }
    st.information()->CheckBox12->setChecked(!(state & 16)); // telops received
    // A pre-roll window that follows the line link.
    TForm11& preroll = *st.preroll();
    preroll.setVisible(state & 32);
    {
        const QSignalBlocker quiet(preroll.CheckBox20); // no explanation box each time
        preroll.CheckBox20->setChecked(state & 32);
    }
    preroll.RadioButton12->setChecked(true);
    // A corrector's palette with its monitor, linked or not.
    st.palette()->setVisible(state & 64);
    st.paletteMonitor()->setVisible(state & 64);
    st.palette()->CheckBox30->setChecked(state & 128);
    h.join();

    std::size_t at = 1;
    for (int records = 0; records < 24 && at < size; ++records) {
        const std::uint8_t which = data[at++];
        const std::size_t index = std::size_t(which & 0x7F) % kPortPlan.size();
        const auto from =
            Sender((std::size_t(which & 0x7F) / kPortPlan.size()) % std::size_t(Sender::Count));
        std::size_t length = at < size ? data[at++] : 0;
        if (length == 255 && at < size)
            length += 16 * std::size_t(data[at++]);
        length = std::min(length, size - at);
        QByteArray bytes(reinterpret_cast<const char*>(data + at), qsizetype(length));
        at += length;
        if (m.CheckBox42->isChecked() && !(which & 0x80))
            bytes = st.encryption().Scramble(bytes);
        h.send(from, h.port(index), bytes);
        h.settle();
    }

    // Still a station: it answers a member search, and its record and screen
    // stay drawable.
    QUOREL_FUZZ_CHECK(st.main() != nullptr);
    st.screen().redrawBoth();
    m.CheckBox85->setChecked(false);
    return 0;
}
