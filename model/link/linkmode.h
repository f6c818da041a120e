#pragma once

#include <pll/ratio.h>

#include <QString>
#include <QVector>

#include <optional>

// A converter's JESD204B mode as its data sheet states it, and the transport-layer rules that
// follow from it. Letters in comments are the standard's parameter names.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

struct LinkMode
{
    int lanes = 0;         // L
    int converters = 0;    // M
    int samples = 1;       // S, samples per converter per frame
    int resolution = 0;    // N
    int bitsPerSample = 0; // N', resolution plus control and tail bits
    int controlBits = 0;   // CS
    int controlWords = 0;  // CF, per frame per link
    Ratio sampleRateMsps;  // Fs

    // Unset values are derived: F from the rest, HD from whether a sample spans lanes, K as the
    // largest legal value.
    std::optional<int> octetsPerFrame;      // F
    std::optional<int> highDensity;         // HD
    std::optional<int> framesPerMultiframe; // K

    int deviceId = 0; // DID
    int bankId = 0;   // BID
    int subclass = 1; // SUBCLASSV
    bool scrambling = false;
    // Elastic buffer of the receiver in octets, when known ("LMFC_Buffer").
    std::optional<int> bufferOctets;
    // The core's PCS width, 32 or 64 bits; 32 when not chosen.
    std::optional<int> pcsBits;
    // SYSREF as LMFC / n, when the design has already picked n.
    std::optional<int> sysrefDivisor;
};

// Bits that one frame carries over all lanes. Without control words the control bits travel
// inside each N'-bit sample; with CF > 0 they are gathered into CF control words of N' bits
// each, appended to the frame: M * S * N' + CF * N'.
long long frameBits(const LinkMode &mode);

// F = frameBits / (8 * L), exact; not an integer when the lanes cannot share the frame evenly.
Ratio octetsPerFrameExact(const LinkMode &mode);

// Lane counts 1..32 for which F is whole, the rest of the mode unchanged.
QVector<int> lanesWithWholeF(const LinkMode &mode);

// A lane carries 8 * F bits per frame; when that is no multiple of N', a sample crosses from
// one lane to the next, which only the high-density format allows.
bool sampleSpansLanes(int octetsPerFrame, int bitsPerSample);

// Legal K for a given F: 17 <= F * K <= 1024 and K <= 32.
struct KRange
{
    int min = 0;
    int max = 0;
    bool isEmpty() const { return min > max; }
    bool contains(int k) const { return k >= min && k <= max; }
};
KRange framesPerMultiframeRange(int octetsPerFrame);

// Fs from a decimal text in MSPS ("245.76"); an invalid ratio for anything else, zero included.
Ratio sampleRateFromText(const QString &text);

} // namespace IPJESD204B
