#pragma once

#include "linkclocks.h"

#include <QString>
#include <QVector>

// A given SYSREF against links: a periodic SYSREF must be a whole sub-multiple of every
// link's LMFC, or the multiframes drift against it from one SYSREF edge to the next.
namespace IPJESD204B {

// The links (indices) whose LMFC the SYSREF does not divide a whole number of times.
QVector<int> lmfcsNotDivided(const Ratio &sysrefMHz, const QVector<Ratio> &lmfcsMHz);

// "LMFC 31.25 MHz = 4 x SYSREF 7.8125 MHz" or "SYSREF 10 MHz does not divide LMFC 31.25 MHz
// (3.125 periods)".
QString sysrefFitText(const Ratio &sysrefMHz, const Ratio &lmfcMHz);

} // namespace IPJESD204B
