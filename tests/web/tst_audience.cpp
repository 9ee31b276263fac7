// The audience view over a real local socket: the page, the overlay, the live
// mirror of the record, and the bounds that keep viewers from slowing the
// station.

#include "web/audience_server.h"
#include "wire/display_record.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <QtEndian>

#include <algorithm>
#include <memory>
#include <vector>

using namespace quorel;
using quorel::web::AudienceServer;

namespace {

constexpr DisplayRecord::AppendOptions kPlain{};

constexpr char kUpgrade[] = "GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: "
                            "Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                            "Sec-WebSocket-Version: 13\r\n\r\n";

// The record as a viewer rebuilds it from the messages it receives.
struct MirrorState {
    QStringList lines;
    int first = 0;
    int snapshots = 0;
    int changes = 0;
    bool consistent = true;

    void take(const QString& text) {
        const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
        QStringList added;
        for (const auto& v : m.value(QStringLiteral("lines")).toArray())
            added << v.toString();
        if (m.value(QStringLiteral("type")).toString() == QLatin1String("snapshot")) {
            ++snapshots;
            first = m.value(QStringLiteral("first")).toInt();
            lines = added;
            return;
        }
        ++changes;
        const int at = m.value(QStringLiteral("first")).toInt() - first;
        const int removed = m.value(QStringLiteral("removed")).toInt();
        if (at < 0 || at + removed > lines.size()) {
            consistent = false;
            return;
        }
        lines.remove(at, removed);
        for (int i = 0; i < added.size(); ++i)
            lines.insert(at + i, added[i]);
    }
};

// A viewer on a WebSocket client, as a browser is.
struct Mirror : MirrorState {
    QWebSocket ws;

    Mirror() {
        QObject::connect(&ws, &QWebSocket::textMessageReceived,
                         [this](const QString& text) { take(text); });
    }
    bool open(quint16 port) {
        ws.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(port)));
        return QTest::qWaitFor([this] { return snapshots > 0; }, 5000);
    }
};

// A viewer on a bare socket that can stop reading for as long as a test
// needs, as a phone in a pocket does. A WebSocket client cannot stand in: it
// gives up on a frame that stays half-read for five seconds.
struct PausingMirror : MirrorState {
    QTcpSocket socket;
    QByteArray in;
    QByteArray message; // the fragments of a message so far
    bool upgraded = false;
    bool paused = false;

    PausingMirror() {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { readFrames(); });
    }
    bool open(quint16 port) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.write(kUpgrade);
        return QTest::qWaitFor([this] { return snapshots > 0; }, 5000);
    }
    // Takes nothing more from the kernel, whose buffers fill.
    void pause() {
        paused = true;
        socket.setReadBufferSize(1);
    }
    void resume() {
        paused = false;
        socket.setReadBufferSize(0);
        readFrames();
    }
    void readFrames() {
        if (paused)
            return;
        in += socket.readAll();
        qsizetype at = 0;
        if (!upgraded) {
            const qsizetype end = in.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            upgraded = in.startsWith("HTTP/1.1 101");
            at = end + 4;
        }
        // Server frames: unmasked, the length in 7 bits, or 16 or 64 after.
        while (in.size() - at >= 2) {
            const auto head = uchar(in[at]);
            quint64 length = uchar(in[at + 1]) & 0x7f;
            qsizetype payload = at + 2;
            if (length == 126) {
                if (in.size() - at < 4)
                    break;
                length = qFromBigEndian<quint16>(in.constData() + at + 2);
                payload = at + 4;
            } else if (length == 127) {
                if (in.size() - at < 10)
                    break;
                length = qFromBigEndian<quint64>(in.constData() + at + 2);
                payload = at + 10;
            }
            if (quint64(in.size() - payload) < length)
                break;
            const int opcode = head & 0x0f;
            if (opcode <= 1) { // text or its continuation; pings go unanswered
                message += in.mid(payload, qsizetype(length));
                if (head & 0x80) {
                    take(QString::fromUtf8(message));
                    message.clear();
                }
            }
            at = payload + qsizetype(length);
        }
        in.remove(0, at);
    }
};

