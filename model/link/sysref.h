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

// The clock generator that makes the device clocks makes SYSREF by dividing the device clock;
// its SYSREF divider reaches 8192, so a slower SYSREF is none a board can have.
constexpr int MaxSysrefClockDivider = 8192;

// One SYSREF for several links: the frequencies of commonSysrefOptions that are not slower
// than device clock / MaxSysrefClockDivider. When none remains, breaker is the first link
// (in the order given) with which none remains; -1 otherwise.
struct CommonSysref
{
    Ratio slowestMHz;
    QVector<SysrefOption> options; // fastest first
    int breaker = -1;
};
CommonSysref commonSysref(const QVector<Ratio> &lmfcsMHz, const Ratio &deviceClockMHz);

} // namespace IPJESD204B
