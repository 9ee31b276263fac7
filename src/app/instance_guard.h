#pragma once
// Guards against starting a second station by accident. The guard is a named
// lock that the kernel drops when the process ends, so a crashed station never
// leaves a stale lock behind: an abstract-namespace Unix socket. Its names live
// per network namespace, so stations in separate namespaces do not see each
// other's guard.

#include <QString>

namespace quorel {

class InstanceGuard {
public:
    explicit InstanceGuard(const QString& name);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when another live process already holds the name.
    bool alreadyExists() const { return alreadyExists_; }
    void release();

private:
    int fd_ = -1;
    bool alreadyExists_ = false;
};

} // namespace quorel
