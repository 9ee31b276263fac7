// A long day at a display station: 100,000 captions arrive at full speed
// through the station's real receive path (a whole Station on the in-process
// LAN, each caption a code page 932 datagram from a typist's host). At 1,000,
// 10,000 and 100,000 lines it prints what one append costs, what one frame of
// the smooth screen costs, and the process's resident memory beside the
// record's own text: none of them may grow with the record but the text.
//
// The periodic clearing is off, the worst case: with it on (the default) the
// record is cut to a few lines every ten minutes and never gets this long.
//
// Usage: quorel_soak [captions]   (100000 unless given; checkpoints at 1,000,
// 10,000 and 100,000 lines of it)

#include "app/main_console.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"
#include "captions.h"
#include "lan_fixture.h"
#include "process_memory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <vector>

namespace quorel::bench {
namespace {

const QString kStation = QStringLiteral("192.168.1.10");
constexpr int kCaptionPort = 6711;
constexpr int kSamples = 300; // appends and frames behind each median

double medianOf(std::vector<double> v) {
    if (v.empty())
        return -1;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
    return v[v.size() / 2];
}

// Every line different, as in a real day: a sentence and its running number.
QString sentence(int i) {
    return caption(i) + QStringLiteral("（%1）").arg(i);
}

// Counts the paint events of the smooth screen's picture, so a frame is timed
// until its pixels are on the window, whenever the picture paints them.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class Soak {
public:
    Soak() : station_(net_.add()), typist_(net_.peer(QStringLiteral("192.168.1.20"))) {
        TMainConsole& m = *station_.main();
        // The start's second half (five seconds in), then a full-HD window.
        station_.Timer2Timer();
        m.resize(1920, 1080);
        QApplication::processEvents();
        m.Timer5->stop(); // no periodic clearing
        m.Image1->installEventFilter(&paints_);
    }

    // One caption from the typist's host, until the record holds it; returns
    // the microseconds that took.
    double receive(int i) {
        const int before = station_.record().lineCount();
        QElapsedTimer t;
        t.start();
        typist_.send(kStation, kCaptionPort, sentence(i));
        while (station_.record().lineCount() == before) {
            QApplication::processEvents();
            if (t.elapsed() > 5000) {
                std::fprintf(stderr, "quorel_soak: caption %d never reached the record\n", i);
                std::exit(1);
            }
        }
        const double us = double(t.nsecsElapsed()) / 1000;
        // The test LAN logs every datagram for tests that read the wire; that
        // log is no part of a station and would blur its memory.
        net_.lan.clearTraffic();
        return us;
    }

    // The smooth screen scrolling new lines in, one frame at a time as its
    // timer would, each until the picture has painted it: the medians of the
    // frames (render + paint) and of the renderer's part alone, in µs.
    std::pair<double, double> frames(int& next) {
        ScreenPart& screen = station_.screen();
        TMainConsole& m = *station_.main();
        const SmoothRenderer& renderer = m.Image1->renderer();
        screen.Button13Click(); // "RE": at rest at the end of the record
        std::vector<double> frame, render;
        while (int(frame.size()) < kSamples) {
            receive(next++);
            m.Timer1->stop(); // frames come from here only
            while (screen.state().shownIndex < screen.state().targetCount &&
                   int(frame.size()) < kSamples) {
                const int painted = paints_.paints;
                QElapsedTimer t;
                t.start();
                screen.Timer1Timer();
                const double drawn = double(t.nsecsElapsed()) / 1000;
                while (paints_.paints == painted) {
                    QApplication::processEvents();
                    if (t.elapsed() > 5000) {
                        std::fprintf(stderr, "quorel_soak: the smooth screen never painted\n");
                        std::exit(1);
                    }
                }
                frame.push_back(double(t.nsecsElapsed()) / 1000);
                render.push_back(drawn);
            }
        }
        if (renderer.lastFrame().empty()) {
            std::fprintf(stderr, "quorel_soak: the smooth screen drew no line\n");
            std::exit(1);
        }
        return {medianOf(frame), medianOf(render)};
    }

    void checkpoint(int& next, const std::vector<double>& appends) {
        const std::vector<double> last(
            appends.end() - std::min<std::ptrdiff_t>(kSamples, std::ptrdiff_t(appends.size())),
            appends.end());
        const double append = medianOf(last);
        const auto [frame, render] = frames(next);
        const DisplayRecord& record = station_.record();
        const long rss = test::residentKiB();
        const struct mallinfo2 heap = mallinfo2();
        const double heapMiB = double(heap.uordblks + heap.hblkhd) / (1024 * 1024);
        qint64 utf16 = 0;
        for (int i = 0; i < record.lineCount(); ++i)
            utf16 += 2 * record.line(i).size();
        const ScreenPart::State& s = station_.screen().state();
        std::printf("%7d lines | append %6.1f µs | frame %7.1f µs (render %6.1f) | RSS %6.1f MiB"
                    " (heap in use %5.1f) | record text %5.2f MB (UTF-16 %5.2f MB)\n",
                    record.lineCount(), append, frame, render, rss / 1024.0, heapMiB,
                    double(record.textLength()) / 1e6, double(utf16) / 1e6);
        if (lastRss_ < 0) {
            std::printf("        (picture %dx%d, %d display lines %d dots apart)\n",
                        station_.main()->Image1->width(), station_.main()->Image1->height(),
                        s.displayLines, s.lineSpacing);
        } else {
            const double lines = record.lineCount() - lastLines_;
            std::printf("        since %d lines, a line: RSS %+.0f bytes, heap in use %+.0f bytes,"
                        " record text %+.0f bytes\n",
                        lastLines_, double(rss - lastRss_) * 1024 / lines,
                        (heapMiB - lastHeap_) * 1024 * 1024 / lines,
                        double(record.textLength() - lastText_) / lines);
        }
        lastRss_ = rss;
        lastHeap_ = heapMiB;
        lastLines_ = record.lineCount();
        lastText_ = record.textLength();
        std::fflush(stdout);
    }

    DisplayRecord& record() { return station_.record(); }
    test::RecordingMessages& messages() { return net_.messages(0); }

private:
    test::Lan net_;
    Station& station_;
    test::Peer& typist_;
    PaintCounter paints_;
    long lastRss_ = -1; // at the last checkpoint
    double lastHeap_ = 0;
    int lastLines_ = 0;
    std::int64_t lastText_ = 0;
};

} // namespace
} // namespace quorel::bench

namespace {
QtMessageHandler qtHandler = nullptr;
// The offscreen platform warns about every window with a fixed size.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints")))
        qtHandler(type, context, text);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(dropPlatformNoise);
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;

    quorel::bench::Soak soak;
    std::printf("A day of captions through a display station's receive path "
                "(medians of %d)\n",
                quorel::bench::kSamples);
    std::vector<double> appends;
    appends.reserve(std::size_t(total));
    int next = 0;
    for (const int mark : {1000, 10000, 100000}) {
        if (mark > total)
            break;
        while (soak.record().lineCount() < mark)
            appends.push_back(soak.receive(next++));
        soak.checkpoint(next, appends);
    }
    for (const QString& m : soak.messages().shown + soak.messages().notified)
        std::printf("station message: %s\n", qPrintable(m));
    return 0;
}
