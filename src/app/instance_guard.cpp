#include "app/instance_guard.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorel {

InstanceGuard::InstanceGuard(const QString& name) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return; // no guard available: behave as the first instance
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray key = QByteArrayLiteral("quorel-instance:") + name.toUtf8();
    const auto len = std::min<std::size_t>(key.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, key.constData(), len); // sun_path[0] == 0: abstract
    const auto addrLen = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + len);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), addrLen) != 0) {
        alreadyExists_ = (errno == EADDRINUSE);
        ::close(fd_);
        fd_ = -1;
    }
}

InstanceGuard::~InstanceGuard() {
    release();
}

void InstanceGuard::release() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace quorel
