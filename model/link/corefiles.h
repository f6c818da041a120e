#pragma once

#include "transportmap.h"
#include <pll/ratio.h>

#include <QString>
#include <QStringList>

// The host's files around a generated core: an instantiation template of its top-level
// wrapper and the timing constraints of its clocks.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

struct CoreShape
{
    QString module;
    bool transmit = false;
    bool receive = false;
    bool drp = false;
    int pcsBits = 32; // 32 or 64
    int lanes = 1;
    int octetsPerFrame = 0;      // F
    int framesPerMultiframe = 0; // K
    bool scrambling = false;
    Ratio laneRateMbps;
    Ratio refClockMHz;
    QString refClockSource; // "Q0 REFCLK0"
    Ratio configClockMHz;
};

// <module>_inst.v: a wire per port of the wrapper the shape selects, widths as numbers, and
// one instance with named connections, followed by the lines beside it. The quad PLL status
// ports keep the wrapper's guards, since the synthesis flow decides them.
QString instantiationTemplate(const CoreShape &core, const QStringList &beside = {});

// The transport modules of the shape's directions (<prefix>_tx_transport, <prefix>_rx_transport)
// instantiated beside the wrapper: lane words into tx_data_i and out of rx_data_o, markers from
// the core's multiframe starts, clock and reset the core's, sample buses as wires
// (tx_sample_data, rx_sample_data, ...) for the user's design.
QStringList transportInstances(const TransportMap &map, const CoreShape &core,
                               const QString &prefix);

// <module>.sdc: the reference clock, the core clock of each direction (lane rate / 40 or / 80),
// the configuration clocks, SYSREF captured on the core clock, SYNC~ asynchronous, and the
// clock groups between them. Ports are the template's net names.
QString timingConstraints(const CoreShape &core);

// The core clock, one PCS word of pcsBits / 8 octets of 10 line bits per cycle.
Ratio coreClockMHz(const CoreShape &core);

} // namespace IPJESD204B
