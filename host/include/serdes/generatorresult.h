#pragma once

#include "hostexport.h"

#include <QList>
#include <QString>
#include <QStringList>

// The verdict of a generator run as data, for programs that read it rather than a person: the
// same settings and reasons that solvedSettings() and getErrStringList() give as text.
namespace IPSERDESIP {

class PllTable;

struct SolvedLaneResult
{
    QString label;     // "q0_ln0"
    QString lane;      // "Q0_LANE0"
    QString direction; // "tx", "rx" or "tx+rx"
    QString pll;       // "Q0_QPLL1"
    int m = 0;         // 0 when another instance runs the PLL and its dividers are unknown
    int n1 = 0;        // N of a quad PLL, N1 of a CPLL
    int n2 = 0;        // N2 of a CPLL, 0 for a quad PLL
    int txDivider = 0; // D of the transmit line, 0 when the lane does not transmit
    int rxDivider = 0;
    QString vcoGHz;
    QString txRateGbps;
    QString rxRateGbps;
    QString refSource;   // "Q0_REFCLK0"
    QString refClockMHz; // the frequency the PLL was proved with
    QString sharedWith;  // owner of a PLL another instance runs
};

// Another PLL type together with another clock on the lanes' source.
struct PllClockSuggestion
{
    QString pll;         // "QPLL0"
    QString refClockMHz; // the clock for the source
};

struct ReasonResult
{
    QStringList lanes; // "q0_ln0", or the lane resource of a route conflict; empty when general
    QString pll;       // "Q0_QPLL1" when the reason is about one PLL
    QString text;      // the line getErrStringList() gives
    QStringList suggestedRefClocksMHz; // clocks that would work on that PLL
    QStringList suggestedPlls;         // other PLLs of the lanes that would make it ("QPLL0")
    QStringList suggestedRefSources;   // the clock a running PLL needs, when the core takes it
    // Other PLL types with another clock, when neither a clock nor a PLL alone would make it.
    QList<PllClockSuggestion> suggestedPllClocks;
};

struct GeneratorResult
{
    bool feasible = false;
    QList<SolvedLaneResult> lanes; // a feasible run's settings
    QList<ReasonResult> reasons;   // a refused run's reasons, in getErrStringList() order
};

// The PLL table the model uses now: the built-in one, or the one the loaded design changed.
IPSERDESHOST_EXPORT const PllTable &currentPllTable();

} // namespace IPSERDESIP
