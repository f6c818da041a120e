#pragma once

#include "transportmap.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Verilog-2005 transport modules for a mode: samples to the core's lane words and back.
namespace IPJESD204B {

// How whole frames meet the core's clock words of P octets per lane. The sample bus carries
// one beat of framesPerBeat frames; over a period of clocksPerPeriod clocks (lcm(F, P) / P),
// beatsPerPeriod beats pass. A beat is never shorter than a clock word, so at most one beat
// starts and one ends in any clock.
struct TransportGeometry
{
    int octetsPerFrame = 0;  // F
    int octetsPerClock = 0;  // P
    int framesPerBeat = 0;   // the smallest divisor of lcm(F, P) / F that fills P octets
    int clocksPerPeriod = 0; // lcm(F, P) / P
    int beatsPerPeriod = 0;

    int beatOctets() const { return framesPerBeat * octetsPerFrame; }
};

TransportGeometry transportGeometry(int octetsPerFrame, int octetsPerClock);

// The transmit module: sample_data_i (and sample_ctrl_i) taken where sample_ready_o is high,
// tx_data_o for the core's tx_data_i one clock later, aligned by the core's multiframe start.
QStringList txTransportVerilog(const TransportMap &map, int octetsPerClock, const QString &module);

// The receive module: the core's rx_data_o, its valid and multiframe start in, one beat of
// samples out with sample_valid_o, one register stage after its last octet.
QStringList rxTransportVerilog(const TransportMap &map, int octetsPerClock, const QString &module);

struct TransportFile
{
    QString name; // "<module>.v"
    QStringList lines;
};

// The modules of the core's directions, named <prefix>_tx_transport and <prefix>_rx_transport.
QVector<TransportFile> transportFiles(const TransportMap &map, int octetsPerClock,
                                      const QString &prefix, bool transmit, bool receive);

} // namespace IPJESD204B
