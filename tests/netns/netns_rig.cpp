#include "netns_rig.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/prctl.h>
#include <tuple>
#include <unistd.h>

#ifndef QUOREL_STATION_BINARY
#define QUOREL_STATION_BINARY ""
#endif

namespace quorel::test {

namespace {

constexpr int stopGraceMs = 5000;

// Every process the rig starts dies with the test process, so a crashed test
// leaves no station or Xvfb behind (namespaces are swept at the next start).
void dieWithParent(QProcess& process) {
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127); // the parent is already gone
    });
}

CommandResult run(const QString& program, const QStringList& args, int timeoutMs,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    CommandResult result;
    QProcess process;
    dieWithParent(process);
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForStarted(timeoutMs)) {
        result.err = process.errorString().toLocal8Bit();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        result.err = "timed out: " + process.readAllStandardError();
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    return result;
}

QString findTool(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    return path;
}

// A zombie counts as dead: its test is over, only its parent has not reaped it.
bool processAlive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll(); // "pid (comm) S ..."
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) != "Z";
}

void killNamespaceProcesses(const QString& ipTool, const QString& ns) {
    const CommandResult pids = run(ipTool, {"netns", "pids", ns}, 5000);
    for (const QByteArray& line : pids.out.split('\n')) {
        bool ok = false;
        const qint64 pid = line.trimmed().toLongLong(&ok);
        if (ok && pid > 1 && pid != ::getpid())
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
}

// Removes the namespaces and station directories left by rigs whose test
// process is gone.
void removeStaleLeftovers(const QString& ipTool) {
    static const QRegularExpression ours(QStringLiteral("^qrl(\\d+)[a-z]"));
    const QDir temp(QDir::tempPath());
    const QStringList dirs =
        temp.entryList({QStringLiteral("qrl*")}, QDir::Dirs | QDir::NoSymLinks);
    for (const QString& dir : dirs) {
        const auto match = ours.match(dir);
        if (match.hasMatch() && !processAlive(match.captured(1).toLongLong()))
            QDir(temp.filePath(dir)).removeRecursively();
    }

    const CommandResult list = run(ipTool, {"netns", "list"}, 5000);
    for (const QByteArray& line : list.out.split('\n')) {
        // "qrl4711ah1 (id: 3)" or just "qrl4711ah1"
        const QString ns = QString::fromLocal8Bit(line).section(' ', 0, 0).trimmed();
        const auto match = ours.match(ns);
        if (!match.hasMatch() || processAlive(match.captured(1).toLongLong()))
            continue;
        qInfo().noquote() << "netns rig: removing stale namespace" << ns;
        killNamespaceProcesses(ipTool, ns);
        run(ipTool, {"netns", "del", ns}, 5000); // a parallel rig may have won the race
    }
}

bool isNumber(const QByteArray& field) {
    return !field.isEmpty() &&
           std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "0.0.0.0:6711", "*:5353", "[::]:6711", "0.0.0.0%eth0:68", "[fe80::1]%eth0:546",
// "[fe80::1%eth0]:546", "[::ffff:127.0.0.1]:9"
std::optional<UdpBinding> parseEndpoint(const QByteArray& field) {
    const qsizetype colon = field.lastIndexOf(':');
    if (colon <= 0)
        return std::nullopt;
    const QByteArray portText = field.mid(colon + 1);
    if (!isNumber(portText))
        return std::nullopt;
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port > 65535)
        return std::nullopt;

    QByteArray host = field.left(colon);
    QByteArray scope;
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        if (close < 0)
            return std::nullopt;
        const QByteArray rest = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (rest.startsWith('%'))
            scope = rest.mid(1);
    }
    if (const qsizetype percent = host.indexOf('%'); percent >= 0) {
        scope = host.mid(percent + 1);
        host = host.left(percent);
    }
    if (host.isEmpty())
        return std::nullopt;
    return UdpBinding{QString::fromLatin1(host), QString::fromLatin1(scope),
                      static_cast<quint16>(port)};
}

