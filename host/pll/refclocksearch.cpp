#include <pll/pllsolver.h>

#include <algorithm>
#include <functional>
#include <set>

namespace IPSERDESIP {

bool ClockWindow::admits(const Ratio &clock) const
{
    if (!clock.isValid() || (min.isValid() && clock < min) || (max.isValid() && max < clock))
        return false;
    return significantDigits <= 0 || PllSolver::significantDigits(clock) <= significantDigits;
}

namespace PllSolver {
namespace {

using Int = Ratio::Int;

// Calls visit with every reference clock (MHz, at most 8 decimals) that one divider set of the
// PLL turns into a VCO serving all rates, with the clock inside the PLL's input range and
// clock / M inside its phase-detector range. Visits at most maxDividerSets sets; visit returns
// false to stop early.
void forEachClock(const PllLimits &limits, const QVector<Ratio> &rates,
                  const std::function<bool(const Ratio &)> &visit)
{
    if (rates.isEmpty() || !rates.first().isValid() || rates.first().isZero())
        return;
    const Int decimals8 = 100000000;
    long long budget = maxDividerSets;
    for (const int d : limits.d) {
        const Ratio vco = rates.first() * d / limits.rateFactor;
        if (!limits.admitsVco(vco) || !dividersFor(limits, vco, rates))
            continue;
        for (const int m : limits.m) {
            for (const int n1 : limits.n1) {
                for (const int n2 : limits.n2) {
                    if (--budget < 0)
                        return;
                    // fref = VCO x 1000 x M / (N1 x N2) = num / den with at most 8 decimals
                    // (den divides num x 10^8); tested before a ratio is made.
                    const Int num = vco.numerator() * 1000 * m;
                    const Int den = vco.denominator() * n1 * n2;
                    if ((num * decimals8) % den != 0)
                        continue;
                    const Ratio clock(num, den);
                    if (limits.admitsRefClock(clock) && limits.admitsPfd(clock, m) && !visit(clock))
                        return;
                }
            }
        }
    }
}

} // namespace

int significantDigits(const Ratio &value)
{
    if (!value.isValid() || value.isZero() || !value.hasDecimals(9))
        return 0;
    QString digits = value.toString(9);
    digits.remove(QLatin1Char('.'));
    int first = 0;
    while (first < digits.size() && digits.at(first) == QLatin1Char('0'))
        ++first;
    int last = digits.size();
    while (last > first && digits.at(last - 1) == QLatin1Char('0'))
        --last;
    return last - first;
}

QVector<Ratio> nearestRefClocks(const PllLimits &limits, const Ratio &fref,
                                const QVector<Ratio> &rates, int count)
{
    // Below 1000 MHz: every candidate has at most 8 decimals.
    ClockWindow window;
    window.max = Ratio::fromDecimal(QStringLiteral("999.99999999"));
    return nearestRefClocks(limits, fref, rates, count, window);
}

QVector<Ratio> nearestRefClocks(const PllLimits &limits, const Ratio &fref,
                                const QVector<Ratio> &rates, int count, const ClockWindow &window)
{
    if (count <= 0)
        return {};
    // The count nearest clocks so far; among clocks as near as each other, the lower first.
    struct Candidate
    {
        Ratio distance;
        Ratio clock;
        bool operator<(const Candidate &other) const
        {
            return distance != other.distance ? distance < other.distance : clock < other.clock;
        }
    };
    std::set<Candidate> kept;
    const bool measured = fref.isValid();
    forEachClock(limits, rates, [&](const Ratio &clock) {
        if (!window.admits(clock))
            return true;
        const Candidate candidate{measured ? clock.distanceTo(fref) : Ratio::fromInt(0), clock};
        if (int(kept.size()) == count && !(candidate < *kept.rbegin()))
            return true;
        kept.insert(candidate); // a clock found again is already kept
        if (int(kept.size()) > count)
            kept.erase(std::prev(kept.end()));
        return true;
    });
    QVector<Ratio> nearest;
    for (const Candidate &candidate : kept)
        nearest << candidate.clock;
    return nearest;
}

QVector<ClockChoice> clockChoices(const PllTable &table, const QVector<Ratio> &rates,
                                  const ClockWindow &window, const QVector<Ratio> &clocks,
                                  int limit)
{
    // Distinct clocks a PLL may be asked about; bounds the memory a generous table could take.
    const int maxClocksPerPll = 4096;
    QVector<ClockChoice> choices;
    long long budget = maxDividerSets; // for solving every clock found
    for (const QString &name : table.names()) {
        const PllLimits &limits = *table.limits(name);
        std::set<std::pair<Int, Int>> seen;
        QVector<Ratio> asked;
        const auto take = [&](const Ratio &clock) {
            if (window.admits(clock) && seen.emplace(clock.numerator(), clock.denominator()).second)
                asked << clock;
            return int(asked.size()) < maxClocksPerPll;
        };
        if (clocks.isEmpty())
            forEachClock(limits, rates, take);
        else
            std::all_of(clocks.begin(), clocks.end(), take);
        for (const Ratio &clock : asked) {
            if (const auto solution = solve(limits, clock, rates, &budget))
                choices.append({name, clock, *solution});
        }
    }
    const auto better = [&table](const ClockChoice &a, const ClockChoice &b) {
        const int digitsA = significantDigits(a.refClock);
        const int digitsB = significantDigits(b.refClock);
        if (digitsA != digitsB)
            return digitsA < digitsB;
        const bool laneA = table.limits(a.pll)->perLane;
        const bool laneB = table.limits(b.pll)->perLane;
        if (laneA != laneB)
            return !laneA;
        if (a.pll != b.pll)
            return a.pll < b.pll;
        if (a.solution.m != b.solution.m)
            return a.solution.m < b.solution.m;
        return a.refClock < b.refClock;
    };
    std::sort(choices.begin(), choices.end(), better);
    return choices.mid(0, std::max(limit, 0));
}

} // namespace PllSolver
} // namespace IPSERDESIP
