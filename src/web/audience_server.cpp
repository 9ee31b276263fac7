#include "web/audience_server.h"

#include "wire/display_record.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>

namespace quorel::web {

namespace {

constexpr qint64 kIncomingLimit = 4096; // viewers send nothing we read

QByteArray resource(const QString& name) {
    QFile f(QStringLiteral(":/web/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

bool validColour(const QString& c) {
    static const QRegularExpression re(
        QStringLiteral("^(#[0-9a-fA-F]{3}|#[0-9a-fA-F]{6}|[a-zA-Z]{1,20})$"));
    return re.match(c).hasMatch();
}

int clampedInt(const QUrlQuery& q, const QString& key, int fallback, int lo, int hi) {
    if (!q.hasQueryItem(key))
        return fallback;
    bool ok = false;
    const int v = q.queryItemValue(key).toInt(&ok);
    return ok ? std::clamp(v, lo, hi) : fallback;
}

// JSON inside a <script> element: nothing may close the element.
QByteArray scriptSafe(const QByteArray& json) {
    QByteArray out = json;
    out.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    return out;
}

} // namespace

OverlayOptions OverlayOptions::fromQuery(const QUrlQuery& q) {
    OverlayOptions o;
    o.lines = clampedInt(q, QStringLiteral("lines"), o.lines, 1, 20);
    o.size = clampedInt(q, QStringLiteral("size"), o.size, 8, 300);
    const QString color = q.queryItemValue(QStringLiteral("color"), QUrl::FullyDecoded);
    if (validColour(color))
        o.color = color;
    const QString outline = q.queryItemValue(QStringLiteral("outline"), QUrl::FullyDecoded);
    if (validColour(outline))
        o.outline = outline;
    // Letters of any script (Japanese face names), digits and a few separators.
    static const QRegularExpression fontRe(QStringLiteral("^[\\p{L}\\p{N} ,_-]{1,64}$"));
    const QString font = q.queryItemValue(QStringLiteral("font"), QUrl::FullyDecoded);
    if (fontRe.match(font).hasMatch())
        o.font = font;
    return o;
}

QList<RubyPiece> splitRuby(const QString& line) {
    QList<RubyPiece> out;
    qsizetype at = 0;
    while (at < line.size()) {
        const qsizetype open = line.indexOf(QLatin1String("`r"), at);
        const qsizetype close = open < 0 ? -1 : line.indexOf(QLatin1String("`s"), open + 2);
        if (open < 0 || close < 0) {
            out.append({line.mid(at), false});
            break;
        }
        if (open > at)
            out.append({line.mid(at, open - at), false});
        out.append({line.mid(open + 2, close - open - 2), true});
        at = close + 2;
    }
    return out;
}

AudienceServer::AudienceServer(DisplayRecord& record, QObject* parent)
    : AudienceServer(record, Limits{}, parent) {}

AudienceServer::AudienceServer(DisplayRecord& record, const Limits& limits, QObject* parent)
    : QObject(parent), record_(record), limits_(limits) {
    ws_ = new QWebSocketServer(QStringLiteral("Quorel"), QWebSocketServer::NonSecureMode, this);
    ws_->setHandshakeTimeout(std::chrono::milliseconds(limits_.requestTimeoutMs));
    connect(ws_, &QWebSocketServer::newConnection, this, &AudienceServer::onWebSocket);
    ping_ = new QTimer(this);
    connect(ping_, &QTimer::timeout, this, &AudienceServer::pingViewers);
    listenerId_ = record_.addListener(
        [this](const DisplayRecord::Change& c) { onRecordChange(c.first, c.removed, c.added); });
}

AudienceServer::~AudienceServer() {
    record_.removeListener(listenerId_);
    stop();
}

bool AudienceServer::start(quint16 port) {
    stop();
    error_.clear();
    tcp_ = new QTcpServer(this);
    tcp_->setMaxPendingConnections(64);
    connect(tcp_, &QTcpServer::newConnection, this, &AudienceServer::onNewConnection);
    if (!tcp_->listen(QHostAddress::Any, port)) {
        if (tcp_->serverError() == QAbstractSocket::AddressInUseError)
            error_ = QStringLiteral("Port %1 is in use").arg(port);
        else
            error_ = QStringLiteral("Port %1: %2").arg(port).arg(tcp_->errorString());
        delete tcp_;
        tcp_ = nullptr;
        return false;
    }
    ping_->start(limits_.pingIntervalMs);
    return true;
}

void AudienceServer::stop() {
    if (tcp_) {
        tcp_->close();
        delete tcp_; // its sockets with it
        tcp_ = nullptr;
    }
    open_.clear();
    // A handshake still under way would otherwise finish into a viewer of a
    // closed view, or linger until the server goes.
    const auto shaking = handshakes_.values();
    for (QTcpSocket* s : shaking)
        dropHandshake(s);
    ping_->stop();
    const auto viewers = viewers_.keys();
    viewers_.clear();
    for (QWebSocket* ws : viewers) {
        ws->disconnect(this);
        ws->abort();
        ws->deleteLater();
    }
    if (!viewers.isEmpty())
        emit viewerCountChanged(0);
}

bool AudienceServer::isListening() const {
    return tcp_ && tcp_->isListening();
}

quint16 AudienceServer::port() const {
    return tcp_ ? tcp_->serverPort() : 0;
}

void AudienceServer::addPage(const QString& path, Page page) {
    pages_.insert(path, std::move(page));
}

void AudienceServer::onNewConnection() {
    while (tcp_ && tcp_->hasPendingConnections()) {
        QTcpSocket* s = tcp_->nextPendingConnection();
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        if (open_.size() >= limits_.maxOpenRequests) {
            s->abort();
            continue;
        }
        open_.insert(s);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { onReadyRead(s); });
        connect(s, &QObject::destroyed, this, [this, s] { open_.remove(s); });
        auto* timer = new QTimer(s);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, s, [this, s] {
            forget(s);
            s->abort();
        });
        timer->start(limits_.requestTimeoutMs);
    }
}

void AudienceServer::forget(QTcpSocket* s, bool closing) {
    open_.remove(s);
    s->disconnect(this);
    // An answer the client never reads is not waited for beyond the deadline.
    if (!closing)
        for (QTimer* t : s->findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
            t->stop();
}

void AudienceServer::respond(QTcpSocket* s, int status, const QByteArray& type,
                             const QByteArray& body, bool head,
                             const QList<std::pair<QByteArray, QByteArray>>& extra) {
    forget(s, true);
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    out += "Content-Type: " + type + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n";
    for (const auto& [name, value] : extra)
        out += name + ": " + value + "\r\n";
    out += "Connection: close\r\n\r\n";
    if (!head)
        out += body;
    s->write(out);
    s->disconnectFromHost();
}

void AudienceServer::onReadyRead(QTcpSocket* s) {
    // The request stays in the socket until it is whole: a WebSocket upgrade
    // is handed over with its handshake unread.
    const QByteArray seen = s->peek(limits_.maxRequestBytes + 1);
    const qsizetype end = seen.indexOf("\r\n\r\n");
    if (end < 0 || end + 4 > limits_.maxRequestBytes) {
        if (seen.size() > limits_.maxRequestBytes)
            respond(s, 431, "text/plain; charset=utf-8", "Request too large\n");
        return;
    }
    const QList<QByteArray> lines = seen.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1.") ||
        !requestLine[1].startsWith('/')) {
        respond(s, 400, "text/plain; charset=utf-8", "Bad request\n");
        return;
    }
    QHash<QByteArray, QByteArray> headers;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& l = lines[i];
        const qsizetype colon = l.indexOf(':');
        if (colon <= 0) {
            respond(s, 400, "text/plain; charset=utf-8", "Bad request\n");
            return;
        }
        headers.insert(l.left(colon).trimmed().toLower(), l.mid(colon + 1).trimmed());
    }
    const QByteArray& method = requestLine[0];
    const bool head = method == "HEAD";
    if (method != "GET" && !head) {
        respond(s, 405, "text/plain; charset=utf-8", "The audience view is read-only\n", false,
                {{"Allow", "GET, HEAD"}});
        return;
    }
    if (headers.value("content-length", "0") != "0" || headers.contains("transfer-encoding")) {
        respond(s, 413, "text/plain; charset=utf-8", "No request body is taken\n");
        return;
    }
    const QUrl url(QString::fromLatin1(requestLine[1]));
    const QString path = url.path();
    const QUrlQuery query(url);

