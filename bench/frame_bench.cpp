// One frame of the smooth screen at full HD: 16 display lines of 48-point
// Japanese text, 64 dots apart, so 17 lines are on the picture while it moves.

#include "caption/smooth_renderer.h"
#include "captions.h"
#include "windows/fonts.h"
#include "wire/display_record.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace quorel::bench {
namespace {

const QSize kScreen(1920, 1080);
constexpr int kDisplayLines = 16;
constexpr int kSpacing = 64;
constexpr int kDistance = 2; // dots per step, the station's default

QFont captionFont() {
    return japaneseFont(kDefaultFace, 48);
}

// A record whose last lines fill the screen with different sentences.
DisplayRecord fullScreenRecord() {
    DisplayRecord record;
    for (int i = 0; i < kCaptionCount; ++i)
        record.addLine(caption(i));
    return record;
}

// state.range(0): 1 draws only the rows that changed, 0 every row of every
// frame as the screen first did.
void BM_SmoothFrame(benchmark::State& state) {
    const DisplayRecord record = fullScreenRecord();
    const int shown = record.lineCount() - 1;
    SmoothRenderer renderer;
    renderer.setIncremental(state.range(0) != 0);
    renderer.setFont(captionFont());
    renderer.resize(kScreen);
    // The first frame renders the strips; the screen then glides over them.
    renderer.render(record, shown, kDisplayLines, kSpacing, 0);
    if (renderer.lastFrame().size() != std::size_t{kDisplayLines + 1}) {
        state.SkipWithError("the frame does not show every display line");
        return;
    }
    int offset = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.render(record, shown, kDisplayLines, kSpacing, offset));
        offset = (offset + kDistance) % kSpacing;
    }
}
BENCHMARK(BM_SmoothFrame)
    ->ArgName("changed_rows_only")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// The same frame shaped and drawn from the text every time: what the strips save.
void BM_NaiveTextFrame(benchmark::State& state) {
    const DisplayRecord record = fullScreenRecord();
    const int shown = record.lineCount() - 1;
    const QFont font = captionFont();
    const int ascent = QFontMetrics(font).ascent();
    QImage image(kScreen, QImage::Format_RGB32);
    int offset = 0;
    for (auto _ : state) {
        QPainter p(&image);
        p.fillRect(image.rect(), Qt::white);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setRenderHint(QPainter::TextAntialiasing);
        for (int i = 0; i <= kDisplayLines; ++i)
            p.drawText(10, i * kSpacing - offset + ascent, record.line(shown - kDisplayLines + i));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
        offset = (offset + kDistance) % kSpacing;
    }
}
BENCHMARK(BM_NaiveTextFrame)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorel::bench
