// Cost of planning a link: the JESD204B rules of the worked mode, then the reference clocks
// and PLLs of a two-quad device that make its lane rate. The baseline is the rules alone, so
// the ratio is what the clocking search adds; the budget is 5 ms for the whole plan. Comparing
// a received ILAS of every lane against the plan, and the receive release window and latency
// for a skew budget, are measured against the same baseline.
#include "dialogworkload.h"
#include "medianreporter.h"

#include <commandsupport.h>
#include <ilascompare.h>
#include <linklatency.h>
#include <linkplan.h>
#include <planclocking.h>
#include <serdes.h>

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

IPJESD204B::LinkMode workedMode()
{
    IPJESD204B::LinkMode mode;
    mode.lanes = 4;
    mode.converters = 2;
    mode.samples = 1;
    mode.resolution = 16;
    mode.bitsPerSample = 16;
    mode.sampleRateMsps = IPSERDESIP::Ratio::fromInt(1000);
    return mode;
}

void rulesAlone(benchmark::State &state)
{
    const IPJESD204B::LinkMode mode = workedMode();
    for (auto _ : state) {
        const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(mode);
        benchmark::DoNotOptimize(plan.ilas.size());
    }
}

void planWithClocking(benchmark::State &state)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    const DEV::DeviceArg device = HostProgram::lookUpDevice(DialogWorkload::TwoQuadDevice);
    model->setDevice(device);
    const IPJESD204B::LinkMode mode = workedMode();
    for (auto _ : state) {
        const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(mode);
        const QStringList lanes = HostProgram::laneOffer(mode.lanes, 3).chosen;
        const auto options =
            HostProgram::planClocking({device.device(), plan.laneRateMbps / 1000, lanes,
                                       plan.laneRateMbps / 40, mode.sampleRateMsps},
                                      10);
        if (options.isEmpty()) {
            state.SkipWithError("no clocking for the worked mode");
            break;
        }
        benchmark::DoNotOptimize(options.size());
    }
}

// The plan, then every lane's received configuration with a wrong F and the sent FCHK.
void planAndCompareIlas(benchmark::State &state)
{
    const IPJESD204B::LinkMode mode = workedMode();
    for (auto _ : state) {
        const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(mode);
        int differences = 0;
        for (const IPJESD204B::LaneIlas &lane : plan.ilas) {
            IPJESD204B::IlasOctets received = lane.octets;
            received[4] ^= 1;
            differences += IPJESD204B::ilasDifferences(lane.octets, received).size();
        }
        if (differences != 2 * plan.ilas.size()) {
            state.SkipWithError("the comparison missed a difference");
            break;
        }
        benchmark::DoNotOptimize(differences);
    }
}

// The plan, then the release window, the recommended RBD and its latency for a 2 ns budget.
void planWithSkewBudget(benchmark::State &state)
{
    const IPJESD204B::LinkMode mode = workedMode();
    const IPSERDESIP::Ratio budget = IPSERDESIP::Ratio::fromInt(2);
    for (auto _ : state) {
        const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(mode);
        const IPJESD204B::LatencyLink link{*plan.octetsPerFrame, *plan.framesPerMultiframe,
                                           plan.pcsBits / 8, plan.laneRateMbps};
        const IPJESD204B::RbdWindow window = IPJESD204B::rbdWindow(link, budget);
        const QStringList lines = IPJESD204B::skewBudgetReport(link, budget, window);
        if (window.recommended < 0) {
            state.SkipWithError("no release window for the worked mode");
            break;
        }
        benchmark::DoNotOptimize(lines.size());
    }
}

BENCHMARK(rulesAlone)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(planWithClocking)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(planAndCompareIlas)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(planWithSkewBudget)->Unit(benchmark::kMillisecond)->Repetitions(7);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MedianReporter reporter;
    reporter.runAll(&argc, argv);
    reporter.printRatio("planWithClocking", "rulesAlone", "ms");
    reporter.printBudget("planWithClocking", "Plan with clocking on one device", 5.0);
    reporter.printRatio("planAndCompareIlas", "rulesAlone", "ms");
    reporter.printBudget("planAndCompareIlas", "Plan and ILAS comparison of every lane", 5.0);
    reporter.printRatio("planWithSkewBudget", "rulesAlone", "ms");
    reporter.printBudget("planWithSkewBudget", "Plan with the release window of a skew budget",
                         5.0);
    return 0;
}
