// Cost of proving a core's line rate: the generator parses the option lines and solves every
// lane's PLL dividers exactly. Reported per lane; the budget is 100 us a lane.
#include <generator.h>
#include <serdes.h>

#include <QCoreApplication>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

QStringList coreOptions(int lanes, const QString &rate, const QString &pll, const QString &refMHz)
{
    QStringList options;
    for (int i = 0; i < lanes; ++i) {
        const QString prefix = QStringLiteral("q%1_ln%2").arg(i / 4).arg(i % 4);
        options << prefix + QStringLiteral("_tx_rate ") + rate
                << prefix + QStringLiteral("_rx_rate ") + rate
                << prefix + QStringLiteral("_pll_sel ") + pll
                << prefix + QStringLiteral("_loopback_mode off")
                << prefix + QStringLiteral("_enable true");
        if (i % 4 == 0)
            options << QStringLiteral("q%1_enable true").arg(i / 4);
    }
    options << QStringLiteral("q0_refclk0_freq ") + refMHz
            << QStringLiteral("global_reset_enable true");
    return options;
}

void run(benchmark::State &state, const QString &rate, const QString &pll, const QString &refMHz,
         bool feasible)
{
    const int lanes = static_cast<int>(state.range(0));
    IPSERDESIP::serdes::instance()->reset();
    const QStringList options = coreOptions(lanes, rate, pll, refMHz);
    IPSERDESIP::generator gen;
    for (auto _ : state) {
        const bool ok = gen.generate(options, QString(), {});
        if (ok != feasible) {
            state.SkipWithError("unexpected verdict");
            break;
        }
        benchmark::DoNotOptimize(ok);
    }
    state.counters["lane"] = benchmark::Counter(static_cast<double>(lanes),
                                                benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

// Lanes of a quad share one QPLL1 VCO.
void BM_SolveQuadPll(benchmark::State &state)
{
    run(state, QStringLiteral("4.9152"), QStringLiteral("qpll1"), QStringLiteral("122.88"), true);
}

// One CPLL per lane, N1 x N2 to split.
void BM_SolveCpll(benchmark::State &state)
{
    run(state, QStringLiteral("6.144"), QStringLiteral("cpll"), QStringLiteral("153.6"), true);
}

// No divider set works: the reasons, the nearest clocks and the other PLLs are worked out.
void BM_ExplainInfeasible(benchmark::State &state)
{
    run(state, QStringLiteral("8.0"), QStringLiteral("qpll1"), QStringLiteral("156.25"), false);
}

} // namespace

BENCHMARK(BM_SolveQuadPll)->Arg(1)->Arg(4)->Arg(8);
BENCHMARK(BM_SolveCpll)->Arg(1)->Arg(8);
BENCHMARK(BM_ExplainInfeasible)->Arg(1)->Arg(8);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
