#pragma once

#include "pllplanner.h"

#include <QStringList>
#include <QVector>

// Suggestions for a core whose PLL plan failed. A suggestion is only made when the whole core,
// with it written back into its set, is then made in the same design: another clock for a
// source changes every lane that source drives, another PLL every lane on the PLL type.
namespace IPSERDESIP {
namespace Advice {

// The clocks that may be suggested: what a reference clock field takes (50-500 MHz), written
// with at most six significant digits, the default rendering of a double, so that a core that
// writes its clock into its configuration line that way configures the very clock suggested.
ClockWindow window();

struct Context
{
    const serdes::Model &model;
    QString owner;
    QList<LaneDemand> demands;
};

// Up to count clocks for the source, nearest to fref first, with which the PLL type makes the
// rates and the whole core is made.
QVector<Ratio> clocks(const Context &context, const PllLimits &limits, const QString &source,
                      const Ratio &fref, const QVector<Ratio> &rates, int count);

// Whether the whole core is made with every lane that from drives taken to the source to at its
// frequency (MHz): the source a running PLL needs.
bool sourceWorks(const Context &context, const QString &from, const QString &to,
                 const QString &frequency);

struct PllClock
{
    Names::PllKind kind;
    Ratio clock;
};

// Up to count pairs of another PLL type and another clock for the source, nearest to fref
// first, with which the whole core is made: every lane on kind moved to that PLL type and every
// lane the source drives given that clock.
QVector<PllClock> pllClocks(const Context &context, Names::PllKind kind, const QString &source,
                            const Ratio &fref, const QVector<Ratio> &rates, int count);

// The other PLL types ("QPLL0", ...) that would make the core, every lane on kind moved there.
QStringList plls(const Context &context, Names::PllKind kind);

} // namespace Advice
} // namespace IPSERDESIP
