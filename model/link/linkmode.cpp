#include "linkmode.h"

#include <algorithm>

namespace IPJESD204B {

namespace {
constexpr int MaxLanes = 32;
constexpr int MinMultiframeOctets = 17;
constexpr int MaxMultiframeOctets = 1024;
constexpr int MaxFramesPerMultiframe = 32;
} // namespace

long long frameBits(const LinkMode &mode)
{
    const long long sampleBits = static_cast<long long>(mode.converters) * mode.samples;
    return (sampleBits + mode.controlWords) * mode.bitsPerSample;
}

Ratio octetsPerFrameExact(const LinkMode &mode)
{
    if (mode.lanes <= 0 || mode.converters <= 0 || mode.samples <= 0 || mode.bitsPerSample <= 0 ||
        mode.controlWords < 0)
        return {};
    return Ratio(frameBits(mode), 8LL * mode.lanes);
}

QVector<int> lanesWithWholeF(const LinkMode &mode)
{
    QVector<int> lanes;
    const long long bits = frameBits(mode);
    if (bits <= 0)
        return lanes;
    for (int l = 1; l <= MaxLanes; ++l) {
        if (bits % (8LL * l) == 0)
            lanes.append(l);
    }
    return lanes;
}

bool sampleSpansLanes(int octetsPerFrame, int bitsPerSample)
{
    return bitsPerSample > 0 && (8 * octetsPerFrame) % bitsPerSample != 0;
}

KRange framesPerMultiframeRange(int octetsPerFrame)
{
    if (octetsPerFrame <= 0)
        return {1, 0};
    const int ceilMin = (MinMultiframeOctets + octetsPerFrame - 1) / octetsPerFrame;
    const int floorMax = MaxMultiframeOctets / octetsPerFrame;
    return {ceilMin, std::min(MaxFramesPerMultiframe, floorMax)};
}

Ratio sampleRateFromText(const QString &text)
{
    const Ratio rate = Ratio::fromDecimal(text);
    return rate.isValid() && !rate.isZero() ? rate : Ratio();
}

} // namespace IPJESD204B
