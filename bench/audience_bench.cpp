// A sentence enters the record while the audience view serves it: the cost of
// the record's listeners, one message built and queued per viewer. It must not
// grow with the record (a day's worth of lines) and stays small per viewer.
// The fan-out to 500 viewers is measured end to end as well.

#include "captions.h"
#include "web/audience_server.h"
#include "wire/display_record.h"

#include "process_memory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWebSocket>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <ctime>
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

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// One caption fanned out to many viewers on loopback. The timed part is the
// station's own work: the append and every viewer's message built and queued.
// "last_viewer_ms" is from the append until the last viewer has the message
// (the viewers are WebSocket clients in this process, standing in for the
// pages). The memory of the viewers (both ends of each connection, so an
// upper bound for the station's share) and the CPU while they idle for two
// seconds are printed as counters.
void BM_FanOut(benchmark::State& state) {
    const int viewerCount = static_cast<int>(state.range(0));
    // Two sockets a viewer in this process, more than the usual 1024 files.
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);

    DisplayRecord record;
    for (int i = 0; i < 100; ++i)
        record.addLine(caption(i));
    web::AudienceServer server(record);
    if (!server.start(0)) {
        state.SkipWithError("no port");
        return;
    }
    const long before = test::residentKiB();
    std::vector<std::unique_ptr<QWebSocket>> viewers;
    int snapshots = 0;
    int changes = 0;
    for (int i = 0; i < viewerCount; ++i) {
        auto ws = std::make_unique<QWebSocket>();
        QObject::connect(ws.get(), &QWebSocket::textMessageReceived,
                         [&snapshots, &changes](const QString& t) {
                             if (t.contains(QLatin1String("\"snapshot\"")))
                                 ++snapshots;
                             else if (t.contains(QLatin1String("\"change\"")))
                                 ++changes;
                         });
        ws->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(server.port())));
        viewers.push_back(std::move(ws));
    }
    if (!QTest::qWaitFor(
            [&] { return server.viewerCount() == viewerCount && snapshots >= viewerCount; },
            60000)) {
        state.SkipWithError("the viewers did not connect");
        return;
    }
    const long after = test::residentKiB();

    // Idle: only the event loop and the pings' timers.
    const double cpu0 = cpuSeconds();
    QElapsedTimer idle;
    idle.start();
    {
        QEventLoop loop;
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const double idleCpu = (cpuSeconds() - cpu0) / (double(idle.elapsed()) / 1000.0);

    const DisplayRecord::AppendOptions plain{};
    int n = 0;
    double lastViewerMs = 0;
    for (auto _ : state) {
        changes = 0;
        QElapsedTimer t;
        t.start();
        record.append(caption(n++), plain);
        state.PauseTiming();
        static_cast<void>(QTest::qWaitFor([&] { return changes >= viewerCount; }, 10000));
        lastViewerMs += double(t.nsecsElapsed()) / 1e6;
        record.removeLastLine();
        static_cast<void>(QTest::qWaitFor([&] { return changes >= 2 * viewerCount; }, 10000));
        state.ResumeTiming();
    }
    state.counters["viewers"] = viewerCount;
    state.counters["last_viewer_ms"] =
        state.iterations() > 0 ? lastViewerMs / double(state.iterations()) : 0;
    state.counters["kib_per_viewer"] = double(after - before) / viewerCount;
    state.counters["idle_cpu_percent"] = 100.0 * idleCpu;
}
BENCHMARK(BM_FanOut)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace
} // namespace quorel::bench
