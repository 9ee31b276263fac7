#pragma once
// Several stations on one in-process LAN (192.168.1.0/24), and bare peers that
// speak the wire by hand, for tests that watch exactly what crosses it.

#include "members/member_list.h"
#include "net/nmudp.h"
#include "station_fixture.h"
#include "text/cp932.h"

#include <QTest>
#include <deque>
#include <memory>

namespace quorel::test {

struct Received {
    QString text;
    QString from;
};

// A host with raw endpoints on chosen ports: sends what a test writes, keeps
// what arrives.
class Peer {
public:
    // Listens on every port of channel 1 from the start.
    Peer(VirtualLan& lan, const QString& address) : address_(address), net_(lan.addHost(address)) {
        for (int port = 6711; port <= 6736; ++port)
            endpoint(port);
    }
    const QString& address() const { return address_; }

    void send(const QString& to, int port, const QByteArray& bytes) {
        TNMUDP& e = endpoint(port);
        e.RemoteHost = to;
        e.RemotePort = port;
        e.SendDatagram(bytes);
    }
    void send(const QString& to, int port, const QString& text) {
        send(to, port, text::encode(text));
    }
    void send(const QString& to, int port, const char* text) {
        send(to, port, QString::fromUtf8(text));
    }
    // What arrived on `port`, oldest first.
    std::deque<Received>& on(int port) {
        endpoint(port);
        return received_[port];
    }
    QStringList texts(int port) {
        QStringList out;
        for (const Received& r : on(port))
            out << r.text;
        return out;
    }

private:
    TNMUDP& endpoint(int port) {
        auto it = endpoints_.find(port);
        if (it != endpoints_.end())
            return *it->second;
        auto e = std::make_unique<TNMUDP>(net_, TNMUDP::ErrorReporter{});
        e->setLocalPort(port);
        e->OnDataReceived = [this, port](TNMUDP* s, int n, const QString& from, int) {
            const auto t = s->receiveText(n, 4096);
            received_[port].push_back({t ? text::decode(*t) : QStringLiteral("<dropped>"), from});
        };
        TNMUDP& ref = *e;
        endpoints_.emplace(port, std::move(e));
        return ref;
    }

    QString address_;
    DatagramNetwork& net_;
    std::map<int, std::unique_ptr<TNMUDP>> endpoints_;
    std::map<int, std::deque<Received>> received_;
};

// How many member slots of the station are ticked.
inline int companions(Station& s) {
    int n = 0;
    for (int i = 0; i < 8; ++i)
        n += s.members().companion(i);
    return n;
}

struct Lan {
    Lan() { lan.addBroadcastAddress(QStringLiteral("192.168.1.255")); }
    // Station i lives at 192.168.1.(10 + i).
    Station& add() {
        const QString address = QStringLiteral("192.168.1.%1").arg(10 + int(stations.size()));
        stations.push_back(std::make_unique<StationFixture>(lan, address));
        return *stations.back()->station;
    }
    Peer& peer(const QString& address) {
        peers.push_back(std::make_unique<Peer>(lan, address));
        return *peers.back();
    }
    Station& operator[](std::size_t i) { return *stations[i]->station; }
    RecordingMessages& messages(std::size_t i) { return stations[i]->messages; }
    // Lets every queued datagram arrive.
    void settle() { QTest::qWait(20); }

    VirtualLan lan;
    std::vector<std::unique_ptr<StationFixture>> stations;
    std::vector<std::unique_ptr<Peer>> peers;
};

} // namespace quorel::test
