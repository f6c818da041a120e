#pragma once

#include <pll/ratio.h>

#include <QStringList>
#include <QVector>

// Deterministic latency of a subclass 1 link through the link layers of the core's model
// (sim/model): where the receiver's elastic buffer may release its data so that every link-up
// gives the same latency, and what that latency is. docs/link.md derives the figures.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

// The model's fixed pipeline, in core clocks (one PCS word of P octets per lane and clock).
struct LinkModelDelays
{
    int transmitClocks;      // data taken -> its code groups on the lanes
    int receiveDecodeClocks; // code groups in -> decoded octets written to the elastic buffer
    int receiveOutputClocks; // buffer read at the release -> data on the receive port
};
constexpr LinkModelDelays ModelDelays{1, 1, 1};

// The receive buffer delay (RBD) is 0 to K - 1 frame clocks after the LMFC boundary; the
// model releases in the core clock that holds octet RBD * F of the multiframe.
int releaseClock(int rbd, int octetsPerFrame, int octetsPerClock);

struct LatencyLink
{
    int octetsPerFrame = 0;      // F
    int framesPerMultiframe = 0; // K
    int octetsPerClock = 4;      // P: 4 on the 32-bit PCS, 8 on the 64-bit one
    Ratio laneRateMbps;
};

// Lane-to-lane skew plus delay variation past which a plan is not made, in ns.
constexpr int MaxSkewBudgetNs = 100000;

// The RBD values with which every arrival the skew budget allows is released at the same
// clock, in window order (from just after the latest arrival round to just before the
// earliest), and the middle one; recommended is -1 when the budget leaves none.
struct RbdWindow
{
    int skewClocks = 0;   // the budget in core clocks, rounded up
    int firstArrival = 0; // core clocks after the LMFC boundary at which the ILAS start
    int lastArrival = 0;  // is buffered: without skew, and with the whole budget
    QVector<int> safe;
    int recommended = -1;
};
RbdWindow rbdWindow(const LatencyLink &link, const Ratio &skewBudgetNs);

// From data taken by the transmitter to data on the receive port, for a link whose data
// reaches the buffer arrivalClock core clocks after the LMFC boundary.
struct LinkLatency
{
    int coreClocks = 0;
    Ratio frameClocks;
    Ratio ns;
};
LinkLatency linkLatency(const LatencyLink &link, int rbd, int arrivalClock);

// What plan --skew-budget prints: the budget, the arrivals, then the safe RBD values, the
// recommended one and its latency, or one line saying that the budget leaves none.
QStringList skewBudgetReport(const LatencyLink &link, const Ratio &skewBudgetNs,
                             const RbdWindow &window);

} // namespace IPJESD204B
