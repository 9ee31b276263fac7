#pragma once
// Resident memory of a process, for the tests that check that a station's
// memory stays in bounds.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace quorel::test {

// AddressSanitizer keeps freed memory in quarantine and adds its own, so a
// process's resident memory says little about leaks in that build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

// VmRSS of process `pid` (this process when 0) in KiB; -1 when unknown.
inline long residentKiB(qint64 pid = 0) {
    QFile f(pid == 0 ? QStringLiteral("/proc/self/status")
                     : QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace quorel::test
