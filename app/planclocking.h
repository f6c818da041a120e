#pragma once

#include <pll/ratio.h>

#include <QString>
#include <QStringList>
#include <QVector>

// Which reference clocks and PLLs of the device make a lane rate on a core's lanes, with the
// solver's dividers, inside what the loaded design leaves free.
namespace HostProgram {

using IPSERDESIP::Ratio;

// The fastest core clock the device's fabric runs ("fabricClockMHz" of the device database);
// invalid when the database names none.
Ratio fabricClockLimitMHz(const QString &deviceId);

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
    QString sharedWith;        // owner of a PLL the design already runs at this VCO
    bool runningClock = false; // the design already runs the source at this clock
    QString relation;          // "device clock", "Fs/4": what a single clock chip gives
};

struct ClockingRequest
{
    QString deviceName;
    Ratio laneRateGbps;
    QStringList lanes;    // display names, "Q0 Lane0"
    Ratio deviceClockMHz; // the core clock of the chosen PCS width
    Ratio sampleRateMsps;
};

// Options for the device in the SERDES model (with its design), best first: a PLL the design
// runs, then a clock it runs, then the device clock and its multiples and sub-multiples by 2
// and 4, then whole relations to Fs; within each, round clocks (fewest significant digits)
// first, then QPLL0, QPLL1, CPLL, then the faster phase detector (clock / M), then the faster
// clock. At most limit options.
QVector<ClockingOption> planClocking(const ClockingRequest &request, int limit);

// The lanes the dialog offers a core of the directions (1 receive, 2 transmit, 3 both) in the
// loaded design, in table order, and the count of them a plan takes, free ones first; fewer
// when the design holds the rest.
struct LaneOffer
{
    QStringList offered;
    QStringList chosen;
};
LaneOffer laneOffer(int count, int directions);

} // namespace HostProgram
