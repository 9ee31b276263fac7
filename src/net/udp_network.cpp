#include "net/udp_network.h"

#include <QHostInfo>
#include <QNetworkInterface>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorel {

namespace {

// A plain non-blocking socket watched by a level-triggered notifier. Qt's
// QUdpSocket keeps a flag of its own between a read notification and the next
// read; when a socket error (an ICMP answer to a datagram the station sent)
// stands first in the queue, its peek reports nothing to read, the flag is
// never cleared, and the socket stops reporting datagrams for good. Under a
// flood every socket of a station went deaf that way. Here the notifier fires
// for as long as anything is queued, and an error is read and forgotten.
class UdpSocket final : public DatagramSocket {
public:
    UdpSocket() {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0)
            return;
        const int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &DatagramSocket::readyRead);
    }
    ~UdpSocket() override { close(); }

    bool bind(quint16 port) override {
        // Exclusive (no SO_REUSEADDR): a second station on the same channel
        // must not share the port; it would steal half of the datagrams.
        if (fd_ < 0)
            return false;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_ANY);
        return ::bind(fd_, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    }

    void close() override {
        notifier_.reset();
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    void sendTo(const QByteArray& data, std::uint32_t address, quint16 port) override {
        // Refused or failed sends are silent: UDP promises nothing anyway.
        if (fd_ < 0)
            return;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(address);
        ::sendto(fd_, data.constData(), std::size_t(data.size()), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&a), sizeof a);
    }

    bool hasPending() const override {
        if (fd_ < 0)
            return false;
        char c = 0;
        // A pending socket error answers the first look and is cleared by it;
        // the datagrams behind it answer the next.
        for (int tries = 0; tries < 4; ++tries) {
            const ssize_t n = ::recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT);
            if (n >= 0)
                return true;
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return false;
            if (errno != EINTR && errno != ECONNREFUSED && errno != EHOSTUNREACH &&
                errno != ENETUNREACH && errno != EMSGSIZE)
                return false;
        }
        return false;
    }

    Datagram take(int maxSize) override {
        Datagram d;
        if (fd_ < 0)
            return d;
        // The largest UDP datagram fits: anything is read whole or counted
        // as too large, never cut silently.
        if (buffer_.isEmpty())
            buffer_.resize(65536);
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        ssize_t n = -1;
        for (int tries = 0; tries < 4 && n < 0; ++tries) {
            n = ::recvfrom(fd_, buffer_.data(), std::size_t(buffer_.size()),
                           MSG_TRUNC | MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from),
                           &fromLength);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                break;
        }
        if (n < 0)
            return d;
        d.from = ntohl(from.sin_addr.s_addr);
        d.port = ntohs(from.sin_port);
        if (n > maxSize)
            d.tooLarge = true;
        else
            d.data = QByteArray(buffer_.constData(), qsizetype(n));
        return d;
    }

private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    QByteArray buffer_; // one receive buffer, reused
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
