#include "net/nmudp.h"

#include "wire/address.h"

#include <QLoggingCategory>
#include <QTimer>
#include <cstring>

namespace quorel {

Q_LOGGING_CATEGORY(lcNet, "quorel.net", QtWarningMsg)

TNMUDP::TNMUDP(DatagramNetwork& network, ErrorReporter reportError, QObject* parent)
    : QObject(parent), network_(network), reportError_(std::move(reportError)) {
    socket_ = network_.createSocket();
    connect(socket_.get(), &DatagramSocket::readyRead, this, &TNMUDP::readPending);
}

void TNMUDP::setLocalPort(int port) {
    socket_->disconnect(this);
    socket_->close();
    socket_ = network_.createSocket();
    connect(socket_.get(), &DatagramSocket::readyRead, this, &TNMUDP::readPending);
    localPort_ = port;
    bound_ = port > 0 && port < 65536 && socket_->bind(static_cast<quint16>(port));
    qCDebug(lcNet) << objectName() << (bound_ ? "bound" : "could not bind") << port;
}

void TNMUDP::SendDatagram(const QByteArray& bytes) {
    if (bytes.isEmpty())
        throw UDPSockError(QStringLiteral("Invalid buffer"));
    std::optional<std::uint32_t> address = parseDottedIPv4(RemoteHost);
    if (!address && !RemoteHost.trimmed().isEmpty()) {
        address = network_.resolve(RemoteHost);
        if (!address)
            address = network_.resolve(RemoteHost); // once more, as the platform would
        if (!address)
            throw UDPSockError(QStringLiteral("Host Lookup Canceled"));
    }
    if (!address || *address == 0)
        throw UDPSockError(QStringLiteral("Null Remote Address"));
    qCDebug(lcNet) << objectName() << "send" << bytes.size() << "bytes to" << formatIPv4(*address)
                   << RemotePort;
    socket_->sendTo(bytes, *address, static_cast<quint16>(RemotePort));
}

std::optional<quint32> TNMUDP::lookUp(const QString& host) {
    std::optional<std::uint32_t> address = parseDottedIPv4(host);
    if (!address && !host.trimmed().isEmpty()) {
        address = network_.resolve(host);
        if (!address)
            address = network_.resolve(host);
    }
    if (!address || *address == 0)
        return std::nullopt;
    return *address;
}

void TNMUDP::readPending() {
    // A burst is handled in slices so that keys and timer ticks still get
    // their turn while datagrams pour in. The socket may be replaced by a
    // handler (a channel change); reading goes on from the current one.
    readScheduled_ = false;
    for (int n = 0; socket_->hasPending(); ++n) {
        if (n == kSlice) {
            if (!readScheduled_) {
                readScheduled_ = true;
                QTimer::singleShot(0, this, &TNMUDP::readPending);
            }
            return;
        }
        DatagramSocket::Datagram d = socket_->take(kReceiveBuffer);
        current_ = d.data;
        currentCount_ = d.tooLarge ? -1 : static_cast<int>(d.data.size());
        qCDebug(lcNet) << objectName() << "received" << currentCount_ << "bytes from"
                       << formatIPv4(d.from) << d.port;
        if (!OnDataReceived)
            continue;
        const QString from = formatIPv4(d.from);
        if (!reportError_) {
            OnDataReceived(this, currentCount_, from, d.port);
            continue;
        }
        try {
            OnDataReceived(this, currentCount_, from, d.port);
        } catch (const std::exception& e) {
            reportError_(QString::fromUtf8(e.what()));
        }
    }
}

int TNMUDP::ReadDatagram(char* buffer, int capacity) {
    if (currentCount_ < 0)
        return currentCount_;
    const int n = std::min(capacity, static_cast<int>(current_.size()));
    if (n > 0)
        std::memcpy(buffer, current_.constData(), static_cast<std::size_t>(n));
    return static_cast<int>(current_.size());
}

std::optional<QByteArray> TNMUDP::receiveText(int numberBytes, int bound) {
    // A failed receive is dropped like an over-long one rather than handled as
    // an empty message.
    if (numberBytes < 0 || numberBytes >= bound)
        return std::nullopt;
    QByteArray buffer(bound, '\0');
    ReadDatagram(buffer.data(), bound);
    const int nul = static_cast<int>(buffer.indexOf('\0'));
    buffer.truncate(nul < 0 ? bound : nul);
    return buffer;
}

} // namespace quorel
