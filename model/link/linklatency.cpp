#include "linklatency.h"

#include "decimaltext.h"

namespace IPJESD204B {

namespace {

int clocksPerMultiframe(const LatencyLink &link)
{
    return link.octetsPerFrame * link.framesPerMultiframe / link.octetsPerClock;
}

// One octet is ten line bits: 10 / (Mbps) us.
Ratio octetNs(const LatencyLink &link)
{
    return Ratio::fromInt(10000) / link.laneRateMbps;
}

long long ceiling(const Ratio &value)
{
    return value.isInteger() ? value.toInt() : value.toInt() + 1;
}

int wrapped(int clock, int period)
{
    return ((clock % period) + period) % period;
}

// "12 to 31, 0 to 7": runs of consecutive values in the order given.
QString runsText(const QVector<int> &values)
{
    QStringList runs;
    for (int i = 0; i < values.size();) {
        int end = i;
        while (end + 1 < values.size() && values.at(end + 1) == values.at(end) + 1)
            ++end;
        runs << (end == i ? QString::number(values.at(i))
                          : QStringLiteral("%1 to %2").arg(values.at(i)).arg(values.at(end)));
        i = end + 1;
    }
    return runs.join(QStringLiteral(", "));
}

QString clocksText(int clocks)
{
    return clocks == 1 ? QStringLiteral("1 core clock")
                       : QStringLiteral("%1 core clocks").arg(clocks);
}

} // namespace

int releaseClock(int rbd, int octetsPerFrame, int octetsPerClock)
{
    return rbd * octetsPerFrame / octetsPerClock;
}

RbdWindow rbdWindow(const LatencyLink &link, const Ratio &skewBudgetNs)
{
    RbdWindow window;
    window.skewClocks =
        static_cast<int>(ceiling(skewBudgetNs / (octetNs(link) * link.octetsPerClock)));
    window.firstArrival = ModelDelays.transmitClocks + ModelDelays.receiveDecodeClocks;
    window.lastArrival = window.firstArrival + window.skewClocks;
    const int period = clocksPerMultiframe(link);
    if (period <= 0)
        return window;
    // A release clock inside [first, last) would take early arrivals one multiframe before
    // late ones; every other clock takes them all at once.
    for (int offset = 0; offset < period - window.skewClocks; ++offset) {
        const int clock = wrapped(window.lastArrival + offset, period);
        for (int rbd = 0; rbd < link.framesPerMultiframe; ++rbd) {
            if (releaseClock(rbd, link.octetsPerFrame, link.octetsPerClock) == clock)
                window.safe << rbd;
        }
    }
    if (!window.safe.isEmpty())
        window.recommended = window.safe.at((window.safe.size() - 1) / 2);
    return window;
}

LinkLatency linkLatency(const LatencyLink &link, int rbd, int arrivalClock)
{
    const int period = clocksPerMultiframe(link);
    int release = releaseClock(rbd, link.octetsPerFrame, link.octetsPerClock);
    while (period > 0 && release < arrivalClock)
        release += period;
    LinkLatency latency;
    latency.coreClocks = release + ModelDelays.receiveOutputClocks;
    const Ratio octets =
        Ratio::fromInt(static_cast<long long>(latency.coreClocks) * link.octetsPerClock);
    latency.frameClocks = octets / link.octetsPerFrame;
    latency.ns = octets * octetNs(link);
    return latency;
}

QStringList skewBudgetReport(const LatencyLink &link, const Ratio &skewBudgetNs,
                             const RbdWindow &window)
{
    const int period = clocksPerMultiframe(link);
    QStringList lines{
        QStringLiteral("Skew budget: %1 ns = %2 octets at %3 Gbps, %4 of %5 octets")
            .arg(decimalText(skewBudgetNs), decimalText(skewBudgetNs / octetNs(link)),
                 decimalText(link.laneRateMbps / 1000), clocksText(window.skewClocks))
            .arg(link.octetsPerClock),
        QStringLiteral("ILAS start buffered: %1 to %2 core clocks after the LMFC boundary "
                       "(transmit %3, receive %4, skew budget %5), multiframe %6")
            .arg(window.firstArrival)
            .arg(window.lastArrival)
            .arg(ModelDelays.transmitClocks)
            .arg(ModelDelays.receiveDecodeClocks)
            .arg(window.skewClocks)
            .arg(clocksText(period))};
    if (window.recommended < 0) {
        lines << QStringLiteral("RBD: none keeps the latency deterministic: the skew budget of "
                                "%1 spans the multiframe of %2")
                     .arg(clocksText(window.skewClocks), clocksText(period));
        return lines;
    }
    const int release = releaseClock(window.recommended, link.octetsPerFrame, link.octetsPerClock);
    const int margin = wrapped(release - window.lastArrival, period) * link.octetsPerClock;
    const LinkLatency latency = linkLatency(link, window.recommended, window.lastArrival);
    lines << QStringLiteral("RBD keeping the latency deterministic (frame clocks after the LMFC "
                            "boundary): %1")
                 .arg(runsText(window.safe))
          << QStringLiteral("RBD recommended: %1, the middle of that window (release %2 after "
                            "the boundary, %3 octets = %4 ns after the latest lane)")
                 .arg(window.recommended)
                 .arg(clocksText(release))
                 .arg(margin)
                 .arg(decimalText(octetNs(link) * margin))
          << QStringLiteral("Latency with RBD %1: %2 = %3 frame clocks = %4 ns "
                            "(transmit and receive link layers)")
                 .arg(window.recommended)
                 .arg(clocksText(latency.coreClocks))
                 .arg(decimalText(latency.frameClocks), decimalText(latency.ns));
    return lines;
}

} // namespace IPJESD204B
