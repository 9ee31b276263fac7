#include "x_stations.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QStandardPaths>
#include <array>

namespace quorel::test {

QByteArray address(int i) {
    return NetnsRig::hostAddress(i).toString().toLatin1();
}

QByteArray quoted(const QByteArray& s) {
    return '"' + s + '"';
}

QByteArray linesWith(const QByteArray& log, const QByteArray& needle) {
    QByteArray out;
    for (const QByteArray& line : log.split('\n'))
        if (line.contains(needle))
            out += line + '\n';
    return out.isEmpty() ? QByteArray("(none)\n") : out;
}

int countPixels(const QByteArray& ppm, const std::function<bool(int r, int g, int b)>& test) {
    if (!ppm.startsWith("P6"))
        return -1;
    // Header: magic, width, height, maximum, each after white space; comments
    // run from '#' to the end of the line.
    qsizetype pos = 2;
    std::array<long, 3> values{};
    for (long& value : values) {
        while (pos < ppm.size()) {
            if (ppm[pos] == '#') {
                while (pos < ppm.size() && ppm[pos] != '\n')
                    ++pos;
            } else if (ppm[pos] == ' ' || ppm[pos] == '\n' || ppm[pos] == '\r' ||
                       ppm[pos] == '\t') {
                ++pos;
            } else {
                break;
            }
        }
        const qsizetype start = pos;
        while (pos < ppm.size() && ppm[pos] >= '0' && ppm[pos] <= '9')
            ++pos;
        value = ppm.mid(start, pos - start).toLong();
    }
    ++pos; // the single white space before the pixels
    const long width = values[0], height = values[1], maximum = values[2];
    const long sample = maximum > 255 ? 2 : 1; // big-endian; the high byte is enough
    if (width <= 0 || height <= 0 || maximum <= 0 || maximum > 65535 ||
        ppm.size() - pos < width * height * 3 * sample)
        return -1;
    int count = 0;
    const auto* px = reinterpret_cast<const unsigned char*>(ppm.constData() + pos);
    for (long k = 0; k < width * height; ++k, px += 3 * sample)
        if (test(px[0], px[sample], px[2 * sample]))
            ++count;
    return count;
}

XStations::XStations(NetnsRig& rig) : rig_(rig), windows_(std::size_t(rig.hostCount())) {}

QString XStations::skipReason() {
    if (!rig_.skipReason().isEmpty())
        return rig_.skipReason();
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed: the stations cannot be typed into");
    const CommandResult display = rig_.runOnDisplay({"xdotool", "getdisplaygeometry"});
    if (!display.ok())
        return "no X display for the stations: " + QString::fromLocal8Bit(display.err);
    canGrab_ = !QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty();
    return QString();
}

QByteArray XStations::xdotool(const QStringList& args) {
    const CommandResult r = rig_.runOnDisplay(QStringList{"xdotool"} + args);
    if (!r.ok())
        qWarning().noquote() << "xdotool" << args.join(' ') << "failed:" << r.err.trimmed();
    return r.out;
}

QStringList XStations::visibleWindows(int i, bool mainOnly) {
    QStringList args{"search", "--all", "--onlyvisible", "--pid",
                     QString::number(rig_.stationPid(i))};
    if (mainOnly)
        args << "--name"
             << "^([0-9]+ : )?Quorel";
    const CommandResult r = rig_.runOnDisplay(QStringList{"xdotool"} + args);
    return QString::fromLatin1(r.out).split('\n', Qt::SkipEmptyParts);
}

bool XStations::waitForMainWindow(int i, int timeoutMs) {
    if (i < 1 || i > rig_.hostCount())
        return false;
    // The window found is the one kept: asking again could find none, if the
    // title changes in between (the start-up timer sets it).
    QString found;
    const bool shown = QTest::qWaitFor(
        [&] {
            const QStringList main = visibleWindows(i, true);
            if (visibleWindows(i, false).size() != 1 || main.size() != 1)
                return false;
            found = main.constFirst();
            return true;
        },
        timeoutMs);
    if (shown)
        windows_[std::size_t(i - 1)] = found;
    return shown;
}

QString XStations::window(int i) const {
    return i >= 1 && i <= rig_.hostCount() ? windows_[std::size_t(i - 1)] : QString();
}

QString XStations::windowName(const QString& window) {
    const CommandResult r = rig_.runOnDisplay({"xdotool", "getwindowname", window});
    QString name = QString::fromUtf8(r.out);
    if (name.endsWith('\n'))
        name.chop(1);
    return name;
}

void XStations::focusWindow(const QString& window) {
    xdotool({"windowfocus", "--sync", window});
}

void XStations::focus(int i) {
    focusWindow(window(i));
}

void XStations::keys(int i, const QStringList& keys) {
    focus(i);
    xdotool(QStringList{"key", "--delay", "40"} + keys);
}

// QTabWidget turns pages with Ctrl+Tab and Ctrl+Shift+Tab (Qt 6.4 has no
// Ctrl+PageDown for it) from any focus inside the tab widget, and coming back to
// the screen page gives the input part the focus.
void XStations::focusInputPart(int i) {
    keys(i, {"ctrl+Tab", "ctrl+shift+Tab"});
}

void XStations::type(int i, const QByteArray& text) {
    focus(i);
    xdotool({"type", "--delay", "15", QString::fromLatin1(text)});
}

// What a typist does: Esc clears the input part (it holds the key hint at
// start), then the sentence, then Enter sends it.
void XStations::typeSentence(int i, const QByteArray& sentence) {
    focus(i);
    xdotool({"key", "Escape"});
    xdotool({"type", "--delay", "15", QString::fromLatin1(sentence)});
    xdotool({"key", "Return"});
}

bool XStations::tabTo(int i, const QByteArray& name, int most) {
    const QByteArray focused = "focus on \"" + name + '"';
    for (int n = 0; n < most; ++n) {
        const qsizetype mark = rig_.stationOutput(i).size();
        xdotool({"key", "Tab"});
        const auto fresh = [&] { return rig_.stationOutput(i).mid(mark); };
        if (QTest::qWaitFor([&] { return fresh().contains("focus on"); }, 2000) &&
            linesWith(fresh(), "focus on").trimmed().endsWith(focused))
            return true;
    }
    return false;
}

QString XStations::otherWindow(int i, int timeoutMs) {
    QStringList windows;
    if (!QTest::qWaitFor([&] { return (windows = visibleWindows(i, false)).size() == 2; },
                         timeoutMs))
        return {};
    windows.removeAll(window(i));
    return windows.size() == 1 ? windows.constFirst() : QString();
}

QString XStations::startInTurn(int count, const QStringList& categories, int timeoutMs,
                               const QHash<int, QProcessEnvironment>& only) {
    QString rules = QStringLiteral("quorel.net.debug=true");
    for (const QString& c : categories)
        rules += QStringLiteral(";quorel.%1.debug=true").arg(c);
    const auto failed = [&](const QString& what) {
        return what + QStringLiteral(":\n") +
               QString::fromLocal8Bit(rig_.stationOutput(1).right(2000));
    };
    for (int i = 1; i <= count; ++i) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("QT_LOGGING_RULES"), rules);
        if (only.contains(i))
            env.insert(only.value(i));
        if (!rig_.startStation(i, env))
            return failed(QStringLiteral("station %1 did not start").arg(i));
        if (i < count &&
            !QTest::qWaitFor([&] { return rig_.stationOutput(i).contains("\"NMUDP8\" send "); },
                             timeoutMs))
            return failed(QStringLiteral("station %1 never searched for members").arg(i));
    }
    for (int i = 1; i <= count; ++i)
        if (!waitForMainWindow(i, timeoutMs))
            return failed(QStringLiteral("station %1 did not finish its start").arg(i));
    return {};
}

