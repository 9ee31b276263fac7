#include "net/virtual_lan.h"

#include <QHostAddress>
#include <QTimer>
#include <deque>

namespace quorel {

namespace {
constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr quint16 kFirstEphemeral = 49152;
} // namespace

class VirtualLan::Socket final : public DatagramSocket {
public:
    Socket(VirtualLan::Host& host) : host_(host) {}
    ~Socket() override;
    bool bind(quint16 port) override;
    void close() override;
    void sendTo(const QByteArray& data, std::uint32_t address, quint16 port) override;
    bool hasPending() const override { return !queue_.empty(); }
    Datagram take(int maxSize) override {
        Datagram d = std::move(queue_.front());
        queue_.pop_front();
        if (d.data.size() > maxSize) {
            d.data.clear();
            d.tooLarge = true;
        }
        return d;
    }
    void push(Datagram d) {
        queue_.push_back(std::move(d));
        emit readyRead();
    }
    quint16 port() const { return port_; }
    VirtualLan::Host& host() { return host_; }

private:
    VirtualLan::Host& host_;
    quint16 port_ = 0;
    std::deque<Datagram> queue_;
};

class VirtualLan::Host final : public DatagramNetwork {
public:
    Host(VirtualLan& lan, std::uint32_t address, QString name)
        : lan_(lan), address_(address), name_(std::move(name)) {}
    std::unique_ptr<DatagramSocket> createSocket() override {
        return std::make_unique<Socket>(*this);
    }
    std::optional<std::uint32_t> resolve(const QString& hostName) override {
        for (const auto& h : lan_.hosts_)
            if (h->name_.compare(hostName, Qt::CaseInsensitive) == 0)
                return h->address_;
        if (hostName == QLatin1String("localhost"))
            return kLoopback;
        return std::nullopt;
    }
    std::optional<QString> hostName() const override { return name_; }
    QStringList localAddresses() const override {
        return reported_ ? *reported_ : QStringList{QHostAddress(address_).toString()};
    }

    VirtualLan& lan_;
    std::uint32_t address_;
    QString name_;
    std::optional<QStringList> reported_;
    QHash<quint16, Socket*> bound_;
    quint16 nextEphemeral_ = kFirstEphemeral;
};

VirtualLan::Socket::~Socket() {
    close();
}

bool VirtualLan::Socket::bind(quint16 port) {
    close();
    if (host_.bound_.contains(port))
        return false;
    port_ = port;
    host_.bound_.insert(port, this);
    return true;
}

void VirtualLan::Socket::close() {
    if (port_ != 0 && host_.bound_.value(port_) == this)
        host_.bound_.remove(port_);
    port_ = 0;
    queue_.clear();
}

void VirtualLan::Socket::sendTo(const QByteArray& data, std::uint32_t address, quint16 port) {
    if (port_ == 0) {
        // Like a real socket: an unbound one sends from a port of its own.
        while (host_.bound_.contains(host_.nextEphemeral_))
            ++host_.nextEphemeral_;
        port_ = host_.nextEphemeral_++;
        host_.bound_.insert(port_, this);
    }
    host_.lan_.send(this, data, address, port);
}

VirtualLan::VirtualLan(QObject* parent) : QObject(parent) {
    broadcast_.insert(0xFFFFFFFF);
}

VirtualLan::~VirtualLan() = default;

DatagramNetwork& VirtualLan::addHost(const QString& address, const QString& hostName,
                                     std::optional<QStringList> reportedAddresses) {
    const std::uint32_t a = QHostAddress(address).toIPv4Address();
    const QString name = hostName.isEmpty() ? QStringLiteral("host-%1").arg(a & 0xFF) : hostName;
    hosts_.push_back(std::make_unique<Host>(*this, a, name));
    hosts_.back()->reported_ = std::move(reportedAddresses);
    return *hosts_.back();
}

void VirtualLan::addBroadcastAddress(const QString& address) {
    broadcast_.insert(QHostAddress(address).toIPv4Address());
}

void VirtualLan::setFaults(const Faults& f, unsigned seed) {
    faults_ = f;
    rng_.seed(seed);
}

void VirtualLan::send(Socket* from, const QByteArray& data, std::uint32_t to, quint16 port) {
    const std::uint32_t src = from->host().address_;
    traffic_.push_back({src, from->port(), to, port, data});
    std::vector<std::uint32_t> targets;
    if (to == kLoopback || to == src)
        targets.push_back(src);
    else if (broadcast_.contains(to))
        for (const auto& h : hosts_)
            targets.push_back(h->address_);
    else
        targets.push_back(to);

    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (std::uint32_t host : targets) {
        if (faults_.loss > 0 && chance(rng_) < faults_.loss)
            continue;
        const int copies = (faults_.duplicate > 0 && chance(rng_) < faults_.duplicate) ? 2 : 1;
        for (int c = 0; c < copies; ++c) {
            const std::uint32_t fromAddr = (to == kLoopback) ? kLoopback : src;
            if (faults_.reorder > 0 && chance(rng_) < faults_.reorder) {
                held_.push_back({host, fromAddr, port, from->port(), data});
                continue;
            }
            const quint16 fromPort = from->port();
            QTimer::singleShot(0, this, [this, host, port, fromAddr, fromPort, data] {
                deliver(host, port, fromAddr, fromPort, data);
                flushHeld();
            });
        }
    }
}

void VirtualLan::flushHeld() {
    // Held datagrams go out after the one that overtook them.
    std::vector<Held> held;
    held.swap(held_);
    for (Held& h : held)
        deliver(h.host, h.port, h.from, h.fromPort, h.data);
}

void VirtualLan::deliver(std::uint32_t host, quint16 port, std::uint32_t from, quint16 fromPort,
                         const QByteArray& data) {
    for (const auto& h : hosts_) {
        if (h->address_ != host)
            continue;
        if (Socket* s = h->bound_.value(port)) {
            if (delivered)
                delivered({from, fromPort, host, port, data});
            s->push({data, from, fromPort, false});
        }
        return;
    }
}

} // namespace quorel