    if (path == QLatin1String("/live")) {
        if (!headers.value("upgrade").toLower().contains("websocket")) {
            respond(s, 400, "text/plain; charset=utf-8", "WebSocket only\n");
            return;
        }
        // Handshakes under way count: a burst of upgrades is turned away
        // here rather than upgraded and then closed.
        if (viewers_.size() + handshakes_.size() >= limits_.maxViewers) {
            respond(s, 503, "text/plain; charset=utf-8",
                    "Too many viewers right now; try again later\n", false,
                    {{"Retry-After", "30"}});
            return;
        }
        // The WebSocket owns the socket from here; it must outlive the
        // listening socket and not be deleted under the WebSocket.
        forget(s);
        QObject::disconnect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        s->setParent(this);
        handshakes_.insert(s);
        connect(s, &QObject::destroyed, this, [this, s] { handshakes_.remove(s); });
        // A handshake the WebSocket server turns down ends in a closed socket;
        // one that never ends is cut at the deadline (the server's own
        // handshake timeout covers only the connections it accepts itself).
        connect(s, &QTcpSocket::disconnected, this, [this, s] { dropHandshake(s); });
        auto* deadline = new QTimer(s);
        deadline->setObjectName(QStringLiteral("handshakeDeadline"));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this, s] { dropHandshake(s); });
        deadline->start(limits_.requestTimeoutMs);
        ws_->handleConnection(s);
        return;
    }

    s->read(end + 4);
    const QByteArray html = "text/html; charset=utf-8";
    if (path == QLatin1String("/") || path == QLatin1String("/index.html")) {
        respond(s, 200, html, resource(QStringLiteral("index.html")), head);
    } else if (path == QLatin1String("/overlay")) {
        const OverlayOptions o = OverlayOptions::fromQuery(query);
        const QJsonObject config{{QStringLiteral("lines"), o.lines},
                                 {QStringLiteral("size"), o.size},
                                 {QStringLiteral("color"), o.color},
                                 {QStringLiteral("outline"), o.outline},
                                 {QStringLiteral("font"), o.font}};
        QByteArray page = resource(QStringLiteral("overlay.html"));
        page.replace("/*OVERLAY_OPTIONS*/{}",
                     scriptSafe(QJsonDocument(config).toJson(QJsonDocument::Compact)));
        respond(s, 200, html, page, head);
    } else if (path == QLatin1String("/audience.js") || path == QLatin1String("/overlay.js") ||
               path == QLatin1String("/ruby.js")) {
        respond(s, 200, "text/javascript; charset=utf-8", resource(path.mid(1)), head);
    } else if (path == QLatin1String("/audience.css")) {
        respond(s, 200, "text/css; charset=utf-8", resource(path.mid(1)), head);
    } else if (const auto it = pages_.constFind(path); it != pages_.constEnd()) {
        const std::optional<Reply> r = (*it)(query);
        if (r)
            respond(s, 200, r->contentType, r->body, head, r->headers);
        else
            respond(s, 404, "text/plain; charset=utf-8", "Not found\n", head);
    } else {
        respond(s, 404, "text/plain; charset=utf-8", "Not found\n", head);
    }
}