bool allowedDestination(const QHostAddress& to) {
    return to.isInSubnet(QHostAddress(QStringLiteral("192.168.77.0")), 24) ||
           to == QHostAddress(QHostAddress::LocalHost);
}

} // namespace

QString UdpBinding::toString() const {
    QString host = address.contains(':') ? '[' + address + ']' : address;
    if (!scope.isEmpty())
        host += '%' + scope;
    return host + ':' + QString::number(port);
}

struct NetnsRig::Station {
    std::unique_ptr<QProcess> process;
    std::unique_ptr<QTemporaryDir> runtime;
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<QTemporaryDir> work;
    QByteArray output;
    QByteArray partialLine;
};

NetnsRig::NetnsRig(int hosts) : hostCount_(hosts), stationBinary_(QUOREL_STATION_BINARY) {
    static std::atomic<int> rigs{0};
    rigIndex_ = rigs++ % 26;
    Q_ASSERT(hosts >= 1 && hosts <= maxHosts);
    for (int i = 0; i < hosts; ++i)
        stations_.push_back(std::make_unique<Station>());
    if (!setUp())
        tearDown();
}

NetnsRig::~NetnsRig() {
    tearDown();
}

QString NetnsRig::name(const QString& role) const {
    return QStringLiteral("qrl%1%2%3")
        .arg(::getpid())
        .arg(QChar(char16_t(u'a' + rigIndex_)))
        .arg(role);
}

QString NetnsRig::hostNamespace(int i) const {
    return name('h' + QString::number(i));
}
QString NetnsRig::probeNamespace() const {
    return name(QStringLiteral("p"));
}
QString NetnsRig::switchNamespace() const {
    return name(QStringLiteral("s"));
}
QStringList NetnsRig::namespaces() const {
    return created_;
}

QHostAddress NetnsRig::hostAddress(int i) {
    return QHostAddress(QStringLiteral("192.168.77.%1").arg(10 + i));
}
QHostAddress NetnsRig::probeAddress() {
    return QHostAddress(QStringLiteral("192.168.77.200"));
}

bool NetnsRig::ip(const QStringList& args, const QString& what) {
    const CommandResult r = run(ipTool_, args, 10000);
    if (r.ok())
        return true;
    skipReason_ = QStringLiteral("%1 failed (ip %2): %3")
                      .arg(what, args.join(' '), QString::fromLocal8Bit(r.err).trimmed());
    return false;
}

bool NetnsRig::setUp() {
    if (::geteuid() != 0) {
        skipReason_ =
            QStringLiteral("network namespace tests need root (euid %1)").arg(::geteuid());
        return false;
    }
    ipTool_ = findTool(QStringLiteral("ip"));
    ssTool_ = findTool(QStringLiteral("ss"));
    if (ipTool_.isEmpty() || ssTool_.isEmpty()) {
        skipReason_ = QStringLiteral("iproute2 (ip, ss) is not installed");
        return false;
    }
    removeStaleLeftovers(ipTool_);

    // The first `ip netns add` tells whether namespaces can be made here at all
    // (an unprivileged container refuses it).
    const QString sw = switchNamespace();
    const CommandResult add = run(ipTool_, {"netns", "add", sw}, 10000);
    if (!add.ok()) {
        skipReason_ = QStringLiteral("cannot create network namespaces (ip netns add %1): %2")
                          .arg(sw, QString::fromLocal8Bit(add.err).trimmed());
        return false;
    }
    created_ << sw;
    if (!ip({"-n", sw, "link", "set", "lo", "up"}, "switch loopback") ||
        !ip({"-n", sw, "link", "add", "br0", "type", "bridge"}, "bridge") ||
        !ip({"-n", sw, "link", "set", "br0", "up"}, "bridge up"))
        return false;

    // A host: its namespace, loopback, and eth0 whose peer is a bridge port.
    // Both ends are made directly in their namespaces, never in the root one.
    auto addHost = [&](const QString& ns, const QString& port, const QHostAddress& address) {
        if (!ip({"netns", "add", ns}, "namespace " + ns))
            return false;
        created_ << ns;
        return ip({"-n", ns, "link", "set", "lo", "up"}, "loopback of " + ns) &&
               ip({"-n", ns, "link", "add", "eth0", "type", "veth", "peer", "name", port, "netns",
                   sw},
                  "veth of " + ns) &&
               ip({"-n", sw, "link", "set", port, "master", "br0", "up"}, "bridge port " + port) &&
               ip({"-n", ns, "addr", "add", address.toString() + "/24", "dev", "eth0"},
                  "address of " + ns) &&
               ip({"-n", ns, "link", "set", "eth0", "up"}, "eth0 of " + ns);
    };
    for (int i = 1; i <= hostCount_; ++i) {
        if (!addHost(hostNamespace(i), 'v' + QString::number(i), hostAddress(i)))
            return false;
    }
    return addHost(probeNamespace(), QStringLiteral("vp"), probeAddress());
}

