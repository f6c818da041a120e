#pragma once

#include "plltable.h"
#include "ratio.h"

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

namespace PllSolver {

// The first divider set (smallest M, then lowest VCO) with which the PLL makes every rate
// (Gbps) from fref (MHz); none when no set works.
std::optional<PllSolution> solve(const PllLimits &limits, const Ratio &fref,
                                 const QVector<Ratio> &rates);

// The output dividers with which a VCO that already runs at vco (GHz) gives every rate.
std::optional<QVector<int>> dividersFor(const PllLimits &limits, const Ratio &vco,
                                        const QVector<Ratio> &rates);

// Whether the VCO band admits the rate with some output divider, the reference clock aside.
bool bandAdmits(const PllLimits &limits, const Ratio &rate);

// Why solve() found nothing, in words a user can act on (no trailing period).
QString explainFailure(const PllLimits &limits, const Ratio &fref, const QVector<Ratio> &rates);

// The rates a VCO running at vco serves, highest first ("7.3728, 3.6864, ... Gbps").
QString servedRates(const PllLimits &limits, const Ratio &vco);

// Up to count reference clock frequencies (MHz, at most 8 decimals, below 1000 MHz) with which
// the PLL makes every rate, nearest to fref first.
QVector<Ratio> nearestRefClocks(const PllLimits &limits, const Ratio &fref,
                                const QVector<Ratio> &rates, int count);

// "16..160" for a contiguous set, "{4, 5}" otherwise.
QString setText(const QVector<int> &values);

} // namespace PllSolver
} // namespace IPSERDESIP
