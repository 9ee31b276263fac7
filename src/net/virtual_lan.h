#pragma once
// An in-process local network for tests: hosts with their own addresses, one
// broadcast domain (a broadcast also reaches its sender, as on a real LAN),
// exclusive ports per host, and delivery queued on the event loop so no
// handler ever runs inside a send. Switches for loss, duplication and
// reordering exercise the fault paths.

#include "net/datagram_network.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>
#include <functional>
#include <random>
#include <vector>

namespace quorel {

class VirtualLan : public QObject {
    Q_OBJECT
public:
    struct Faults {
        double loss = 0.0;      // probability a datagram is dropped
        double duplicate = 0.0; // probability it is delivered twice
        double reorder = 0.0;   // probability it is held back behind later ones
    };
    // Every datagram that crossed the LAN, for tests that look at the wire.
    struct Sent {
        std::uint32_t from;
        quint16 fromPort;
        std::uint32_t to;
        quint16 toPort;
        QByteArray data;
    };

    explicit VirtualLan(QObject* parent = nullptr);
    ~VirtualLan() override;

    // Adds a host and returns the network a station on it uses. The address
    // is dotted IPv4; the host name defaults to "host-<last field>". What the
    // host reports as its own addresses defaults to its address (a PC with two
    // cards, or none, can be staged with `reportedAddresses`).
    DatagramNetwork& addHost(const QString& address, const QString& hostName = QString(),
                             std::optional<QStringList> reportedAddresses = std::nullopt);
    // Destinations that reach every host (besides 255.255.255.255).
    void addBroadcastAddress(const QString& address);

    void setFaults(const Faults& f, unsigned seed = 1);
    const std::vector<Sent>& traffic() const { return traffic_; }
    void clearTraffic() { traffic_.clear(); }
    // Told of every datagram as it reaches a bound port (after loss,
    // duplication and reordering), in arrival order.
    std::function<void(const Sent&)> delivered;

    class Host;
    class Socket;

private:
    friend class Host;
    friend class Socket;
    void send(Socket* from, const QByteArray& data, std::uint32_t to, quint16 port);
    void deliver(std::uint32_t host, quint16 port, std::uint32_t from, quint16 fromPort,
                 const QByteArray& data);
    void flushHeld();

    std::vector<std::unique_ptr<Host>> hosts_;
    QSet<std::uint32_t> broadcast_;
    Faults faults_;
    std::mt19937 rng_{1};
    struct Held {
        std::uint32_t host, from;
        quint16 port, fromPort;
        QByteArray data;
    };
    std::vector<Held> held_;
    std::vector<Sent> traffic_;
};

} // namespace quorel