// The server's connections, handshaking ones included, and its WebSockets:
// what a closed connection must not leave behind.
qsizetype socketsOf(const AudienceServer& server) {
    return server.findChildren<QAbstractSocket*>().size() +
           server.findChildren<QWebSocket*>().size();
}

QStringList tail(const DisplayRecord& r, int first) {
    QStringList out;
    for (int i = first; i < r.lineCount(); ++i)
        out << r.line(i);
    return out;
}

// One raw HTTP exchange: what the server answers before it closes. The
// server runs on this thread, so the client waits on the event loop.
QByteArray exchange(quint16 port, const QByteArray& request) {
    QTcpSocket s;
    QByteArray answer;
    QObject::connect(&s, &QTcpSocket::readyRead, [&] { answer += s.readAll(); });
    s.connectToHost(QHostAddress::LocalHost, port);
    s.write(request);
    static_cast<void>(
        QTest::qWaitFor([&] { return s.state() == QAbstractSocket::UnconnectedState; }, 5000));
    return answer + s.readAll();
}

} // namespace

class TestAudience : public QObject {
    Q_OBJECT
private slots:
    void snapshotThenChanges();
    void undoAndClearing();
    void pages_data();
    void pages();
    void refusedRequests_data();
    void refusedRequests();
    void overlayOptions_data();
    void overlayOptions();
    void rubyPieces_data();
    void rubyPieces();
    void portInUse();
    void viewerLimit();
    void handshakesCountTowardsTheCap();
    void handshakesLeaveNothingBehind_data();
    void handshakesLeaveNothingBehind();
    void slowViewerIsResynchronised();
    void silentViewerIsDropped();
    void droppedConnectionsStallNothing();
    void extraPage();
};

void TestAudience::snapshotThenChanges() {
    DisplayRecord r;
    AudienceServer server(r);
    QVERIFY(server.start(0));
    Mirror m;
    QVERIFY(m.open(server.port()));
    QCOMPARE(m.first, 0);
    QCOMPARE(m.lines, tail(r, 0));

    r.append(QStringLiteral("こんにちは、皆さん"), kPlain);
    r.append(QStringLiteral("second `rよみ`s読み line"), kPlain);
    QVERIFY(QTest::qWaitFor([&] { return m.lines == tail(r, 0); }, 5000));
    QVERIFY(m.consistent);
    QCOMPARE(m.snapshots, 1);
    QVERIFY(m.changes >= 2);
    QCOMPARE(server.viewerCount(), 1);
}

void TestAudience::undoAndClearing() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.snapshotLines = 10;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));
    for (int i = 0; i < 30; ++i)
        r.append(QStringLiteral("line %1").arg(i), kPlain);
    Mirror m;
    QVERIFY(m.open(server.port()));
    QCOMPARE(m.first, r.lineCount() - 10); // a snapshot carries the last lines only
    QCOMPARE(m.lines, tail(r, m.first));

    const int changesBefore = m.changes;
    r.removeLastLine(); // undo takes the last line back
    QVERIFY(QTest::qWaitFor([&] { return m.changes > changesBefore; }, 5000));
    QCOMPARE(m.lines, tail(r, m.first));
    QCOMPARE(m.snapshots, 1);

    r.setLastLine(QStringLiteral("corrected")); // a correction of the last line
    QVERIFY(QTest::qWaitFor([&] { return m.lines == tail(r, m.first); }, 5000));

    // Typing on past twice a snapshot's lines starts the window afresh.
    for (int i = 0; i < 25; ++i)
        r.append(QStringLiteral("more %1").arg(i), kPlain);
    QVERIFY(QTest::qWaitFor([&] { return m.lines == tail(r, m.first); }, 5000));
    QVERIFY(m.snapshots >= 2);
    QVERIFY(m.lines.size() <= 20);

    // Clearing replaces everything: the change reaches above the window.
    r.reset({QStringLiteral("fresh")});
    QVERIFY(QTest::qWaitFor([&] { return m.lines == QStringList{QStringLiteral("fresh")}; }, 5000));
    QCOMPARE(m.first, 0);
    QVERIFY(m.consistent);
}

