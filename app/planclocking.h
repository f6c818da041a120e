#pragma once

#include <ratio.h>

#include <QString>
#include <QStringList>
#include <QVector>

// Which reference clocks and PLLs of the device make a lane rate on a core's lanes, with the
// solver's dividers, inside what the loaded design leaves free.
namespace HostProgram {

using IPSERDESIP::Ratio;

// The reference clocks the dialog takes, in MHz.
Ratio minRefClockMHz();
Ratio maxRefClockMHz();

struct ClockingOption
{
    QString pll;       // the dialog's selection: "QPLL0", "QPLL1", "CPLL"
    QString refSource; // the dialog's source name, "Q0 REFCLK0"
    Ratio refClockMHz;
    int m = 0;
    int n1 = 0; // N of a quad PLL
    int n2 = 0; // N2 of a CPLL, 0 for a quad PLL
    int d = 0;
    Ratio vcoGHz;
    QString sharedWith; // owner of a PLL the design already runs at this VCO
};

struct ClockingRequest
{
    QString deviceName;
    Ratio laneRateGbps;
    QStringList lanes; // display names, "Q0 Lane0"
};

// Options for the device in the SERDES model (with its design), best first: round clocks
// (fewest significant digits) first, then QPLL0, QPLL1, CPLL, then the faster phase detector
// (clock / M), then the faster clock. At most limit options.
QVector<ClockingOption> planClocking(const ClockingRequest &request, int limit);

// The first count lanes of the device's table that the design leaves free for the
// directions (1 receive, 2 transmit, 3 both); fewer when the design holds the rest.
QStringList freeLanes(const QString &deviceName, int count, int directions);

} // namespace HostProgram
