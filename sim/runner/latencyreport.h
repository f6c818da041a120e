#pragma once

#include <pll/ratio.h>

#include <QByteArray>
#include <QStringList>

namespace LinkSim {

// The testbench's lane lines as sentences: where each lane's ILAS start arrived against the
// LMFC boundary and the release point, the smallest margin, an elastic buffer overflow, a
// change of latency whose cause is a crossed release point, and the field-by-field comparison
// of an ILAS the receiver refused. Octet figures also in ns when the lane rate (Mbps) is valid.
QStringList latencyReport(const QByteArray &output, const IPSERDESIP::Ratio &laneRateMbps);

} // namespace LinkSim