void TestAudience::pages_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("contains");
    QTest::newRow("page") << "/" << QByteArray("text/html") << QByteArray("/audience.js");
    QTest::newRow("overlay") << "/overlay?lines=3&color=%23ff0000" << QByteArray("text/html")
                             << QByteArray("\"color\":\"#ff0000\"");
    QTest::newRow("script") << "/audience.js" << QByteArray("text/javascript")
                            << QByteArray("/live");
    QTest::newRow("style") << "/audience.css" << QByteArray("text/css")
                           << QByteArray("theme-contrast");
}

void TestAudience::pages() {
    QFETCH(QString, path);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, contains);
    DisplayRecord r;
    AudienceServer server(r);
    QVERIFY(server.start(0));
    QNetworkAccessManager net;
    QNetworkReply* reply = net.get(
        QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.port()) + path)));
    QSignalSpy done(reply, &QNetworkReply::finished);
    QVERIFY(done.wait(5000));
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QVERIFY(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray().startsWith(type));
    const QByteArray body = reply->readAll();
    QVERIFY2(body.contains(contains), body.left(300).constData());
    reply->deleteLater();
}

void TestAudience::refusedRequests_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("status");
    QTest::newRow("post") << QByteArray("POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\nab")
                          << QByteArray("HTTP/1.1 405");
    QTest::newRow("put") << QByteArray("PUT /live HTTP/1.1\r\nHost: x\r\n\r\n")
                         << QByteArray("HTTP/1.1 405");
    QTest::newRow("huge header") << QByteArray("GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " +
                                               QByteArray(20000, 'a') + "\r\n\r\n")
                                 << QByteArray("HTTP/1.1 431");
    QTest::newRow("endless header")
        << QByteArray("GET / HTTP/1.1\r\nX-Pad: " + QByteArray(20000, 'a'))
        << QByteArray("HTTP/1.1 431");
    QTest::newRow("body on get") << QByteArray("GET / HTTP/1.1\r\nContent-Length: 100000\r\n\r\n")
                                 << QByteArray("HTTP/1.1 413");
    QTest::newRow("garbage") << QByteArray("\x01\x02 hello\r\n\r\n") << QByteArray("HTTP/1.1 400");
    QTest::newRow("no header colon")
        << QByteArray("GET / HTTP/1.1\r\nnonsense\r\n\r\n") << QByteArray("HTTP/1.1 400");
    QTest::newRow("live without upgrade")
        << QByteArray("GET /live HTTP/1.1\r\n\r\n") << QByteArray("HTTP/1.1 400");
    QTest::newRow("unknown path") << QByteArray("GET /etc/passwd HTTP/1.1\r\n\r\n")
                                  << QByteArray("HTTP/1.1 404");
}

void TestAudience::refusedRequests() {
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, status);
    DisplayRecord r;
    AudienceServer server(r);
    QVERIFY(server.start(0));
    const QByteArray answer = exchange(server.port(), request);
    QVERIFY2(answer.startsWith(status), answer.left(100).constData());
    // The station still serves afterwards.
    QVERIFY(exchange(server.port(), "GET / HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200"));
}

void TestAudience::overlayOptions_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("outline");
    QTest::addColumn<QString>("font");
    QTest::newRow("defaults") << "" << 2 << 48 << "#ffffff"
                              << "#000000"
                              << "sans-serif";
    QTest::newRow("given") << "lines=4&size=60&color=yellow&outline=%23333&font=IPAGothic" << 4
                           << 60 << "yellow"
                           << "#333"
                           << "IPAGothic";
    QTest::newRow("clamped") << "lines=999&size=1" << 20 << 8 << "#ffffff"
                             << "#000000"
                             << "sans-serif";
    QTest::newRow("negative") << "lines=-3&size=100000" << 1 << 300 << "#ffffff"
                              << "#000000"
                              << "sans-serif";
    QTest::newRow("not numbers") << "lines=abc&size=" << 2 << 48 << "#ffffff"
                                 << "#000000"
                                 << "sans-serif";
    QTest::newRow("script in values")
        << "color=red;background:url(x)&outline=%3C/script%3E&font=a%22%3E%3Cscript%3E" << 2 << 48
        << "#ffffff"
        << "#000000"
        << "sans-serif";
    QTest::newRow("japanese face")
        << "font=IPA%E3%82%B4%E3%82%B7%E3%83%83%E3%82%AF" << 2 << 48 << "#ffffff"
        << "#000000"
        << "IPAゴシック";
    QTest::newRow("no outline") << "outline=none" << 2 << 48 << "#ffffff"
                                << "none"
                                << "sans-serif";
}

