// Every key release reports the input to the partner and to up to eight
// members, and every station receives those reports from all its members:
// both must stay far below what fast typing notices (target: 100 µs each).

#include "app/main_console.h"
#include "caption/caption_windows.h"
#include "caption/input_edit.h"
#include "caption/monitor.h"
#include "lan_fixture.h"
#include "members/member_list.h"
#include "members/partner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <benchmark/benchmark.h>

using namespace quorel;

namespace {

const QString kTyping = QStringLiteral("本日は情報保障についてお話しします。途中まで入力した");

void drain() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// A station with eight members (bare peers) and the first as its partner.
struct FullGroup {
    FullGroup() {
        station = &net.add();
        for (int i = 0; i < 8; ++i) {
            const QString address = QStringLiteral("192.168.1.%1").arg(40 + i);
            peers.push_back(&net.peer(address));
            peers.back()->send(QStringLiteral("192.168.1.10"), 6722,
                               address + QStringLiteral(",P,Req,1"));
        }
        for (int i = 0; i < 50; ++i)
            drain();
        peers[0]->send(QStringLiteral("192.168.1.10"), 6719,
                       QStringLiteral("192.168.1.40,192.168.1.10,P,Req-Partner,Req"));
        for (int i = 0; i < 50; ++i)
            drain();
        station->main()->RichEdit1->setPlainText(kTyping);
    }
    test::Lan net;
    Station* station = nullptr;
    std::vector<test::Peer*> peers;
};

void BM_MonitorReport(benchmark::State& state) {
    FullGroup g;
    if (!g.station->partner().flag() || !g.station->members().companion(7)) {
        state.SkipWithError("the group did not form");
        return;
    }
    for (auto _ : state) {
        g.station->monitor().report(0); // one partner datagram, eight member datagrams
        state.PauseTiming();
        drain(); // deliver them outside the measurement
        for (auto* p : g.peers)
            p->on(6721).clear(), p->on(6712).clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MonitorReport)->Unit(benchmark::kMicrosecond);

void BM_MonitorReceive(benchmark::State& state) {
    FullGroup g;
    QTextEdit* pane = g.station->eightPerson()->panes[3];
    const QByteArray body = text::encode(QStringLiteral("192.168.1.43,") + kTyping);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Different text each time, so every report really changes the pane.
        const QByteArray b = body + QByteArray::number(n++);
        g.peers[3]->send(QStringLiteral("192.168.1.10"), 6721, b);
        state.ResumeTiming();
        while (!pane->toPlainText().endsWith(QString::number(n - 1)))
            drain();
    }
}
BENCHMARK(BM_MonitorReceive)->Unit(benchmark::kMicrosecond);

} // namespace
