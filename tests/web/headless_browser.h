#pragma once
// A real browser for the tests: headless Chromium driven over its DevTools
// protocol (a WebSocket), so a test can load a page, read what it shows,
// wait for it to change and take a screenshot, as a reader's phone would.

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>

#include <signal.h>
#include <unistd.h>

#include <memory>
#include <optional>

namespace quorel::test {

class HeadlessBrowser {
public:
    // Empty when Chromium is missing, else the browser is started.
    static QString executable() {
        // Debian's chromium is a script that may outlive as a parent of the
        // browser; the browser itself is started where it is found.
        if (QFileInfo(QStringLiteral("/usr/lib/chromium/chromium")).isExecutable())
            return QStringLiteral("/usr/lib/chromium/chromium");
        for (const char* name : {"chromium", "chromium-browser", "google-chrome"})
            if (const QString p = QStandardPaths::findExecutable(QString::fromLatin1(name));
                !p.isEmpty())
                return p;
        return {};
    }

    explicit HeadlessBrowser(QSize viewport = {390, 844}) : viewport_(viewport) {}
    ~HeadlessBrowser() {
        socket_.close();
        if (process_.state() != QProcess::NotRunning) {
            // The browser's helpers are in its process group: none may stay.
            ::kill(-pid_t(process_.processId()), SIGKILL);
            process_.waitForFinished(5000);
        }
    }

    // Starts the browser on about:blank; the reason when it cannot.
    QString start() {
        const QString exe = executable();
        if (exe.isEmpty())
            return QStringLiteral("no Chromium installed");
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setChildProcessModifier([] { ::setpgid(0, 0); });
        process_.start(
            exe,
            {QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--no-first-run"),
             QStringLiteral("--disable-dev-shm-usage"),
             QStringLiteral("--remote-debugging-port=%1").arg(port),
             QStringLiteral("--user-data-dir=%1").arg(profile_.path()),
             QStringLiteral("--window-size=%1,%2").arg(viewport_.width()).arg(viewport_.height()),
             QStringLiteral("about:blank")});
        if (!process_.waitForStarted(10000))
            return QStringLiteral("Chromium did not start");
        // The page's DevTools address, once the browser listens.
        QString wsUrl;
        QNetworkAccessManager http;
        for (QElapsedTimer t; !t.isValid() || t.elapsed() < 30000;) {
            if (!t.isValid())
                t.start();
            QNetworkReply* reply = http.get(
                QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json").arg(port))));
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
            const QJsonArray targets = QJsonDocument::fromJson(reply->readAll()).array();
            reply->deleteLater();
            for (const QJsonValue& v : targets)
                if (v[QStringLiteral("type")].toString() == QLatin1String("page"))
                    wsUrl = v[QStringLiteral("webSocketDebuggerUrl")].toString();
            if (!wsUrl.isEmpty())
                break;
            QTest::qWait(200);
        }
        if (wsUrl.isEmpty())
            return QStringLiteral("Chromium gave no page to drive: ") +
                   QString::fromLocal8Bit(process_.readAll().right(2000));
        QObject::connect(&socket_, &QWebSocket::textMessageReceived,
                         [this](const QString& m) { inbox_ << m; });
        socket_.open(QUrl(wsUrl));
        if (!QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; },
                             10000))
            return QStringLiteral("no DevTools connection");
        call(QStringLiteral("Page.enable"));
        call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
             {{QStringLiteral("width"), viewport_.width()},
              {QStringLiteral("height"), viewport_.height()},
              {QStringLiteral("deviceScaleFactor"), 2},
              {QStringLiteral("mobile"), true}});
        return {};
    }

    // One DevTools command; its result, or nothing on error or timeout.
    std::optional<QJsonObject> call(const QString& method, const QJsonObject& params = {},
                                    int timeoutMs = 10000) {
        const int id = ++lastId_;
        socket_.sendTextMessage(
            QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("id"), id},
                                                        {QStringLiteral("method"), method},
                                                        {QStringLiteral("params"), params}})
                                  .toJson(QJsonDocument::Compact)));
        std::optional<QJsonObject> result;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                for (qsizetype i = 0; i < inbox_.size(); ++i) {
                    const QJsonObject o = QJsonDocument::fromJson(inbox_[i].toUtf8()).object();
                    if (o[QStringLiteral("id")].toInt() != id)
                        continue;
                    inbox_.removeAt(i);
                    if (!o.contains(QStringLiteral("error")))
                        result = o[QStringLiteral("result")].toObject();
                    return true;
                }
                return false;
            },
            timeoutMs));
        return result;
    }

    void open(const QString& url) {
        call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}});
    }

    // The value of a JavaScript expression in the page.
    QJsonValue evaluate(const QString& expression) {
        const auto r =
            call(QStringLiteral("Runtime.evaluate"), {{QStringLiteral("expression"), expression},
                                                      {QStringLiteral("returnByValue"), true}});
        if (!r)
            return {};
        return (*r)[QStringLiteral("result")].toObject()[QStringLiteral("value")];
    }

    // What a reader sees of the page, as text.
    QString text() { return evaluate(QStringLiteral("document.body.innerText")).toString(); }

    bool screenshot(const QString& path) {
        const auto r = call(QStringLiteral("Page.captureScreenshot"),
                            {{QStringLiteral("format"), QStringLiteral("png")}});
        if (!r)
            return false;
        QFile f(path);
        return f.open(QIODevice::WriteOnly) &&
               f.write(QByteArray::fromBase64((*r)[QStringLiteral("data")].toString().toLatin1())) >
                   0;
    }

private:
    QSize viewport_;
    QTemporaryDir profile_;
    QProcess process_;
    QWebSocket socket_;
    QStringList inbox_;
    int lastId_ = 0;
};

} // namespace quorel::test
