#include "plladvice.h"

#include <algorithm>
#include <functional>

namespace IPSERDESIP {
namespace Advice {

using namespace Names;

namespace {

// Clocks looked at, nearest first, before giving up on finding count that the whole core takes.
const int candidateClocks = 48;

bool coreMadeWith(const Context &context, const std::function<void(LaneDemand &)> &change)
{
    QList<LaneDemand> changed = context.demands;
    for (LaneDemand &demand : changed)
        change(demand);
    return planLanes(context.model, changed, context.owner, false).ok();
}

} // namespace

ClockWindow window()
{
    ClockWindow advice;
    advice.min = Ratio::fromInt(50);
    advice.max = Ratio::fromInt(500);
    advice.significantDigits = 6;
    return advice;
}

QVector<Ratio> clocks(const Context &context, const PllLimits &limits, const QString &source,
                      const Ratio &fref, const QVector<Ratio> &rates, int count)
{
    QVector<Ratio> working;
    const QVector<Ratio> candidates =
        PllSolver::nearestRefClocks(limits, fref, rates, candidateClocks, window());
    for (const Ratio &clock : candidates) {
        if (working.size() == count)
            break;
        const QString text = clock.toString();
        if (!refClockClash(context.model, source, text, context.owner).isEmpty())
            continue;
        const bool made = coreMadeWith(context, [&](LaneDemand &demand) {
            if (demand.refSource == source)
                demand.refFrequency = text;
        });
        if (made)
            working << clock;
    }
    return working;
}

bool sourceWorks(const Context &context, const QString &from, const QString &to,
                 const QString &frequency)
{
    const Ratio clock = Ratio::fromDecimal(frequency);
    if (!clock.isValid() || clock.isZero())
        return false;
    return coreMadeWith(context, [&](LaneDemand &demand) {
        if (demand.refSource == from) {
            demand.refSource = to;
            demand.refFrequency = frequency;
            demand.askedFrequency.clear();
        }
    });
}

QVector<PllClock> pllClocks(const Context &context, PllKind kind, const QString &source,
                            const Ratio &fref, const QVector<Ratio> &rates, int count)
{
    QVector<PllClock> working;
    for (const PllKind other : {PllKind::Qpll0, PllKind::Qpll1, PllKind::Cpll}) {
        const PllLimits *limits = context.model.pllTable.limits(pllKindName(other));
        if (other == kind || !limits)
            continue;
        int found = 0;
        for (const Ratio &clock :
             PllSolver::nearestRefClocks(*limits, fref, rates, candidateClocks, window())) {
            if (found == count)
                break;
            const QString text = clock.toString();
            if (clock == fref ||
                !refClockClash(context.model, source, text, context.owner).isEmpty())
                continue;
            const bool made = coreMadeWith(context, [&](LaneDemand &demand) {
                if (demand.kind == kind) {
                    demand.kind = other;
                    demand.pllText = pllKindName(other);
                }
                if (demand.refSource == source)
                    demand.refFrequency = text;
            });
            if (made) {
                working << PllClock{other, clock};
                ++found;
            }
        }
    }
    // Nearest clocks first across the PLL types; the PLL order among clocks as near.
    std::stable_sort(working.begin(), working.end(), [&](const PllClock &a, const PllClock &b) {
        const Ratio da = a.clock.distanceTo(fref);
        const Ratio db = b.clock.distanceTo(fref);
        return da != db ? da < db : a.clock < b.clock;
    });
    working.resize(std::min(count, int(working.size())));
    return working;
}

QStringList plls(const Context &context, PllKind kind)
{
    QStringList working;
    for (const PllKind other : {PllKind::Qpll0, PllKind::Qpll1, PllKind::Cpll}) {
        if (other == kind || !context.model.pllTable.limits(pllKindName(other)))
            continue;
        const bool made = coreMadeWith(context, [&](LaneDemand &demand) {
            if (demand.kind == kind) {
                demand.kind = other;
                demand.pllText = pllKindName(other);
            }
        });
        if (made)
            working << pllKindName(other);
    }
    return working;
}

} // namespace Advice
} // namespace IPSERDESIP
