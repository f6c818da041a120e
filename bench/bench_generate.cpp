// Generation of the eight-lane example against the bare cost of writing the same three files
// with QSaveFile. Both write into the same directory, so the difference is what generation
// adds: building the lines, the directory check and the host's file writer.
#include "jesd204b.h"

#include <serdes.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const QStringList OutputFiles{"top_define.vh", "jesd204b_top_defines.vh", "jesd204b.ini"};

IPSERDESIP::ParameterMap eightLaneParameters()
{
    QFile file(QStringLiteral(JESD_SOURCE_DIR "/examples/both_8lane.json"));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return QJsonDocument::fromJson(file.readAll()).object().toVariantMap();
}

struct Setup
{
    QTemporaryDir work;
    IPSERDESIP::ParameterMap params = eightLaneParameters();
    IPJESD204B::jesd204b protocol{QStringLiteral(JESD_SOURCE_DIR "/data")};
    QString dir;

    Setup()
    {
        if (!work.isValid() || !protocol.load())
            std::abort();
        IPSERDESIP::serdes::instance()->setWorkingDir(work.path());
        // Bias lines as the design that accepted the core published them.
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q0_BIAS"), 10);
        IPSERDESIP::serdes::instance()->setData(QStringLiteral("Q1_BIAS"), 10);
        dir = work.path() + QLatin1Char('/') + params.value(QStringLiteral("file")).toString() +
              QStringLiteral("/temp/jesd204b");
    }
};

Setup &setup()
{
    static Setup instance;
    return instance;
}

bool generateOnce()
{
    QStringList ini, reserved, options;
    QString message;
    return setup().protocol.generate(setup().params, ini, reserved, options, message, false);
}

void BM_Generate(benchmark::State &state)
{
    for (auto _ : state) {
        if (!generateOnce())
            state.SkipWithError("generation failed");
    }
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMicrosecond);

void BM_QSaveFileBaseline(benchmark::State &state)
{
    if (!generateOnce()) {
        state.SkipWithError("generation failed");
        return;
    }
    QList<QByteArray> contents;
    for (const QString &name : OutputFiles) {
        QFile file(setup().dir + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("missing output");
            return;
        }
        contents << file.readAll();
    }
    for (auto _ : state) {
        for (int i = 0; i < OutputFiles.size(); ++i) {
            QSaveFile file(setup().dir + QLatin1Char('/') + OutputFiles.at(i));
            if (!file.open(QIODevice::WriteOnly) || file.write(contents.at(i)) < 0 ||
                !file.commit())
                state.SkipWithError("write failed");
        }
    }
}
BENCHMARK(BM_QSaveFileBaseline)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
