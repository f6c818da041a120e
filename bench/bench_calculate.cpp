// The Calculate button on an opened eight-lane core: the lane and PLL checks, the scratch
// directory, the resource recording, the clock checks, the generator's solve and the release
// of the lanes. The baseline is the generator alone on the same option lines, so the ratio
// shows what the dialog adds around the solve.
#include "medianreporter.h"

#include "jesd204bdlg.h"

#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <serdes.h>

#include "benchsupport.h"
#include "dialogworkload.h"
#include <QApplication>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using DialogWorkload::eightLaneSet;
using DialogWorkload::useTwoQuadDevice;

// The dialog as a user leaves it before pressing Calculate.
struct OpenDialog
{
    IPSERDESIP::ParameterMap parameters;
    IPJESD204B::jesd204bdlg dialog{
        {{QStringLiteral("ipcore.name"), QStringLiteral("JESD204B")}}, &parameters, nullptr};
    bool opened = dialog.setOpening(eightLaneSet());

    bool calculate()
    {
        bool ok = false;
        QMetaObject::invokeMethod(&dialog, "onButtonCalculateClicked", Qt::DirectConnection,
                                  Q_RETURN_ARG(bool, ok), Q_ARG(bool, false));
        return ok;
    }
};

// A failure box would wait for a click for ever; this closes it and the run reports the error.
void closeBoxesWhileRunning(QTimer &timer)
{
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    timer.start();
}

void calculateEightLanes(benchmark::State &state)
{
    useTwoQuadDevice();
    OpenDialog open;
    if (!open.opened) {
        state.SkipWithError("the stored set was refused");
        return;
    }
    for (auto _ : state) {
        if (!open.calculate()) {
            state.SkipWithError("Calculate failed");
            break;
        }
    }
}

void generatorAlone(benchmark::State &state)
{
    useTwoQuadDevice();
    OpenDialog open;
    if (!open.opened || !open.calculate()) {
        state.SkipWithError("no option lines to solve");
        return;
    }
    const QStringList options = open.dialog.serdesOptions();
    const QString csr = Core::IdeCore::projectDirectory() + QStringLiteral("/baseline.csr");
    IPSERDESIP::generator generator;
    for (auto _ : state) {
        if (!generator.generate(options, csr, {})) {
            state.SkipWithError("the generator refused the dialog's lines");
            break;
        }
    }
}

BENCHMARK(calculateEightLanes)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(generatorAlone)->Unit(benchmark::kMillisecond)->Repetitions(7);

} // namespace

int main(int argc, char **argv)
{
    BenchSupport::offscreenWithoutDisplay();
    QApplication app(argc, argv);
    QTemporaryDir project;
    Core::IdeCore::setProjectDirectory(project.path());
    QTimer boxCloser;
    closeBoxesWhileRunning(boxCloser);

    MedianReporter reporter;
    reporter.runAll(&argc, argv);
    reporter.printRatio("calculateEightLanes", "generatorAlone", "ms");
    reporter.printBudget("calculateEightLanes", "Calculate on eight lanes", 5.0);
    return 0;
}
