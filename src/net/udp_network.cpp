#include "net/udp_network.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

namespace quorel {

namespace {

class UdpSocket final : public DatagramSocket {
public:
    UdpSocket() { connect(&socket_, &QUdpSocket::readyRead, this, &DatagramSocket::readyRead); }

    bool bind(quint16 port) override {
        // Exclusive: a second station on the same channel must not share the
        // port (it would steal half of the datagrams).
        return socket_.bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress);
    }

    void close() override { socket_.close(); }

    void sendTo(const QByteArray& data, std::uint32_t address, quint16 port) override {
        // Refused or failed sends are silent: UDP promises nothing anyway.
        socket_.writeDatagram(data, QHostAddress(address), port);
    }

    bool hasPending() const override { return socket_.hasPendingDatagrams(); }

    Datagram take(int maxSize) override {
        Datagram d;
        const qint64 size = socket_.pendingDatagramSize();
        QNetworkDatagram nd = socket_.receiveDatagram(std::max<qint64>(size, 0));
        d.from = nd.senderAddress().toIPv4Address();
        d.port = static_cast<quint16>(std::max(nd.senderPort(), 0));
        if (size > maxSize)
            d.tooLarge = true;
        else
            d.data = nd.data();
        return d;
    }

private:
    QUdpSocket socket_;
};

} // namespace

std::unique_ptr<DatagramSocket> UdpNetwork::createSocket() {
    return std::make_unique<UdpSocket>();
}

std::optional<std::uint32_t> UdpNetwork::resolve(const QString& hostName) {
    const QHostInfo info = QHostInfo::fromName(hostName);
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a.toIPv4Address();
    return std::nullopt;
}

std::optional<QString> UdpNetwork::hostName() const {
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

QStringList UdpNetwork::localAddresses() const {
    QStringList out;
    QStringList loopback;
    for (const QNetworkInterface& nif : QNetworkInterface::allInterfaces()) {
        const auto flags = nif.flags();
        if (!(flags & QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& e : nif.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol)
                ((flags & QNetworkInterface::IsLoopBack) ? loopback : out) << e.ip().toString();
    }
    // A PC without a network still answers to its name at the loopback. The
    // station must see that address, not none: its address rule turns it into
    // the stand-in address and the station starts and runs alone, where no
    // address at all would stop the start.
    return out.isEmpty() ? loopback : out;
}

} // namespace quorel