void TestAudience::overlayOptions() {
    QFETCH(QString, query);
    const auto o = web::OverlayOptions::fromQuery(QUrlQuery(query));
    QTEST(o.lines, "lines");
    QTEST(o.size, "size");
    QTEST(o.color, "color");
    QTEST(o.outline, "outline");
    QTEST(o.font, "font");
}

void TestAudience::rubyPieces_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("pieces"); // readings in brackets
    QTest::newRow("plain") << "abc" << QStringList{"abc"};
    QTest::newRow("one reading") << "今日は`rきょう`s京の話"
                                 << QStringList{"今日は", "[きょう]", "京の話"};
    QTest::newRow("at the start") << "`rよみ`s読み" << QStringList{"[よみ]", "読み"};
    QTest::newRow("unclosed mark") << "a`rb" << QStringList{"a`rb"};
    QTest::newRow("two") << "`ra`sA`rb`sB" << QStringList{"[a]", "A", "[b]", "B"};
}

void TestAudience::rubyPieces() {
    QFETCH(QString, line);
    QStringList got;
    for (const auto& p : web::splitRuby(line))
        got << (p.reading ? QLatin1Char('[') + p.text + QLatin1Char(']') : p.text);
    QTEST(got, "pieces");
}

void TestAudience::portInUse() {
    QTcpServer holder;
    QVERIFY(holder.listen(QHostAddress::Any, 0));
    DisplayRecord r;
    AudienceServer server(r);
    QVERIFY(!server.start(holder.serverPort()));
    QCOMPARE(server.errorString(), QStringLiteral("Port %1 is in use").arg(holder.serverPort()));
    QVERIFY(!server.isListening());
}

void TestAudience::viewerLimit() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.maxViewers = 2;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));
    Mirror a, b;
    QVERIFY(a.open(server.port()));
    QVERIFY(b.open(server.port()));
    const QByteArray answer = exchange(
        server.port(), "GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: "
                       "Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                       "Sec-WebSocket-Version: 13\r\n\r\n");
    QVERIFY2(answer.startsWith("HTTP/1.1 503"), answer.left(100).constData());
    QCOMPARE(server.viewerCount(), 2);

    b.ws.close();
    QVERIFY(QTest::qWaitFor([&] { return server.viewerCount() == 1; }, 5000));
    Mirror c;
    QVERIFY(c.open(server.port()));
}

// Upgrades that arrive together hold places under the cap while their
// handshakes run: the extra ones are answered 503, not upgraded and closed.
void TestAudience::handshakesCountTowardsTheCap() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.maxViewers = 2;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));

    // Every request is in the kernel before the server reads any of them.
    std::vector<QByteArray> answers(10);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        auto c = std::make_unique<QTcpSocket>();
        c->connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(c->waitForConnected(5000));
        c->write(kUpgrade);
        QVERIFY(c->waitForBytesWritten(5000));
        QTcpSocket* raw = c.get();
        connect(raw, &QTcpSocket::readyRead, [&answers, raw, i] { answers[i] += raw->readAll(); });
        clients.push_back(std::move(c));
    }
    QTRY_VERIFY(std::all_of(answers.begin(), answers.end(),
                            [](const QByteArray& a) { return a.contains("\r\n\r\n"); }));
    const auto count = [&](const char* status) {
        return std::count_if(answers.begin(), answers.end(),
                             [status](const QByteArray& a) { return a.startsWith(status); });
    };
    QCOMPARE(count("HTTP/1.1 101"), 2);
    QCOMPARE(count("HTTP/1.1 503"), 8);
    QCOMPARE(server.viewerCount(), 2);
}

