#pragma once
#include "net/datagram_network.h"

namespace quorel {

// The real network: UDP sockets on 0.0.0.0, broadcasts allowed.
class UdpNetwork final : public DatagramNetwork {
public:
    std::unique_ptr<DatagramSocket> createSocket() override;
    std::optional<std::uint32_t> resolve(const QString& hostName) override;
    std::optional<QString> hostName() const override;
    QStringList localAddresses() const override;
};

} // namespace quorel