void AudienceServer::onWebSocket() {
    while (ws_->hasPendingConnections()) {
        QWebSocket* ws = ws_->nextPendingConnection();
        ws->setParent(this);
        // The upgraded socket is no longer a handshake; the WebSocket owns it.
        for (QTcpSocket* s : std::as_const(handshakes_)) {
            if (s->peerPort() == ws->peerPort() && s->peerAddress() == ws->peerAddress()) {
                handshakes_.remove(s);
                s->disconnect(this);
                delete s->findChild<QTimer*>(QStringLiteral("handshakeDeadline"),
                                             Qt::FindDirectChildrenOnly);
                break;
            }
        }
        ws->setMaxAllowedIncomingFrameSize(kIncomingLimit);
        ws->setMaxAllowedIncomingMessageSize(kIncomingLimit);
        ws->setReadBufferSize(kIncomingLimit);
        if (viewers_.size() >= limits_.maxViewers || !isListening()) {
            ws->close(QWebSocketProtocol::CloseCode(1013) /* try again later */,
                      QStringLiteral("Too many viewers"));
            ws->deleteLater();
            continue;
        }
        connect(ws, &QWebSocket::disconnected, this, [this, ws] { dropViewer(ws); });
        connect(ws, &QWebSocket::bytesWritten, this, [this, ws] { onDrained(ws); });
        connect(ws, &QWebSocket::pong, this, [this, ws] {
            if (const auto it = viewers_.find(ws); it != viewers_.end())
                it->lastPong = QDateTime::currentMSecsSinceEpoch();
        });
        Viewer& v = viewers_[ws];
        v.lastPong = QDateTime::currentMSecsSinceEpoch();
        sendSnapshot(ws, v);
        emit viewerCountChanged(int(viewers_.size()));
    }
}