void NetnsRig::tearDown() {
    stopAll();
    probeSender_.reset();
    for (const QString& ns : std::as_const(created_)) {
        killNamespaceProcesses(ipTool_, ns);
        const CommandResult del = run(ipTool_, {"netns", "del", ns}, 10000);
        if (!del.ok())
            qWarning().noquote() << "netns rig: cannot remove" << ns << del.err.trimmed();
    }
    created_.clear();
    if (xvfb_) {
        xvfb_->terminate();
        if (!xvfb_->waitForFinished(3000)) {
            xvfb_->kill();
            xvfb_->waitForFinished(1000);
        }
        xvfb_.reset();
    }
}

bool NetnsRig::ensureDisplay() {
    if (displayTried_)
        return !display_.isEmpty();
    displayTried_ = true;
    const QString program = findTool(QStringLiteral("Xvfb"));
    if (program.isEmpty()) {
        qWarning("netns rig: Xvfb is not installed; stations run on QT_QPA_PLATFORM=offscreen");
        return false;
    }
    // -displayfd: Xvfb picks a free display itself and writes its number once
    // it accepts clients.
    xvfb_ = std::make_unique<QProcess>();
    dieWithParent(*xvfb_);
    xvfb_->start(program, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1920x1080x24"});
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && xvfb_->waitForReadyRead(int(deadline.remainingTime())))
        number += xvfb_->readAllStandardOutput();
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok || !QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
        qWarning().noquote() << "netns rig: Xvfb did not start; stations run on "
                                "QT_QPA_PLATFORM=offscreen:"
                             << xvfb_->readAllStandardError().trimmed();
        xvfb_->kill();
        xvfb_->waitForFinished(1000);
        xvfb_.reset();
        return false;
    }
    display_ = ':' + QString::number(n);
    qInfo().noquote() << "netns rig: stations use Xvfb display" << display_;
    return true;
}

