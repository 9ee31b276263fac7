#pragma once
// The UDP endpoint every window uses: one IPv4 socket bound to LocalPort on
// 0.0.0.0, sending to RemoteHost:RemotePort. Callers set the destination right
// before each send; nothing is cached between sends.

#include "net/datagram_network.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <stdexcept>

namespace quorel {

class UDPSockError : public std::runtime_error {
public:
    explicit UDPSockError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

class TNMUDP : public QObject {
    Q_OBJECT
public:
    static constexpr int kReceiveBuffer = 2048;

    using OnReceive =
        std::function<void(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port)>;

    // Shows an error raised by the receive handler; the endpoint then goes on
    // with the next datagram.
    using ErrorReporter = std::function<void(const QString&)>;

    TNMUDP(DatagramNetwork& network, ErrorReporter reportError, QObject* parent = nullptr);

    QString RemoteHost;
    int RemotePort = 0;
    int ReportLevel = 1;

    int LocalPort() const { return localPort_; }
    // Rebinds: closes the socket, binds a new one. Unread datagrams are lost.
    // A port that is taken is not reported: the endpoint then only sends.
    void setLocalPort(int port);
    bool isBound() const { return bound_; }

    // One datagram to RemoteHost:RemotePort. Throws UDPSockError for an empty
    // buffer ("Invalid buffer"), an unresolvable host ("Host Lookup Canceled")
    // and 0.0.0.0 ("Null Remote Address").
    void SendDatagram(const QByteArray& bytes);
    // The address a send to `host` would go to, looked up as SendDatagram
    // would; nothing for a host that cannot be resolved or for 0.0.0.0. Lets
    // a sender of several datagrams find a bad destination before it sends
    // the first one.
    std::optional<quint32> lookUp(const QString& host);

    OnReceive OnDataReceived;

    // Inside OnDataReceived: copies the announced datagram (at most capacity
    // bytes) and returns its length; a failed receive returns the negative count
    // and copies nothing.
    int ReadDatagram(char* buffer, int capacity);

    // The receive steps every handler shares: ignore a datagram of `bound`
    // bytes or more (and a failed receive), read it into a zero-filled buffer of
    // `bound` bytes and cut the text at the first NUL.
    std::optional<QByteArray> receiveText(int numberBytes, int bound);

private:
    void readPending();
    static constexpr int kSlice = 64;
    bool readScheduled_ = false;

    DatagramNetwork& network_;
    ErrorReporter reportError_;
    std::unique_ptr<DatagramSocket> socket_;
    int localPort_ = 0;
    bool bound_ = false;
    QByteArray current_;
    int currentCount_ = 0;
};

} // namespace quorel
