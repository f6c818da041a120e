#pragma once

#include "hostexport.h"
#include <pll/plltable.h>
#include <pll/ratio.h>

#include <QString>
#include <QVector>

#include <optional>

// Exact divider search for one PLL: which N (N1, N2), M and D make a set of line rates from one
// reference clock with one shared VCO.
namespace IPSERDESIP {

struct PllSolution
{
    int m = 0;
    int n1 = 0;
    int n2 = 1;
    Ratio vco;      // GHz
    QVector<int> d; // one output divider per rate, in the order asked
};

// Which reference clocks a search may name.
struct IPSERDESHOST_EXPORT ClockWindow
{
    Ratio min; // MHz, inclusive; invalid: no bound
    Ratio max;
    // Above 0: only clocks whose decimal form has at most this many significant digits, so the
    // clock survives being written that way (157.2864 does not survive six digits).
    int significantDigits = 0;

    bool admits(const Ratio &clock) const;
};

// One way to make a set of line rates: a PLL type of the table, a reference clock and the
// dividers solve() takes for that clock.
struct ClockChoice
{
    QString pll;    // "QPLL0"
    Ratio refClock; // MHz
    PllSolution solution;
};

namespace PllSolver {

// Hard bound on the divider sets one search visits, whatever sizes the table gives: the
// search takes time linear in the sets visited and memory linear in the results kept.
constexpr long long maxDividerSets = 1LL << 22;

// The first divider set (smallest M, then lowest VCO) with which the PLL makes every rate
// (Gbps) from fref (MHz); none when no set works. The clock must lie in the PLL's input range
// and clock / M in its phase-detector range.
IPSERDESHOST_EXPORT std::optional<PllSolution> solve(const PllLimits &limits, const Ratio &fref,
                                                     const QVector<Ratio> &rates);
// The same, spending steps from *budget (one a divider set tried); none once it is used up.
IPSERDESHOST_EXPORT std::optional<PllSolution>
solve(const PllLimits &limits, const Ratio &fref, const QVector<Ratio> &rates, long long *budget);

// The output dividers with which a VCO that already runs at vco (GHz) gives every rate.
IPSERDESHOST_EXPORT std::optional<QVector<int>>
dividersFor(const PllLimits &limits, const Ratio &vco, const QVector<Ratio> &rates);

// The N (N1, N2) and M (smallest M first) with which the PLL runs its VCO at vco (GHz) from
// fref (MHz): VCO = fref x N1 x N2 / M, the clock within the PLL's input range and
// fref / M within its phase-detector range. None when no divider set of the table gives it.
IPSERDESHOST_EXPORT std::optional<PllSolution> vcoDividers(const PllLimits &limits,
                                                           const Ratio &fref, const Ratio &vco);

// Whether the VCO band admits the rate with some output divider, the reference clock aside.
IPSERDESHOST_EXPORT bool bandAdmits(const PllLimits &limits, const Ratio &rate);

// Why solve() found nothing, in words a user can act on (no trailing period).
IPSERDESHOST_EXPORT QString explainFailure(const PllLimits &limits, const Ratio &fref,
                                           const QVector<Ratio> &rates);

// The rates a VCO running at vco serves within the lane's line-rate range, highest first
// ("7.3728, 3.6864, ... Gbps").
IPSERDESHOST_EXPORT QString servedRates(const PllLimits &limits, const Ratio &vco);

// Up to count reference clock frequencies (MHz, at most 8 decimals, below 1000 MHz) with which
// the PLL makes every rate, nearest to fref first.
IPSERDESHOST_EXPORT QVector<Ratio> nearestRefClocks(const PllLimits &limits, const Ratio &fref,
                                                    const QVector<Ratio> &rates, int count);
// The same within the window (and always at most 8 decimals).
IPSERDESHOST_EXPORT QVector<Ratio> nearestRefClocks(const PllLimits &limits, const Ratio &fref,
                                                    const QVector<Ratio> &rates, int count,
                                                    const ClockWindow &window);

// Every PLL type of the table and reference clock with which that PLL makes all rates: the
// clocks listed (those inside the window), or, when the list is empty, every clock inside the
// window that some divider set gives. Best first: fewest significant digits (the roundest
// clock), quad PLLs before lane PLLs, PLL name, highest phase-detector frequency (smallest M),
// lowest clock. At most limit entries; the search stays within maxDividerSets sets for finding
// clocks and as many for solving them, and looks at most at 4096 clocks per PLL type.
IPSERDESHOST_EXPORT QVector<ClockChoice>
clockChoices(const PllTable &table, const QVector<Ratio> &rates, const ClockWindow &window,
             const QVector<Ratio> &clocks = {}, int limit = 64);

// How many significant digits the decimal form of value has (160 has 2, 157.2864 has 7); 0 for
// zero, an invalid value or one that does not end within 9 decimals.
IPSERDESHOST_EXPORT int significantDigits(const Ratio &value);

// "16..160" for a contiguous set, "{4, 5}" otherwise.
IPSERDESHOST_EXPORT QString setText(const QVector<int> &values);

} // namespace PllSolver
} // namespace IPSERDESIP
