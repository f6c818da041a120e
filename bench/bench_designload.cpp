// A design of 100,000 entries (one reference clock repeated by as many cores, the shape that
// made the reader quadratic) loaded into the SERDES model. The baseline parses the same file
// with QJsonDocument alone, so the ratio is what checking and applying the entries adds. Both
// are timed in the thread's CPU time, which other processes on the machine do not stretch.
#include "medianreporter.h"

#include <design/designfile.h>
#include <serdes.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

constexpr int Entries = 100000;

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

const QString &designPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QJsonArray clocks;
        for (int i = 0; i < Entries; ++i)
            clocks.append(QJsonObject{{QStringLiteral("source"), QStringLiteral("Q0_REFCLK0")},
                                      {QStringLiteral("frequency"), QStringLiteral("122.88")},
                                      {QStringLiteral("owner"), QStringLiteral("core%1").arg(i)}});
        const QJsonObject design{{QStringLiteral("device"), QStringLiteral("TQ2H4-FF676")},
                                 {QStringLiteral("refClocks"), clocks}};
        const QString file = dir.filePath(QStringLiteral("design.json"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(design).toJson()) < 0)
            std::abort();
        return file;
    }();
    return path;
}

void designLoad(benchmark::State &state)
{
    const QString path = designPath();
    for (auto _ : state) {
        const double start = threadCpuSeconds();
        QString error;
        if (!IPSERDESIP::DesignFile::load(path, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.SetIterationTime(threadCpuSeconds() - start);
    }
}

void jsonParseOnly(benchmark::State &state)
{
    const QString path = designPath();
    for (auto _ : state) {
        const double start = threadCpuSeconds();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read the design");
            break;
        }
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        benchmark::DoNotOptimize(document.object().size());
        state.SetIterationTime(threadCpuSeconds() - start);
    }
}

BENCHMARK(designLoad)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(jsonParseOnly)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MedianReporter reporter;
    reporter.runAll(&argc, argv);
    reporter.printRatio("designLoad", "jsonParseOnly", "ms");
    reporter.printBudget("designLoad", "design of 100,000 entries to a loaded model (CPU)", 500.0);
    return 0;
}
