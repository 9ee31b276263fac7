// A sentence arrives at an idle smooth screen: the append and the first frame
// of the scroll, through the screen part of a whole Station. The record holds
// a few lines or a day's worth; the cost must not grow with it.

#include "app/main_console.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "captions.h"
#include "station_fixture.h"

#include <benchmark/benchmark.h>

namespace quorel::bench {
namespace {

void BM_AppendFrame(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    test::StationFixture fixture;
    Station& station = *fixture.station;
    ScreenPart& screen = station.screen();
    DisplayRecord& record = station.record();
    for (int i = record.lineCount(); i < lines; ++i)
        record.addLine(caption(i));
    // The screen rests at the end of the record ("RE"), as it does between
    // sentences.
    screen.Button13Click();
    // The sentences come from the same small set as the record's lines, so
    // after the first rounds every frame finds its strips made: the shaping of
    // a new line costs the same at any record size and would only blur what is
    // compared here.
    const SmoothRenderer& renderer = station.main()->Image1->renderer();
    for (int i = 0; i < kCaptionCount; ++i) {
        screen.appendSentence(caption(i), true);
        screen.Timer1Timer();
        if (renderer.lastFrame().empty() || renderer.lastFrame().back().line != lines) {
            state.SkipWithError("the frame does not show the new sentence");
            return;
        }
        record.removeLastLine();
        screen.Button13Click();
    }
    int n = 0;
    for (auto _ : state) {
        screen.appendSentence(caption(n++), true);
        screen.Timer1Timer();
        // Back to the resting screen with the record at its size. Stopping and
        // restarting the clock adds about 1.5 us to each round, the same at
        // every record size.
        state.PauseTiming();
        record.removeLastLine();
        screen.Button13Click();
        state.ResumeTiming();
    }
    if (record.lineCount() != lines)
        state.SkipWithError("the record did not keep its size");
    state.counters["lines"] = lines;
}
BENCHMARK(BM_AppendFrame)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorel::bench
