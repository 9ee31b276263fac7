#include "net/lumo_link.h"

#include "net/nmudp.h"
#include "wire/port_plan.h"

#include <QCheckBox>

namespace quorel {

bool LumoLink::enabled() const {
    return checkBox60_ != nullptr && checkBox60_->isChecked();
}

void LumoLink::SendLumoCopy(TNMUDP& endpoint, const QByteArray& bytes, int basePort) const {
    if (!enabled())
        return;
    const int saved = endpoint.RemotePort;
    endpoint.RemoteHost = QStringLiteral("127.0.0.1");
    endpoint.RemotePort = lumoPort(basePort);
    endpoint.SendDatagram(bytes);
    endpoint.RemotePort = saved;
}

bool LumoLink::dropsFrom(const QString& fromIP) const {
    return enabled() && fromIP == QLatin1String("127.0.0.1");
}

} // namespace quorel
