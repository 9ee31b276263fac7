#pragma once
// The audience view: the station serves its captions, read-only, to phones and
// laptops on the LAN. One port carries the page (from Qt resources), the
// streaming overlay and a WebSocket ("/live") that pushes every change of the
// display record as a small JSON message.
//
// Everything runs on the station's event loop. A viewer is never waited for:
// what cannot be written at once queues in its socket, and a viewer whose
// queue passes the bound gets no more changes until the queue drains, then a
// fresh snapshot instead of the backlog.
//
// The HTTP side is a small front of its own over QTcpServer rather than
// QHttpServer: Qt 6.4's server offers no setting to bound a request's size
// and takes a WebSocket upgrade on any path, while the view must refuse big
// requests before reading them and serves GET only. The upgrade on "/live" is
// handed, unread, to a QWebSocketServer.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrlQuery>
#include <functional>
#include <optional>

class QTcpServer;
class QTcpSocket;
class QTimer;
class QWebSocket;
class QWebSocketServer;

namespace quorel {

class DisplayRecord;

namespace web {

// What /overlay shows, from its query string, each value checked or clamped.
struct OverlayOptions {
    int lines = 2;                               // lines=1..20
    int size = 48;                               // size=8..300 (CSS pixels)
    QString color = QStringLiteral("#ffffff");   // color=#rgb, #rrggbb or a colour name
    QString outline = QStringLiteral("#000000"); // outline=same forms, or "none"
    QString font = QStringLiteral("sans-serif"); // font=letters, digits, spaces, - _ ,
    static OverlayOptions fromQuery(const QUrlQuery& q);
};

// The lines of a record line as the page shows them. A reading between the
// ruby marks ("`r" reading "`s") is kept apart so the page can raise it
// above the text that follows.
struct RubyPiece {
    QString text;
    bool reading = false;
};
QList<RubyPiece> splitRuby(const QString& line);

class AudienceServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxViewers = 1000;
        int maxOpenRequests = 256;          // HTTP connections not yet answered
        qsizetype maxRequestBytes = 8192;   // request line and headers
        int requestTimeoutMs = 10000;       // to send a whole request
        qint64 maxQueuedBytes = 512 * 1024; // per viewer, before it is resynchronised
        int behindTimeoutMs = 60000;        // a viewer this long behind is dropped
        // Viewers are pinged this often; one that answered none of the last
        // three pings (a phone gone to sleep) is dropped and frees its place.
        int pingIntervalMs = 30000;
        int snapshotLines = 1000; // the last lines a snapshot carries
    };

    // An extra GET page (e.g. a transcript download): the body and its type,
    // or nothing for 404.
    struct Reply {
        QByteArray contentType;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers;
    };
    using Page = std::function<std::optional<Reply>(const QUrlQuery&)>;

    explicit AudienceServer(DisplayRecord& record, QObject* parent = nullptr);
    AudienceServer(DisplayRecord& record, const Limits& limits, QObject* parent = nullptr);
    ~AudienceServer() override;

    // Listens on every address. False when the port cannot be bound;
    // errorString() then tells why ("Port 8080 is in use").
    bool start(quint16 port);
    // Closes the port and every viewer.
    void stop();
    bool isListening() const;
    quint16 port() const;
    QString errorString() const { return error_; }
    int viewerCount() const { return int(viewers_.size()); }
    const Limits& limits() const { return limits_; }

    // Serves `path` (e.g. "/transcript.txt") by GET from `page`.
    void addPage(const QString& path, Page page);

signals:
    void viewerCountChanged(int count);

private:
    struct Viewer {
        int base = 0;        // record line of the viewer's first line
        bool behind = false; // waiting for its queue to drain
        qint64 behindSince = 0;
        qint64 lastPong = 0;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket* s);
    void respond(QTcpSocket* s, int status, const QByteArray& type, const QByteArray& body,
                 bool head = false, const QList<std::pair<QByteArray, QByteArray>>& extra = {});
    // Stops reading the request; `closing` keeps the deadline for the answer.
    void forget(QTcpSocket* s, bool closing = false);
    // Ends a handshake that failed, ran out of time or was cut by stop().
    void dropHandshake(QTcpSocket* s);
    void pingViewers();
    void onWebSocket();
    void onRecordChange(int first, int removed, int added);
    void sendSnapshot(QWebSocket* ws, Viewer& v);
    void onDrained(QWebSocket* ws);
    void dropViewer(QWebSocket* ws);
    QString snapshotMessage(int* base);

    DisplayRecord& record_;
    Limits limits_;
    int listenerId_ = 0;
    QTcpServer* tcp_ = nullptr;
    QWebSocketServer* ws_ = nullptr;
    QString error_;
    QSet<QTcpSocket*> open_; // HTTP connections not yet answered
    // Upgrades handed to the WebSocket server and not yet viewers: each
    // holds a place under the viewer cap until it becomes a viewer or ends.
    QSet<QTcpSocket*> handshakes_;
    QHash<QWebSocket*, Viewer> viewers_;
    QHash<QString, Page> pages_;
    QString snapshot_; // cached until the next change
    int snapshotBase_ = 0;
    QTimer* ping_ = nullptr;
};

} // namespace web
} // namespace quorel