QString XStations::makeDisplayStation(int i, int timeoutMs) {
    focusInputPart(i);
    keys(i, {"ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "Tab"});
    keys(i, QStringList(10, QStringLiteral("Tab")));
    keys(i, {"space"});
    if (const QString error = closeMessageBox(i, timeoutMs); !error.isEmpty())
        return "For Display: " + error + "; " + keepScreenshot(i, QStringLiteral("for-display"));
    return {};
}

QString XStations::closeMessageBox(int i, int timeoutMs) {
    QStringList windows;
    if (!QTest::qWaitFor([&] { return (windows = visibleWindows(i, false)).size() == 2; },
                         timeoutMs))
        return QStringLiteral("no message box over station %1 (its windows: %2)")
            .arg(i)
            .arg(windows.join(' '));
    windows.removeAll(window(i));
    if (windows.size() != 1)
        return QStringLiteral("station %1's main window is gone (its windows: %2)")
            .arg(i)
            .arg(windows.join(' '));
    focusWindow(windows.constFirst());
    xdotool({"key", "Return"});
    if (!QTest::qWaitFor([&] { return visibleWindows(i, false) == QStringList{window(i)}; },
                         timeoutMs))
        return QStringLiteral("the message box over station %1 stays (its windows: %2)")
            .arg(i)
            .arg(visibleWindows(i, false).join(' '));
    return QString();
}

void XStations::raise(const QString& window) {
    xdotool({"windowraise", window});
    QTest::qWait(300); // its exposed parts are repainted
}

QByteArray XStations::grab(int i) {
    if (!canGrab_)
        return {};
    raise(window(i));
    return rig_.runOnDisplay({"import", "-window", window(i), "-depth", "8", "ppm:-"}).out;
}

QString XStations::keepScreenshot(int i, const QString& what) {
    if (!canGrab_)
        return QStringLiteral("(no screenshot: ImageMagick's import is not installed)");
    const QString path =
        QDir::current().absoluteFilePath(QStringLiteral("%1-%2-station%3.png")
                                             .arg(QCoreApplication::applicationName(), what)
                                             .arg(i));
    raise(window(i));
    const CommandResult r = rig_.runOnDisplay({"import", "-window", window(i), path});
    return r.ok() ? QStringLiteral("screenshot of station %1: %2").arg(i).arg(path)
                  : QStringLiteral("(screenshot failed: %1)").arg(QString::fromLocal8Bit(r.err));
}

} // namespace quorel::test
