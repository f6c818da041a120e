#pragma once

#include "coreheaders.h"
#include "linksettings.h"

#include <transportverilog.h>

#include <QString>
#include <QVector>

namespace LinkSim {

// The transport modules the sample check puts around the link (jesd204b_tb_tx_transport and
// jesd204b_tb_rx_transport) for the run's mode; empty with *error when the mode has no map.
QVector<IPJESD204B::TransportFile> testbenchTransport(const CoreShape &shape,
                                                      const RunSettings &settings, QString *error);

// Samples per converter in one beat of the modules (frames per beat * S).
int samplesPerBeat(const CoreShape &shape, const RunSettings &settings);

} // namespace LinkSim
