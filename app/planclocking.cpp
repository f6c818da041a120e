#include "planclocking.h"

#include <generatorresult.h>
#include <nametables.h>
#include <pllsolver.h>
#include <plltable.h>
#include <serdes.h>

#include <algorithm>
#include <limits>

namespace HostProgram {

using IPSERDESIP::PllLimits;
using IPSERDESIP::PllSolution;
namespace NameTables = IPJESD204B::NameTables;

namespace {

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

QVector<ClockingOption> planClocking(const ClockingRequest &request, int limit)
{
    // Every clock in the range that the frequency line keeps, for every PLL type of the table;
    // the plan ranks them itself.
    IPSERDESIP::ClockWindow window;
    window.min = minRefClockMHz();
    window.max = maxRefClockMHz();
    window.significantDigits = 6;
    const IPSERDESIP::PllTable &table = IPSERDESIP::currentPllTable();
    const auto choices = IPSERDESIP::PllSolver::clockChoices(table, {request.laneRateGbps}, window,
                                                             {}, std::numeric_limits<int>::max());
    const QStringList selections = NameTables::pllSelections();
    QVector<ClockingOption> options;
    for (const IPSERDESIP::ClockChoice &choice : choices) {
        if (!selections.contains(choice.pll))
            continue;
        const PllLimits &limits = *table.limits(choice.pll);
        const PllSolution &solution = choice.solution;
        ClockingOption option{
            choice.pll,  sourceFor(request, choice.refClock), choice.refClock,     solution.m,
            solution.n1, limits.perLane ? solution.n2 : 0,    solution.d.value(0), solution.vco,
            {}};
        if (!option.refSource.isEmpty() &&
            fitsDesignPlls(pllResources(choice.pll, request.lanes), limits, request.laneRateGbps,
                           option.refSource, &option))
            options.append(option);
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
