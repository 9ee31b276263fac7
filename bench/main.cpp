// The benchmark runner: a QApplication on the offscreen platform (the smooth
// screen's widgets need one), the benchmarks, then a summary of the figures.

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform warns about every window with a fixed size; those lines
// would only break up the table.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    qtHandler(type, context, text);
}

// Passes everything to the console and keeps each benchmark's time per
// iteration, the median when the runs are repeated.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Iteration && !medians_.count(r.run_name.str()))
                times_[r.run_name.str()] = r.GetAdjustedRealTime();
            if (median) {
                medians_[r.run_name.str()] = true;
                times_[r.run_name.str()] = r.GetAdjustedRealTime();
            }
        }
    }
    const std::map<std::string, double>& times() const { return times_; }

private:
    std::map<std::string, double> times_; // in each benchmark's own unit (µs)
    std::map<std::string, bool> medians_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(dropPlatformNoise);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto& t = reporter.times();
    const auto find = [&](const char* name) {
        const auto it = t.find(name);
        return it == t.end() ? -1.0 : it->second;
    };
    const double cached = find("BM_SmoothFrame");
    const double naive = find("BM_NaiveTextFrame");
    const double small = find("BM_AppendFrame/100");
    const double large = find("BM_AppendFrame/100000");
    std::printf("\nSummary (real time per iteration)\n");
    if (cached >= 0)
        std::printf("  frame, strips (1920x1080, 17 lines):  %8.3f ms  (target < 0.5 ms)\n",
                    cached / 1000);
    if (naive >= 0)
        std::printf("  frame, text drawn every frame:        %8.3f ms\n", naive / 1000);
    if (small >= 0)
        std::printf("  append + frame, 100 lines:            %8.3f ms\n", small / 1000);
    if (large >= 0)
        std::printf("  append + frame, 100,000 lines:        %8.3f ms\n", large / 1000);
    if (small > 0 && large >= 0)
        std::printf("  ratio 100,000 / 100 lines:            %8.3f     (target < 1.2)\n",
                    large / small);
    return 0;
}