namespace {
// Stops the server as soon as it hands a connection to the WebSocket
// server, so that the stop finds the handshake under way.
struct StopOnUpgrade : QObject {
    AudienceServer* server = nullptr;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ChildAdded &&
            qobject_cast<QTcpSocket*>(static_cast<QChildEvent*>(e)->child()))
            QMetaObject::invokeMethod(
                server, [s = server] { s->stop(); }, Qt::QueuedConnection);
        return false;
    }
};
} // namespace

// However a handshake ends, its socket is freed at once, not when the
// server goes.
void TestAudience::handshakesLeaveNothingBehind_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("abandon"); // the client goes as soon as it has asked
    QTest::addColumn<bool>("stop");    // the view is closed during the handshake
    QTest::addColumn<bool>("upgraded");
    const QByteArray upgrade(kUpgrade);
    QByteArray badVersion = upgrade;
    badVersion.replace("Version: 13", "Version: 99");
    QByteArray noKey = upgrade;
    noKey.replace("Sec-WebSocket-Key", "X-Key");
    QTest::newRow("abandoned") << upgrade << true << false << false;
    QTest::newRow("unsupported version") << badVersion << false << false << false;
    QTest::newRow("no key") << noKey << false << false << false;
    QTest::newRow("stopped") << upgrade << false << true << false;
    QTest::newRow("completed") << upgrade << false << false << true;
}

void TestAudience::handshakesLeaveNothingBehind() {
    QFETCH(QByteArray, request);
    QFETCH(bool, abandon);
    QFETCH(bool, stop);
    QFETCH(bool, upgraded);
    DisplayRecord r;
    AudienceServer server(r);
    QVERIFY(server.start(0));
    StopOnUpgrade stopper;
    stopper.server = &server;
    if (stop)
        server.installEventFilter(&stopper);

    std::vector<QByteArray> answers(20);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (std::size_t i = 0; i < answers.size(); ++i) {
        auto c = std::make_unique<QTcpSocket>();
        c->connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(c->waitForConnected(5000));
        c->write(request);
        QVERIFY(c->waitForBytesWritten(5000));
        QTcpSocket* raw = c.get();
        connect(raw, &QTcpSocket::readyRead, [&answers, raw, i] { answers[i] += raw->readAll(); });
        if (abandon)
            c->abort();
        clients.push_back(std::move(c));
    }
    if (upgraded) {
        QTRY_COMPARE(server.viewerCount(), 20);
        QTRY_VERIFY(std::all_of(answers.begin(), answers.end(),
                                [](const QByteArray& a) { return !a.isEmpty(); }));
        for (auto& c : clients)
            c->disconnectFromHost();
    }
    QTRY_COMPARE(socketsOf(server), 0);
    QTRY_VERIFY(std::all_of(clients.begin(), clients.end(), [](const auto& c) {
        return c->state() == QAbstractSocket::UnconnectedState;
    }));
    QCOMPARE(server.viewerCount(), 0);
    for (const QByteArray& a : answers)
        QVERIFY2(a.startsWith("HTTP/1.1 101") == upgraded, a.left(60).constData());
}

