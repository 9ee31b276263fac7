// A sentence enters the record while the audience view serves it: the cost of
// the record's listeners, one message built and queued per viewer. It must not
// grow with the record (a day's worth of lines) and stays small per viewer.

#include "captions.h"
#include "web/audience_server.h"
#include "wire/display_record.h"

#include <QCoreApplication>
#include <QTest>
#include <QWebSocket>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace quorel::bench {
namespace {

void BM_AppendServed(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const int viewerCount = static_cast<int>(state.range(1));
    DisplayRecord record;
    for (int i = record.lineCount(); i < lines; ++i)
        record.addLine(caption(i));
    web::AudienceServer server(record);
    if (!server.start(0)) {
        state.SkipWithError("no port");
        return;
    }
    std::vector<std::unique_ptr<QWebSocket>> viewers;
    int snapshots = 0;
    for (int i = 0; i < viewerCount; ++i) {
        auto ws = std::make_unique<QWebSocket>();
        QObject::connect(ws.get(), &QWebSocket::textMessageReceived,
                         [&snapshots](const QString& t) {
                             if (t.contains(QLatin1String("\"snapshot\"")))
                                 ++snapshots;
                         });
        ws->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(server.port())));
        viewers.push_back(std::move(ws));
    }
    if (!QTest::qWaitFor(
            [&] { return server.viewerCount() == viewerCount && snapshots >= viewerCount; },
            10000)) {
        state.SkipWithError("the viewers did not connect");
        return;
    }
    const DisplayRecord::AppendOptions plain{};
    int n = 0;
    for (auto _ : state) {
        record.append(caption(n++), plain);
        // Back to the record's size, and the viewers read what was sent.
        state.PauseTiming();
        record.removeLastLine();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (record.lineCount() != lines)
        state.SkipWithError("the record did not keep its size");
    state.counters["lines"] = lines;
    state.counters["viewers"] = viewerCount;
}
BENCHMARK(BM_AppendServed)
    ->Args({100, 0})
    ->Args({100000, 0})
    ->Args({100, 20})
    ->Args({100000, 20})
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace quorel::bench
