// From Enter on one station to the line in another station's record. Nothing
// but the network should stand between two stations, so the target is well
// under a millisecond. Each run sends many captions one after the other and
// reports the median and the 99th percentile.

#include "app/main_console.h"
#include "caption/input_part.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "net/udp_network.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace quorel;

namespace {

constexpr int kCaptions = 2000;

void report(benchmark::State& state, std::vector<double>& us) {
    std::sort(us.begin(), us.end());
    state.counters["median_us"] = us[us.size() / 2];
    state.counters["p99_us"] = us[us.size() * 99 / 100];
    state.counters["max_us"] = us.back();
}

// Waits, running the event loop, until `done` holds; false after 1 s.
template <class F> bool runUntil(F done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (t.elapsed() > 1000)
            return false;
    }
    return true;
}

void BM_CaptionVirtualLan(benchmark::State& state) {
    test::Lan net;
    Station& a = net.add();
    Station& b = net.add();
    runUntil([&] { return a.members().companion(0) && b.members().companion(0); });
    net.settle();
    std::vector<double> us;
    for (auto _ : state) {
        for (int i = 0; i < kCaptions; ++i) {
            const int before = b.record().lineCount();
            QElapsedTimer t;
            t.start();
            a.input().sendSentence(QStringLiteral("ただいまから講演を始めます。%1").arg(i));
            if (!runUntil([&] { return b.record().lineCount() > before; })) {
                state.SkipWithError("a caption did not arrive");
                return;
            }
            us.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    report(state, us);
}
BENCHMARK(BM_CaptionVirtualLan)->Iterations(1)->Unit(benchmark::kMicrosecond);

// The receiving half over real sockets: a caption datagram sent on loopback
// to a station's caption port, until the line is in its record (kernel, event
// loop, decoding, cleaning and the record).
void BM_CaptionRealSocket(benchmark::State& state) {
    test::RecordingMessages messages;
    test::FakeClipboard clipboard;
    UdpNetwork network;
    Station::Environment env;
    env.messages = &messages;
    env.clipboard = &clipboard;
    env.network = &network;
    env.splash = false;
    Station s(env);
    if (!s.endpoint(QStringLiteral("TMainConsole"), QStringLiteral("NMUDP1"))->isBound()) {
        state.SkipWithError("port 6711 is taken on this machine");
        return;
    }
    QUdpSocket sender;
    const QByteArray caption = QStringLiteral("ただいまから講演を始めます。").toUtf8();
    std::vector<double> us;
    for (auto _ : state) {
        for (int i = 0; i < kCaptions; ++i) {
            const int before = s.record().lineCount();
            QElapsedTimer t;
            t.start();
            sender.writeDatagram(text::encode(QStringLiteral("講演%1").arg(i)),
                                 QHostAddress::LocalHost, 6711);
            if (!runUntil([&] { return s.record().lineCount() > before; })) {
                state.SkipWithError("a caption did not arrive");
                return;
            }
            us.push_back(t.nsecsElapsed() / 1000.0);
        }
    }
    report(state, us);
}
BENCHMARK(BM_CaptionRealSocket)->Iterations(1)->Unit(benchmark::kMicrosecond);

} // namespace