CommandResult NetnsRig::runOnDisplay(const QStringList& args, int timeoutMs) {
    CommandResult result;
    if (!skipReason_.isEmpty() || args.isEmpty()) {
        result.err = "no rig";
        return result;
    }
    if (!ensureDisplay()) {
        result.err = "no X display (Xvfb is missing or did not start)";
        return result;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XAUTHORITY"));
    env.insert(QStringLiteral("DISPLAY"), display_);
    return run(args.first(), args.mid(1), timeoutMs, env);
}

NetnsRig::Station* NetnsRig::station(int i) const {
    if (i < 1 || i > hostCount_)
        return nullptr;
    return stations_[std::size_t(i - 1)].get();
}

void NetnsRig::readStationOutput(int i) {
    Station* s = station(i);
    if (!s || !s->process)
        return;
    const QByteArray data = s->process->readAll();
    if (data.isEmpty())
        return;
    s->output += data;
    s->partialLine += data;
    qsizetype end;
    while ((end = s->partialLine.indexOf('\n')) >= 0) {
        const QByteArray line = s->partialLine.left(end);
        s->partialLine.remove(0, end + 1);
        if (echoOutput_)
            qInfo().noquote() << QStringLiteral("[host %1]").arg(i)
                              << QString::fromLocal8Bit(line).trimmed();
    }
}

bool NetnsRig::startStation(int i, const QProcessEnvironment& extra) {
    Station* s = station(i);
    if (!skipReason_.isEmpty() || !s) {
        qWarning("netns rig: no host %d", i);
        return false;
    }
    if (isRunning(i)) {
        qWarning("netns rig: a station already runs on host %d", i);
        return false;
    }
    if (!QFileInfo(stationBinary_).isExecutable()) {
        qWarning().noquote() << "netns rig: no station binary at" << stationBinary_;
        return false;
    }
    ensureDisplay();

    // Named like the namespaces, so a crashed test's directories are swept too.
    const QString base = QDir::tempPath() + '/' + hostNamespace(i) + '-';
    s->runtime = std::make_unique<QTemporaryDir>(base + "runtime-XXXXXX"); // mkdtemp: 0700
    s->home = std::make_unique<QTemporaryDir>(base + "home-XXXXXX");
    s->work = std::make_unique<QTemporaryDir>(base + "work-XXXXXX");
    if (!s->runtime->isValid() || !s->home->isValid() || !s->work->isValid()) {
        qWarning("netns rig: cannot create the directories of host %d", i);
        return false;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    if (display_.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display_);
    }
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), s->runtime->path());
    env.insert(QStringLiteral("HOME"), s->home->path());
    for (const QString& key : extra.keys())
        env.insert(key, extra.value(key));

    s->output.clear();
    s->partialLine.clear();
    s->process = std::make_unique<QProcess>();
    QProcess& p = *s->process;
    dieWithParent(p);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(s->work->path());
    QObject::connect(&p, &QProcess::readyRead, &p, [this, i] { readStationOutput(i); });
    QObject::connect(&p, &QProcess::finished, &p, [this, i](int code, QProcess::ExitStatus status) {
        readStationOutput(i);
        if (status == QProcess::NormalExit)
            qInfo("[host %d] station exited with code %d", i, code);
        else
            qInfo("[host %d] station crashed or was killed", i);
    });
    // `ip netns exec` enters the namespace and execs the program without a
    // fork, so the QProcess pid is the station's own.
    p.start(ipTool_, {"netns", "exec", hostNamespace(i), stationBinary_});
    if (!p.waitForStarted(10000)) {
        qWarning().noquote() << "netns rig: station on host" << i
                             << "did not start:" << p.errorString();
        s->process.reset();
        return false;
    }
    qInfo().noquote() << QStringLiteral("[host %1] station pid %2 in %3 at %4")
                             .arg(i)
                             .arg(p.processId())
                             .arg(hostNamespace(i), hostAddress(i).toString());
    return true;
}

bool NetnsRig::isRunning(int i) const {
    const Station* s = station(i);
    return s && s->process && s->process->state() != QProcess::NotRunning;
}

qint64 NetnsRig::stationPid(int i) const {
    const Station* s = station(i);
    return s && s->process ? s->process->processId() : 0;
}

QByteArray NetnsRig::stationOutput(int i) const {
    const Station* s = station(i);
    return s ? s->output : QByteArray();
}

QString NetnsRig::workingDirectory(int i) const {
    const Station* s = station(i);
    return s && s->work ? s->work->path() : QString();
}

std::optional<int> NetnsRig::stopStation(int i) {
    Station* s = station(i);
    if (!s || !s->process)
        return std::nullopt;
    QProcess& p = *s->process;
    if (p.state() != QProcess::NotRunning) {
        p.terminate();
        if (!p.waitForFinished(stopGraceMs)) {
            qWarning("[host %d] station ignored SIGTERM for %d ms; killing it", i, stopGraceMs);
            p.kill();
            p.waitForFinished(2000);
            return std::nullopt;
        }
    }
    readStationOutput(i);
    if (p.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return p.exitCode();
}

void NetnsRig::stopAll() {
    for (int i = 1; i <= hostCount_; ++i) {
        if (isRunning(i))
            station(i)->process->terminate();
    }
    const QDeadlineTimer deadline(stopGraceMs);
    for (int i = 1; i <= hostCount_; ++i) {
        if (!isRunning(i))
            continue;
        QProcess& p = *station(i)->process;
        if (!p.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1)))) {
            qWarning("[host %d] station ignored SIGTERM; killing it", i);
            p.kill();
            p.waitForFinished(2000);
        }
        readStationOutput(i);
    }
}

