#pragma once
// What a station needs of the network it is attached to: UDP sockets, name
// lookup and its own identity. The program uses the real network (UdpNetwork);
// tests attach several stations to one in-process VirtualLan.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace quorel {

// One IPv4 datagram socket.
class DatagramSocket : public QObject {
    Q_OBJECT
public:
    struct Datagram {
        QByteArray data;
        std::uint32_t from = 0; // IPv4, host byte order
        quint16 port = 0;
        bool tooLarge = false; // larger than the receive buffer: the bytes are gone
    };

    using QObject::QObject;
    // Binds 0.0.0.0:port exclusively (no address reuse). False when the port
    // is taken; the socket can still send, from a port the system chooses.
    virtual bool bind(quint16 port) = 0;
    virtual void close() = 0;
    virtual void sendTo(const QByteArray& data, std::uint32_t address, quint16 port) = 0;
    virtual bool hasPending() const = 0;
    // Takes the next datagram; one larger than maxSize is consumed and
    // flagged tooLarge.
    virtual Datagram take(int maxSize) = 0;

signals:
    void readyRead();
};

class DatagramNetwork {
public:
    virtual ~DatagramNetwork() = default;
    virtual std::unique_ptr<DatagramSocket> createSocket() = 0;
    // Name lookup; the first IPv4 address, or nothing.
    virtual std::optional<std::uint32_t> resolve(const QString& hostName) = 0;
    // The PC's host name, or nothing when it cannot be read.
    virtual std::optional<QString> hostName() const = 0;
    // The PC's IPv4 addresses on interfaces that are up, loopback excluded;
    // a PC with no other address reports its loopback address.
    virtual QStringList localAddresses() const = 0;
};

} // namespace quorel
