#pragma once

#include <pll/ratio.h>

#include <QVector>

// Clocks of a JESD204B link with 8b/10b coding, all exact. Rates are in MHz, lane rates in
// Mbps, so that a sample rate in MSPS goes in unscaled.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

// Lane rate = M * N' * Fs * (10 / 8) / L; control words widen the frame as in frameBits, so the
// general form is frameBits * Fs / S * (10 / 8) / L.
Ratio laneRateMbps(long long frameBits, int samples, int lanes, const Ratio &sampleRateMsps);

// The lane rates the core runs, 1000 to 12500 Mbps (within JESD204B's 312.5 to 12500).
Ratio minLaneRateMbps();
Ratio maxLaneRateMbps();
bool laneRateInRange(const Ratio &laneRateMbps);

// Frame clock = Fs / S; LMFC = frame clock / K (= lane rate / (10 * F * K)).
Ratio frameClockMHz(const Ratio &sampleRateMsps, int samples);
Ratio lmfcMHz(const Ratio &frameClockMHz, int framesPerMultiframe);

// A periodic SYSREF runs at LMFC / n for a whole n. n = 1 is legal, but a SYSREF as fast as
// the LMFC gives no margin for its capture and aligns at random in practice.
constexpr int SafeSysrefDivisor = 2;
constexpr int MaxSysrefDivisor = 16;

struct SysrefOption
{
    int divisor = 0;
    Ratio frequencyMHz;
};
QVector<SysrefOption> sysrefOptions(const Ratio &lmfcMHz, int minDivisor = SafeSysrefDivisor,
                                    int maxDivisor = MaxSysrefDivisor);

// Several links on one SYSREF: the largest frequency that divides every LMFC a whole number
// of times (the rational greatest common divisor), invalid for an empty list.
Ratio commonSysrefBaseMHz(const QVector<Ratio> &lmfcsMHz);
// SYSREF frequencies base / n, n = 1..maxDivisor, that are at most LMFC / minDivisor for every
// link, fastest first.
QVector<SysrefOption> commonSysrefOptions(const QVector<Ratio> &lmfcsMHz,
                                          int minDivisor = SafeSysrefDivisor,
                                          int maxDivisor = MaxSysrefDivisor);

// The core's parallel clock: one PCS word of 4 (32-bit) or 8 (64-bit) octets per cycle, each
// octet 10 line bits, so lane rate / 40 or lane rate / 80.
struct DeviceClock
{
    int pcsBits = 0;
    int octetsPerCycle = 0;
    Ratio frequencyMHz;
};
QVector<DeviceClock> deviceClocks(const Ratio &laneRateMbps);

} // namespace IPJESD204B
