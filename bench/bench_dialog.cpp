// Opening the configuration dialog on an eight-lane stored core (construction, initDialog and
// the restore) against building the same four forms in a bare QDialog. The difference is what
// the dialog adds: the base dialog, choice lists, validators, wiring and the slots that the
// restore sets off. The run ends with the ratio of the two medians.
#include "benchsupport.h"
#include "dialogworkload.h"
#include "medianreporter.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using DialogWorkload::buildBareForms;
using DialogWorkload::eightLaneSet;
using DialogWorkload::openStored;
using DialogWorkload::useTwoQuadDevice;

void openStoredDialog(benchmark::State &state)
{
    useTwoQuadDevice();
    const IPSERDESIP::ParameterMap stored = eightLaneSet();
    for (auto _ : state) {
        if (!openStored(stored))
            state.SkipWithError("the stored set was refused");
    }
}

void bareForms(benchmark::State &state)
{
    for (auto _ : state)
        buildBareForms();
}

// The two in turns within one loop, each timed on its own. The speed of these machines shifts
// between two levels every few seconds; a dialog and the bare forms built microseconds apart
// see the same machine, so each repetition's ratio is the ratio at one speed.
void dialogOverBareForms(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    useTwoQuadDevice();
    const IPSERDESIP::ParameterMap stored = eightLaneSet();
    Clock::duration dialogTime{};
    Clock::duration bareTime{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (!openStored(stored))
            state.SkipWithError("the stored set was refused");
        const Clock::time_point dialogDone = Clock::now();
        buildBareForms();
        const Clock::time_point bareDone = Clock::now();
        dialogTime += dialogDone - start;
        bareTime += bareDone - dialogDone;
    }
    const double iterations = double(state.iterations());
    state.counters["dialog_ms"] =
        std::chrono::duration<double, std::milli>(dialogTime).count() / iterations;
    state.counters["bare_ms"] =
        std::chrono::duration<double, std::milli>(bareTime).count() / iterations;
    state.counters["ratio"] = double(dialogTime.count()) / double(bareTime.count());
}

// Repetitions of the first two alternate in random order, so that a change of the machine's
// speed during the run weighs on both medians alike.
BENCHMARK(openStoredDialog)->Unit(benchmark::kMillisecond)->Repetitions(15);
BENCHMARK(bareForms)->Unit(benchmark::kMillisecond)->Repetitions(15);
BENCHMARK(dialogOverBareForms)->Unit(benchmark::kMillisecond)->Repetitions(15);

} // namespace

int main(int argc, char **argv)
{
    BenchSupport::offscreenWithoutDisplay();
    QApplication app(argc, argv);
    // The Calculate button is not pressed here; the project directory only has to exist.
    QTemporaryDir project;
    Core::IdeCore::setProjectDirectory(project.path());

    // Interleaving by default; a flag given on the command line comes later and wins.
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char *> args(argv, argv + argc);
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    MedianReporter reporter;
    reporter.runAll(&count, args.data());
    reporter.printRatio("openStoredDialog", "bareForms", "ms");
    const double pairedRatio = reporter.medianCounter("dialogOverBareForms", "ratio");
    if (pairedRatio > 0)
        std::printf("dialog / bare forms built in turns (median of repetitions): %.2fx\n",
                    pairedRatio);
    return 0;
}
