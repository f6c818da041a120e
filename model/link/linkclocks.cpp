#include "linkclocks.h"

#include <algorithm>

namespace IPJESD204B {

namespace {

Ratio::Int gcd(Ratio::Int a, Ratio::Int b)
{
    while (b != 0) {
        const Ratio::Int t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// How many times `part` fits into `whole` when it fits a whole number of times, else 0.
long long wholeMultiple(const Ratio &whole, const Ratio &part)
{
    const Ratio q = whole / part;
    return q.isValid() && q.isInteger() ? q.toInt() : 0;
}

} // namespace

Ratio laneRateMbps(long long frameBits, int samples, int lanes, const Ratio &sampleRateMsps)
{
    if (samples <= 0 || lanes <= 0)
        return {};
    return sampleRateMsps * Ratio(static_cast<Ratio::Int>(frameBits) * 10,
                                  static_cast<Ratio::Int>(samples) * 8 * lanes);
}

Ratio minLaneRateMbps()
{
    return Ratio::fromInt(1000);
}

Ratio maxLaneRateMbps()
{
    return Ratio::fromInt(12500);
}

bool laneRateInRange(const Ratio &laneRateMbps)
{
    return laneRateMbps.isValid() && minLaneRateMbps() <= laneRateMbps &&
           laneRateMbps <= maxLaneRateMbps();
}

Ratio frameClockMHz(const Ratio &sampleRateMsps, int samples)
{
    return samples > 0 ? sampleRateMsps / samples : Ratio();
}

Ratio lmfcMHz(const Ratio &frameClockMHz, int framesPerMultiframe)
{
    return framesPerMultiframe > 0 ? frameClockMHz / framesPerMultiframe : Ratio();
}

QVector<SysrefOption> sysrefOptions(const Ratio &lmfcMHz, int minDivisor, int maxDivisor)
{
    QVector<SysrefOption> options;
    if (!lmfcMHz.isValid() || lmfcMHz.isZero())
        return options;
    for (int n = std::max(1, minDivisor); n <= maxDivisor; ++n)
        options.append({n, lmfcMHz / n});
    return options;
}

Ratio commonSysrefBaseMHz(const QVector<Ratio> &lmfcsMHz)
{
    // For fractions in lowest terms, gcd(a/b, c/d) = gcd(a, c) / lcm(b, d).
    Ratio::Int num = 0;
    Ratio::Int den = 1;
    for (const Ratio &lmfc : lmfcsMHz) {
        if (!lmfc.isValid() || lmfc.isZero())
            return {};
        num = gcd(num, lmfc.numerator());
        den = den / gcd(den, lmfc.denominator()) * lmfc.denominator();
    }
    return num == 0 ? Ratio() : Ratio(num, den);
}

QVector<SysrefOption> commonSysrefOptions(const QVector<Ratio> &lmfcsMHz, int minDivisor,
                                          int maxDivisor)
{
    QVector<SysrefOption> options;
    const Ratio base = commonSysrefBaseMHz(lmfcsMHz);
    if (!base.isValid())
        return options;
    for (int n = 1; n <= maxDivisor; ++n) {
        const Ratio candidate = base / n;
        bool slowEnough = true;
        for (const Ratio &lmfc : lmfcsMHz)
            slowEnough = slowEnough && wholeMultiple(lmfc, candidate) >= minDivisor;
        if (slowEnough)
            options.append({n, candidate});
    }
    return options;
}

QVector<DeviceClock> deviceClocks(const Ratio &laneRateMbps)
{
    QVector<DeviceClock> clocks;
    for (const int pcsBits : {32, 64}) {
        const int octets = pcsBits / 8;
        clocks.append({pcsBits, octets, laneRateMbps / (10LL * octets)});
    }
    return clocks;
}

} // namespace IPJESD204B
