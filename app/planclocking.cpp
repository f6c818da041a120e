#include "planclocking.h"

#include <generatorresult.h>
#include <nametables.h>
#include <pllsolver.h>
#include <plltable.h>
#include <serdes.h>

#include <QMap>

#include <algorithm>

namespace HostProgram {

using IPSERDESIP::PllLimits;
using IPSERDESIP::PllSolution;
namespace NameTables = IPJESD204B::NameTables;

namespace {

struct WorkingClock
{
    Ratio refClockMHz;
    PllSolution solution;
};

// Every clock in the dialog's range from which the PLL type makes the rate, with the solver's
// dividers for it. A clock comes from f = VCO x M / (N1 x N2) for each VCO the band admits;
// the solver then picks its own divider set (smallest M, lowest VCO) for that clock. This is
// the one place that enumerates the PLL's clocks: a solver that lists them itself replaces the
// body of this function.
QVector<WorkingClock> workingClocks(const PllLimits &limits, const Ratio &rateGbps)
{
    QMap<QString, Ratio> clocks; // by exact text, so each clock once
    for (const int d : limits.d) {
        const Ratio vco = rateGbps * d / limits.rateFactor;
        if (!limits.admitsVco(vco))
            continue;
        for (const int m : limits.m) {
            for (const int n1 : limits.n1) {
                for (const int n2 : limits.n2) {
                    const Ratio clock = vco * (1000LL * m) / (1LL * n1 * n2);
                    if (minRefClockMHz() <= clock && clock <= maxRefClockMHz() &&
                        survivesFrequencyLine(clock))
                        clocks.insert(clock.toString(), clock);
                }
            }
        }
    }
    QVector<WorkingClock> working;
    for (const Ratio &clock : qAsConst(clocks)) {
        if (const auto solution = IPSERDESIP::PllSolver::solve(limits, clock, {rateGbps}))
            working.append({clock, *solution});
    }
    return working;
}

bool betterThan(const ClockingOption &a, const ClockingOption &b)
{
    const int digitsA = IPSERDESIP::PllSolver::significantDigits(a.refClockMHz);
    const int digitsB = IPSERDESIP::PllSolver::significantDigits(b.refClockMHz);
    if (digitsA != digitsB)
        return digitsA < digitsB;
    const int pllA = NameTables::pllSelections().indexOf(a.pll);
    const int pllB = NameTables::pllSelections().indexOf(b.pll);
    if (pllA != pllB)
        return pllA < pllB;
    const Ratio detectorA = a.refClockMHz / a.m;
    const Ratio detectorB = b.refClockMHz / b.m;
    if (detectorA != detectorB)
        return detectorB < detectorA;
    return b.refClockMHz < a.refClockMHz;
}

// The PLL resources the selection needs on these lanes, each once.
QStringList pllResources(const QString &selection, const QStringList &lanes)
{
    QStringList resources;
    for (const QString &lane : lanes) {
        const auto row = NameTables::laneByDisplayName(lane);
        const auto resource = row ? NameTables::pllResource(selection, *row) : std::nullopt;
        if (resource && !resources.contains(*resource))
            resources << *resource;
    }
    return resources;
}

QString hostName(const QString &displayName)
{
    return QString(displayName).replace(QLatin1Char(' '), QLatin1Char('_')).toUpper();
}

// A PLL the design runs serves the option only from the same clock at a VCO that gives the
// rate; then its VCO and dividers replace the solver's.
bool fitsRunningPll(const IPSERDESIP::PLL &pll, const PllLimits &limits, const Ratio &rateGbps,
                    const QString &source, ClockingOption *option)
{
    const Ratio vco = Ratio::fromDecimal(pll.vco());
    if (pll.refClock() != hostName(source) || !vco.isValid())
        return false;
    const auto dividers = IPSERDESIP::PllSolver::dividersFor(limits, vco, {rateGbps});
    if (!dividers)
        return false;
    const Ratio ratio = vco * 1000 / option->refClockMHz; // N1 x N2 / M
    for (const int m : limits.m) {
        for (const int n1 : limits.n1) {
            for (const int n2 : limits.n2) {
                if (ratio * m == Ratio::fromInt(1LL * n1 * n2)) {
                    option->m = m;
                    option->n1 = n1;
                    option->n2 = limits.perLane ? n2 : 0;
                    option->d = dividers->value(0);
                    option->vcoGHz = vco;
                    option->sharedWith = pll.owner();
                    return true;
                }
            }
        }
    }
    return false;
}

// Whether the design leaves the PLLs free (or running so that they serve the option).
bool fitsDesignPlls(const QStringList &plls, const PllLimits &limits, const Ratio &rateGbps,
                    const QString &source, ClockingOption *option)
{
    const auto instances = IPSERDESIP::serdes::instance()->allInstance();
    for (const QString &name : plls) {
        const auto *pll = dynamic_cast<const IPSERDESIP::PLL *>(instances.value(name));
        if (pll && pll->isEnabled() && !fitsRunningPll(*pll, limits, rateGbps, source, option))
            return false;
    }
    return true;
}

// The first offered source that reaches every lane and is free or runs at this clock.
QString sourceFor(const ClockingRequest &request, const Ratio &clock)
{
    const IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    for (const QString &source : NameTables::offeredRefClocks(request.deviceName)) {
        const IPSERDESIP::REF_SOURCE *record = model->FormStringToREFSPtr(source);
        if (!record)
            continue;
        if (record->getUseCount() > 0 && Ratio::fromDecimal(record->frequencyText()) != clock)
            continue;
        const bool reaches =
            std::all_of(request.lanes.cbegin(), request.lanes.cend(), [&](const QString &lane) {
                return model->checkAccess(source, hostName(lane));
            });
        if (reaches)
            return source;
    }
    return {};
}

} // namespace

Ratio minRefClockMHz()
{
    return Ratio::fromInt(50);
}

Ratio maxRefClockMHz()
{
    return Ratio::fromInt(500);
}

bool survivesFrequencyLine(const Ratio &clockMHz)
{
    if (!clockMHz.hasDecimals(9))
        return false;
    return Ratio::fromDecimal(QString::number(clockMHz.toDouble(), 'g', 6)) == clockMHz;
}

QVector<ClockingOption> planClocking(const ClockingRequest &request, int limit)
{
    QVector<ClockingOption> options;
    const IPSERDESIP::PllTable &table = IPSERDESIP::currentPllTable();
    for (const QString &selection : NameTables::pllSelections()) {
        const PllLimits *limits = table.limits(selection);
        if (!limits)
            continue;
        const QStringList plls = pllResources(selection, request.lanes);
        for (const WorkingClock &working : workingClocks(*limits, request.laneRateGbps)) {
            ClockingOption option{selection,
                                  sourceFor(request, working.refClockMHz),
                                  working.refClockMHz,
                                  working.solution.m,
                                  working.solution.n1,
                                  limits->perLane ? working.solution.n2 : 0,
                                  working.solution.d.value(0),
                                  working.solution.vco,
                                  {}};
            if (!option.refSource.isEmpty() &&
                fitsDesignPlls(plls, *limits, request.laneRateGbps, option.refSource, &option))
                options.append(option);
        }
    }
    std::sort(options.begin(), options.end(), betterThan);
    if (options.size() > limit)
        options.resize(limit);
    return options;
}

QStringList freeLanes(const QString &deviceName, int count, int directions)
{
    const auto instances = IPSERDESIP::serdes::instance()->allInstance();
    QStringList lanes;
    const QList<IPJESD204B::LaneRow> &rows = NameTables::lanes();
    const int shown = std::min<int>(NameTables::laneRowCount(deviceName), rows.size());
    for (int i = 0; i < shown && lanes.size() < count; ++i) {
        const auto *lane =
            dynamic_cast<const IPSERDESIP::LANE *>(instances.value(rows[i].resource));
        if (lane && (lane->getLaneStatus() & directions) == 0)
            lanes << rows[i].displayName;
    }
    return lanes;
}

} // namespace HostProgram
