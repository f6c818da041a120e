#include "configuredlink.h"

#include "decimaltext.h"
#include "linkclocks.h"
#include "linkmode.h"
#include "linkplan.h"

namespace IPJESD204B {

QStringList configuredLinkProblems(const ConfiguredLink &link)
{
    QStringList problems;
    const int f = link.octetsPerFrame;
    const int k = link.framesPerMultiframe;
    const bool fInRange = f >= 1 && f <= MaxOctetsPerFrame;
    if (!fInRange) {
        problems << QStringLiteral("Octets per frame: F = %1 is outside 1 to %2")
                        .arg(f)
                        .arg(MaxOctetsPerFrame);
    } else {
        const KRange range = framesPerMultiframeRange(f);
        if (!range.contains(k)) {
            problems << QStringLiteral("Frames per multiframe: K = %1 is out of range for F = %2; "
                                       "17 <= F * K <= 1024 and K <= 32 allow K = %3 to %4")
                            .arg(k)
                            .arg(f)
                            .arg(range.min)
                            .arg(range.max);
        }
        if (link.bufferOctets && k > 0) {
            const QString error = elasticBufferError(*link.bufferOctets, f, k);
            if (!error.isEmpty())
                problems << error;
        }
    }
    if (link.laneRateMbps.isValid() && !laneRateInRange(link.laneRateMbps)) {
        problems << QStringLiteral("Lane rate: %1 Gbps is outside the JESD204B range of %2 to %3 "
                                   "Gbps")
                        .arg(decimalText(link.laneRateMbps / 1000),
                             decimalText(minLaneRateMbps() / 1000),
                             decimalText(maxLaneRateMbps() / 1000));
    }
    return problems;
}

} // namespace IPJESD204B
