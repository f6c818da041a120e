#include "planclocking.h"

#include <dialogrules.h>
#include <nametables.h>
#include <pll/pllsolver.h>
#include <pll/plltable.h>
#include <serdes.h>
#include <serdes/generatorresult.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <limits>

namespace HostProgram {

using IPSERDESIP::PllLimits;
using IPSERDESIP::PllSolution;
namespace NameTables = IPJESD204B::NameTables;

namespace {

// Lower is better: what the design runs, then the relations a single clock chip gives.
int tier(const ClockingOption &option)
{
    if (!option.sharedWith.isEmpty())
        return 0;
    if (option.runningClock)
        return 1;
    if (option.relation == QLatin1String("device clock"))
        return 2;
    if (option.relation.startsWith(QLatin1String("device clock")))
        return 3;
    return option.relation.isEmpty() ? 5 : 4;
}

// "=" for the base, "x 2" for twice it, "/4" for a quarter; empty when no whole relation up to
// `most`.
QString wholeRelation(const Ratio &clock, const Ratio &base, int most)
{
    if (!clock.isValid() || !base.isValid() || base.isZero())
        return {};
    const Ratio up = clock / base;
    if (up == Ratio::fromInt(1))
        return QStringLiteral("=");
    if (up.isInteger() && up.toInt() <= most)
        return QStringLiteral("x %1").arg(up.toInt());
    const Ratio down = base / clock;
    if (down.isInteger() && down.toInt() <= most)
        return QStringLiteral("/%1").arg(down.toInt());
    return {};
}

QString relationOf(const Ratio &clock, const ClockingRequest &request)
{
    const QString device = wholeRelation(clock, request.deviceClockMHz, 4);
    const auto named = [](const QString &base, const QString &relation) {
        if (relation == QLatin1String("="))
            return base;
        return base + (relation.startsWith(QLatin1Char('/')) ? QString() : QStringLiteral(" ")) +
               relation;
    };
    if (!device.isEmpty())
        return named(QStringLiteral("device clock"), device);
    const QString fs = wholeRelation(clock, request.sampleRateMsps, 16);
    return fs.isEmpty() ? QString() : named(QStringLiteral("Fs"), fs);
}

bool betterThan(const ClockingOption &a, const ClockingOption &b)
{
    if (tier(a) != tier(b))
        return tier(a) < tier(b);
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

Ratio fabricClockLimitMHz(const QString &deviceId)
{
    QFile file(QStringLiteral(":/devices/devices.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray devices =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue &device : devices) {
        if (device[QStringLiteral("id")].toString() == deviceId)
            return Ratio::fromDecimal(device[QStringLiteral("fabricClockMHz")].toString());
    }
    return {};
}

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
        ClockingOption option{choice.pll,
                              sourceFor(request, choice.refClock),
                              choice.refClock,
                              solution.m,
                              solution.n1,
                              limits.perLane ? solution.n2 : 0,
                              solution.d.value(0),
                              solution.vco,
                              {},
                              false,
                              {}};
        if (option.refSource.isEmpty() ||
            !fitsDesignPlls(pllResources(choice.pll, request.lanes), limits, request.laneRateGbps,
                            option.refSource, &option))
            continue;
        const IPSERDESIP::REF_SOURCE *source =
            IPSERDESIP::serdes::instance()->FormStringToREFSPtr(option.refSource);
        option.runningClock = source && source->getUseCount() > 0;
        option.relation = relationOf(option.refClockMHz, request);
        options.append(option);
    }
    std::sort(options.begin(), options.end(), betterThan);
    if (options.size() > limit)
        options.resize(limit);
    return options;
}

LaneOffer laneOffer(int count, int directions)
{
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    const auto instances = model->allInstance();
    QStringList exclusivelyTaken;
    for (const QString &protocol : IPJESD204B::exclusiveProtocols())
        exclusivelyTaken += model->findLaneName(protocol);
    // The occupancy as the dialog reads it, so that it offers what the plan takes.
    QList<IPJESD204B::LaneOccupancy> occupancy;
    QStringList free;
    for (const IPJESD204B::LaneRow &row : NameTables::lanes()) {
        IPJESD204B::LaneOccupancy lane{row.displayName, IPJESD204B::LaneState::Absent, false};
        if (const auto *instance =
                dynamic_cast<const IPSERDESIP::LANE *>(instances.value(row.resource))) {
            const int status = instance->getLaneStatus();
            if (status == IPSERDESIP::LANE::Free) {
                lane.state = IPJESD204B::LaneState::Free;
                free << row.displayName;
            } else if (status == directions) {
                lane.state = IPJESD204B::LaneState::UsedInOwnDirection;
                lane.takenByExclusiveProtocol =
                    !IPJESD204B::isLaneShareable(instance->name(), exclusivelyTaken);
            } else {
                lane.state = IPJESD204B::LaneState::UsedOtherwise;
            }
        }
        occupancy.append(lane);
    }
    LaneOffer offer;
    offer.offered = IPJESD204B::offeredLanes(occupancy);
    // Free lanes first: a lane another core runs in the same direction is shared only when
    // nothing else is left.
    for (const QString &lane : qAsConst(offer.offered)) {
        if (offer.chosen.size() < count && free.contains(lane))
            offer.chosen << lane;
    }
    for (const QString &lane : qAsConst(offer.offered)) {
        if (offer.chosen.size() < count && !offer.chosen.contains(lane))
            offer.chosen << lane;
    }
    return offer;
}

} // namespace HostProgram
