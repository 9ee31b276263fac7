#pragma once
// A real network for end-to-end tests, built from Linux network namespaces.
//
// One "switch" namespace holds a bridge. Each host namespace (hosts 1..N) has
// a veth pair whose far end is a port of that bridge; host i is
// 192.168.77.(10 + i)/24. One more host, the probe (192.168.77.200), holds the
// test's own sockets. The root namespace is never touched: no bridge, no link,
// no address. Every namespace has its loopback up.
//
// Namespace names are "qrl<pid><rig><role>": the test's pid, a letter per rig
// of that process, and "s", "p" or "h<i>" (for example "qrl4711ah2"). They are
// unique per test process and at most 15 characters. A rig removes everything it made in its
// destructor. If a test process dies halfway, the processes its rig started
// die with it (PR_SET_PDEATHSIG), and the next rig to start removes the
// namespaces (killing what still runs inside) and the station directories
// ("<namespace>-home-XXXXXX" in the temp folder) of every "qrl" pid that is no
// longer alive.
//
// Stations run as real X clients of one Xvfb server in the root namespace; a
// process in another network namespace reaches it through the filesystem socket
// /tmp/.X11-unix/X<N> (abstract sockets are per network namespace). Without
// Xvfb, stations run on the offscreen platform.
//
// The rig needs root and iproute2. Where it cannot run, skipReason() says why
// and the test is expected to QSKIP with it.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QNetworkDatagram>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QUdpSocket>
#include <memory>
#include <optional>
#include <vector>

class QTemporaryDir;

namespace quorel::test {

// One bound UDP socket as `ss` reports it.
struct UdpBinding {
    QString address; // without brackets or scope: "0.0.0.0", "192.168.77.11", "::", "*"
    QString scope;   // the interface after '%', usually empty
    quint16 port = 0;

    QString toString() const; // "0.0.0.0:6711", "[::]:6711", "0.0.0.0%eth0:68"
    friend bool operator==(const UdpBinding&, const UdpBinding&) = default;
};

struct CommandResult {
    bool finished = false; // started and ended by itself within the timeout
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    bool ok() const { return finished && exitCode == 0; }
};

class NetnsRig {
public:
    static constexpr int maxHosts = 50;

    explicit NetnsRig(int hosts);
    ~NetnsRig();
    NetnsRig(const NetnsRig&) = delete;
    NetnsRig& operator=(const NetnsRig&) = delete;

    // Empty when the rig is up; otherwise why it cannot run here.
    QString skipReason() const { return skipReason_; }

    int hostCount() const { return hostCount_; }
    QString hostNamespace(int i) const;
    QString probeNamespace() const;
    QString switchNamespace() const;
    QStringList namespaces() const; // every namespace this rig created
    static QHostAddress hostAddress(int i);
    static QHostAddress probeAddress();

    // --- Stations -----------------------------------------------------------

    // The program startStation runs; by default the build's quorel.
    void setStationBinary(const QString& path) { stationBinary_ = path; }
    QString stationBinary() const { return stationBinary_; }

    // Runs the station in host i's namespace with its own XDG_RUNTIME_DIR (0700),
    // HOME and working directory. The test's environment is passed on (so is
    // QT_LOGGING_RULES), then `extra` on top. Output goes to the test log with a
    // "[host i]" prefix and is kept for stationOutput(). Starts Xvfb on first use.
    bool startStation(int i, const QProcessEnvironment& extra = {});
    bool isRunning(int i) const;
    qint64 stationPid(int i) const;
    QByteArray stationOutput(int i) const; // stdout and stderr, merged
    // Whether station output also goes to the test log (on by default). A test
    // that floods the stations may turn it off for a while; stationOutput()
    // keeps everything either way.
    void setEchoOutput(bool on) { echoOutput_ = on; }
    QString workingDirectory(int i) const;

    // SIGTERM, up to 5 s to exit, then SIGKILL. The exit code when the station
    // exited by itself; nullopt when it crashed, had to be killed or never ran.
    std::optional<int> stopStation(int i);
    void stopAll(); // the same for every station, in parallel

    // The display stations use (":N"), empty on the offscreen fallback.
    QString display() const { return display_; }

    // Runs an X client (xdotool, import, ...) in the test's own namespace against
    // the stations' display, starting Xvfb if no station has yet. Not finished,
    // with the reason in `err`, when there is no display.
    CommandResult runOnDisplay(const QStringList& args, int timeoutMs = 10000);

    // --- Looking into a host ------------------------------------------------

    // The UDP sockets bound in host i's namespace, sorted by port and address.
    QList<UdpBinding> boundUdpPorts(int i) const;
    // Parses `ss -u -a -n` output (with or without header, Netid or process
    // columns); lines that are not sockets are ignored.
    static QList<UdpBinding> parseSsUdp(const QByteArray& text);

    // Runs `args` in host i's namespace and waits for it.
    CommandResult execInHost(int i, const QStringList& args, int timeoutMs = 10000) const;

    // --- The test's own sockets ---------------------------------------------
    //
    // A socket is made in a namespace by moving the calling thread there with
    // setns(2), binding (Qt creates the native socket at bind time, and it stays
    // in the namespace it was created in), and moving the thread back. So:
    // call these on the thread that will own the socket, and let nothing else on
    // that thread create sockets meanwhile (this is one synchronous call; the
    // test's other threads are not moved). Returns nullptr when binding fails.

    std::unique_ptr<QUdpSocket> probeSocket(quint16 port = 0);
    std::unique_ptr<QUdpSocket> hostSocket(int i, quint16 port = 0);

    // Sends from an ephemeral port of the probe. Only 192.168.77.0/24 and
    // 127.0.0.1 are accepted as destinations.
    bool sendFromProbe(const QByteArray& data, const QHostAddress& to, quint16 port);

    // Waits up to timeoutMs for a datagram on `socket` (the event loop runs
    // meanwhile, so station output keeps flowing).
    static std::optional<QNetworkDatagram> waitForDatagram(QUdpSocket& socket, int timeoutMs);

private:
    struct Station;

    bool setUp();
    void tearDown();
    bool ip(const QStringList& args, const QString& what);
    bool ensureDisplay();
    std::unique_ptr<QUdpSocket> bindIn(const QString& ns, quint16 port);
    Station* station(int i) const;
    void readStationOutput(int i);
    QString name(const QString& role) const;

    QString skipReason_;
    int hostCount_ = 0;
    int rigIndex_ = 0;
    QString ipTool_;
    QString ssTool_;
    QString stationBinary_;
    QStringList created_;
    bool echoOutput_ = true;
    bool displayTried_ = false;
    QString display_;
    std::unique_ptr<QProcess> xvfb_;
    std::vector<std::unique_ptr<Station>> stations_; // index i - 1
    std::unique_ptr<QUdpSocket> probeSender_;
};

} // namespace quorel::test