void AudienceServer::dropHandshake(QTcpSocket* s) {
    if (!handshakes_.remove(s))
        return;
    s->disconnect(this);
    s->abort();
    s->deleteLater();
}

void AudienceServer::pingViewers() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QList<QWebSocket*> silent;
    for (auto it = viewers_.begin(); it != viewers_.end(); ++it) {
        if (now - it->lastPong > 3LL * limits_.pingIntervalMs)
            silent.append(it.key());
        else
            it.key()->ping();
    }
    for (QWebSocket* ws : silent)
        dropViewer(ws);
}

void AudienceServer::dropViewer(QWebSocket* ws) {
    if (viewers_.remove(ws) == 0)
        return;
    ws->disconnect(this);
    ws->abort();
    ws->deleteLater();
    emit viewerCountChanged(int(viewers_.size()));
}

QString AudienceServer::snapshotMessage(int* base) {
    if (snapshot_.isEmpty()) {
        const int n = record_.lineCount();
        snapshotBase_ = std::max(0, n - limits_.snapshotLines);
        QJsonArray lines;
        for (int i = snapshotBase_; i < n; ++i)
            lines.append(record_.line(i));
        snapshot_ = QString::fromUtf8(
            QJsonDocument(QJsonObject{{QStringLiteral("type"), QStringLiteral("snapshot")},
                                      {QStringLiteral("first"), snapshotBase_},
                                      {QStringLiteral("lines"), lines}})
                .toJson(QJsonDocument::Compact));
    }
    *base = snapshotBase_;
    return snapshot_;
}

void AudienceServer::sendSnapshot(QWebSocket* ws, Viewer& v) {
    // A snapshot may be larger than the queue's bound by itself; the viewer
    // falls behind only when a change finds the queue still full.
    v.behind = false;
    ws->sendTextMessage(snapshotMessage(&v.base));
}

void AudienceServer::onDrained(QWebSocket* ws) {
    const auto it = viewers_.find(ws);
    if (it == viewers_.end() || !it->behind)
        return;
    if (ws->bytesToWrite() <= limits_.maxQueuedBytes / 4)
        sendSnapshot(ws, *it);
}

void AudienceServer::onRecordChange(int first, int removed, int added) {
    snapshot_.clear();
    if (viewers_.isEmpty())
        return;
    QString change;
    const int n = record_.lineCount();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    QList<QWebSocket*> stuck;
    for (auto it = viewers_.begin(); it != viewers_.end(); ++it) {
        Viewer& v = *it;
        // A change is withheld from a full queue; the drained queue then
        // gets a fresh snapshot instead.
        if (!v.behind && it.key()->bytesToWrite() > limits_.maxQueuedBytes) {
            v.behind = true;
            v.behindSince = now;
        }
        if (v.behind) {
            if (now - v.behindSince > limits_.behindTimeoutMs)
                stuck.append(it.key());
            continue;
        }
        // A change above the viewer's first line, or a window grown to twice
        // a snapshot, is cheaper to send as a fresh snapshot.
        if (first < v.base || n - v.base > 2 * limits_.snapshotLines) {
            sendSnapshot(it.key(), v);
            continue;
        }
        if (change.isEmpty()) {
            QJsonArray lines;
            for (int i = first; i < first + added; ++i)
                lines.append(record_.line(i));
            change = QString::fromUtf8(
                QJsonDocument(QJsonObject{{QStringLiteral("type"), QStringLiteral("change")},
                                          {QStringLiteral("first"), first},
                                          {QStringLiteral("removed"), removed},
                                          {QStringLiteral("lines"), lines}})
                    .toJson(QJsonDocument::Compact));
        }
        it.key()->sendTextMessage(change);
    }
    for (QWebSocket* ws : stuck)
        dropViewer(ws);
}

} // namespace quorel::web
