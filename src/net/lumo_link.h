#pragma once
// Copies for the companion display program on the same PC: the senders of
// the copy table send the same bytes once more to 127.0.0.1 on base + 1200,
// and the receivers of that table drop datagrams from 127.0.0.1 (they are the
// display program's own) while the copies are on.

#include <QByteArray>
#include <QString>

class QCheckBox;

namespace quorel {

class TNMUDP;

class LumoLink {
public:
    explicit LumoLink(const QCheckBox* checkBox60) : checkBox60_(checkBox60) {}

    bool enabled() const;
    // After the normal send: the same bytes to 127.0.0.1:base+1200 when the
    // copies are on. RemotePort is put back; RemoteHost is not (every sender
    // sets it before its next send).
    void SendLumoCopy(TNMUDP& endpoint, const QByteArray& bytes, int basePort) const;
    // True when a received datagram must be dropped as the display program's.
    bool dropsFrom(const QString& fromIP) const;

private:
    const QCheckBox* checkBox60_;
};

} // namespace quorel