// A viewer that stops reading: its queue stays within the bound, and once it
// reads again it gets a fresh snapshot instead of the backlog, then changes
// again.
void TestAudience::slowViewerIsResynchronised() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.maxQueuedBytes = 64 * 1024;
    // The stall below lasts as long as the typing takes, which under the
    // sanitizer is many seconds; dropping a viewer is not what is tested.
    limits.behindTimeoutMs = 10 * 60 * 1000;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));

    PausingMirror slow;
    QVERIFY(slow.open(server.port()));
    Mirror brisk;
    QVERIFY(brisk.open(server.port()));

    slow.pause();
    const QString text(2000, QLatin1Char('x'));
    qint64 sent = 0;
    for (int i = 0; i < 20000; ++i) {
        r.append(text + QString::number(i), kPlain);
        sent += text.size();
        if (i % 200 == 0)
            QCoreApplication::processEvents();
    }
    QVERIFY(sent > 32LL * 1024 * 1024); // far beyond what kernel buffers hold

    // The brisk viewer keeps up.
    QVERIFY(QTest::qWaitFor([&] { return brisk.lines == tail(r, brisk.first); }, 20000));
    QVERIFY(brisk.consistent);
    const int briskSnapshots = brisk.snapshots;

    // The slow one reads again and catches up through a snapshot.
    slow.resume();
    QVERIFY(QTest::qWaitFor([&] { return slow.lines == tail(r, slow.first); }, 20000));
    QVERIFY(slow.snapshots >= 2);
    QVERIFY(slow.consistent);
    QCOMPARE(server.viewerCount(), 2);

    // Caught up, both get the next correction as a change: a snapshot larger
    // than the queue's bound does not keep the viewer behind, answered by
    // snapshot after snapshot while nothing changes.
    const int slowSnapshots = slow.snapshots;
    r.setLastLine(QStringLiteral("corrected after the catch-up"));
    QVERIFY(QTest::qWaitFor(
        [&] { return slow.lines == tail(r, slow.first) && brisk.lines == tail(r, brisk.first); },
        5000));
    QCOMPARE(slow.snapshots, slowSnapshots);
    QCOMPARE(brisk.snapshots, briskSnapshots);
    QVERIFY(slow.consistent);
    QVERIFY(brisk.consistent);
}

// A viewer that stopped answering pings (a phone gone to sleep without
// closing) gives its place back; one that answers stays.
void TestAudience::silentViewerIsDropped() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.pingIntervalMs = 200;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));
    Mirror live;
    QVERIFY(live.open(server.port()));

    QTcpSocket silent; // completes the handshake, then never answers
    QByteArray answer;
    connect(&silent, &QTcpSocket::readyRead, [&] { answer += silent.readAll(); });
    silent.connectToHost(QHostAddress::LocalHost, server.port());
    silent.write("GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: "
                 "Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                 "Sec-WebSocket-Version: 13\r\n\r\n");
    QTRY_VERIFY(answer.startsWith("HTTP/1.1 101"));
    QTRY_COMPARE(server.viewerCount(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(server.viewerCount(), 1, 10000);
    QTRY_COMPARE(silent.state(), QAbstractSocket::UnconnectedState);
    r.append(QStringLiteral("still here"), kPlain);
    QTRY_COMPARE(live.lines, tail(r, live.first));
}

void TestAudience::droppedConnectionsStallNothing() {
    DisplayRecord r;
    AudienceServer::Limits limits;
    limits.maxOpenRequests = 16;
    AudienceServer server(r, limits);
    QVERIFY(server.start(0));
    Mirror m;
    QVERIFY(m.open(server.port()));

    // Many connections opened and dropped, half of them mid-request.
    std::vector<std::unique_ptr<QTcpSocket>> sockets;
    for (int i = 0; i < 500; ++i) {
        auto s = std::make_unique<QTcpSocket>();
        s->connectToHost(QHostAddress::LocalHost, server.port());
        if (i % 2)
            s->write("GET / HTTP/1.1\r\nHost: ");
        sockets.push_back(std::move(s));
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    for (int i = 0; i < 500; i += 3)
        sockets[std::size_t(i)]->abort();
    QCoreApplication::processEvents();
    sockets.clear();

    r.append(QStringLiteral("still live"), kPlain);
    QVERIFY(QTest::qWaitFor([&] { return m.lines == tail(r, m.first); }, 5000));
    QVERIFY(QTest::qWaitFor(
        [&] {
            return exchange(server.port(), "GET / HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200");
        },
        5000));
}

void TestAudience::extraPage() {
    DisplayRecord r;
    AudienceServer server(r);
    server.addPage(QStringLiteral("/extra.txt"),
                   [](const QUrlQuery&) -> std::optional<AudienceServer::Reply> {
                       return AudienceServer::Reply{"text/plain; charset=utf-8", "hello", {}};
                   });
    QVERIFY(server.start(0));
    const QByteArray answer = exchange(server.port(), "GET /extra.txt HTTP/1.1\r\n\r\n");
    QVERIFY(answer.startsWith("HTTP/1.1 200"));
    QVERIFY(answer.endsWith("\r\n\r\nhello"));
}

QTEST_MAIN(TestAudience)
#include "tst_audience.moc"