CommandResult NetnsRig::execInHost(int i, const QStringList& args, int timeoutMs) const {
    if (!skipReason_.isEmpty() || !station(i))
        return {};
    return run(ipTool_, QStringList{"netns", "exec", hostNamespace(i)} + args, timeoutMs);
}

QList<UdpBinding> NetnsRig::parseSsUdp(const QByteArray& text) {
    QList<UdpBinding> result;
    for (const QByteArray& line : text.split('\n')) {
        // [Netid] State Recv-Q Send-Q Local:Port Peer:Port [Process]
        // The local endpoint follows the two queue counters; the header line
        // ("Recv-Q Send-Q") has no counters and drops out.
        const QList<QByteArray> fields = line.simplified().split(' ');
        for (qsizetype k = 0; k + 2 < fields.size(); ++k) {
            if (isNumber(fields[k]) && isNumber(fields[k + 1])) {
                if (auto binding = parseEndpoint(fields[k + 2]))
                    result << *binding;
                break;
            }
        }
    }
    std::sort(result.begin(), result.end(), [](const UdpBinding& a, const UdpBinding& b) {
        return std::tie(a.port, a.address, a.scope) < std::tie(b.port, b.address, b.scope);
    });
    return result;
}

QList<UdpBinding> NetnsRig::boundUdpPorts(int i) const {
    const CommandResult r = execInHost(i, {ssTool_, "-H", "-u", "-a", "-n"});
    if (!r.ok()) {
        qWarning().noquote() << "netns rig: ss failed in host" << i << r.err.trimmed();
        return {};
    }
    return parseSsUdp(r.out);
}

std::unique_ptr<QUdpSocket> NetnsRig::bindIn(const QString& ns, quint16 port) {
    if (!skipReason_.isEmpty() || !created_.contains(ns))
        return nullptr;
    // setns(2) with CLONE_NEWNET moves only the calling thread, so the thread's
    // own namespace is saved from /proc/thread-self and restored right after.
    const int home = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target = ::open(("/run/netns/" + ns).toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    std::unique_ptr<QUdpSocket> socket;
    bool bound = false;
    int error = 0;
    if (home >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0) {
        socket = std::make_unique<QUdpSocket>();
        bound = socket->bind(QHostAddress(QHostAddress::AnyIPv4), port);
        if (::setns(home, CLONE_NEWNET) != 0)
            qFatal("netns rig: cannot return to the test's own network namespace");
    } else {
        error = errno;
    }
    if (home >= 0)
        ::close(home);
    if (target >= 0)
        ::close(target);
    if (error != 0)
        qWarning().noquote() << "netns rig: cannot enter" << ns << ::strerror(error);
    if (socket && !bound) {
        qWarning().noquote() << "netns rig: cannot bind UDP port" << port << "in" << ns << ":"
                             << socket->errorString();
        socket.reset();
    }
    return socket;
}

std::unique_ptr<QUdpSocket> NetnsRig::probeSocket(quint16 port) {
    return bindIn(probeNamespace(), port);
}

std::unique_ptr<QUdpSocket> NetnsRig::hostSocket(int i, quint16 port) {
    if (!station(i))
        return nullptr;
    return bindIn(hostNamespace(i), port);
}

bool NetnsRig::sendFromProbe(const QByteArray& data, const QHostAddress& to, quint16 port) {
    if (!allowedDestination(to)) {
        qWarning().noquote() << "netns rig: refusing to send to" << to.toString();
        return false;
    }
    if (!probeSender_)
        probeSender_ = probeSocket(0);
    if (!probeSender_)
        return false;
    return probeSender_->writeDatagram(data, to, port) == data.size();
}

std::optional<QNetworkDatagram> NetnsRig::waitForDatagram(QUdpSocket& socket, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!socket.hasPendingDatagrams()) {
        if (deadline.hasExpired())
            return std::nullopt;
        QTest::qWait(5);
    }
    return socket.receiveDatagram();
}

} // namespace quorel::test
