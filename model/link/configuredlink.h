#pragma once

#include "ratio.h"

#include <QStringList>

#include <optional>

// The link values a stored core holds (no converter mode): the same rules as the planner,
// where those values suffice.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

struct ConfiguredLink
{
    int octetsPerFrame = 0;      // F
    int framesPerMultiframe = 0; // K
    Ratio laneRateMbps;          // invalid when the set holds no readable rate
    // Receive elastic buffer in octets ("LMFC_Buffer"); unset for a transmitter.
    std::optional<int> bufferOctets;
};

// Largest F the link configuration carries (F - 1 in 8 bits).
constexpr int MaxOctetsPerFrame = 256;

// One text per rule the values break: F within 1 to 256, K within its range for F, the
// elastic buffer against F * K, the JESD204B lane-rate range.
QStringList configuredLinkProblems(const ConfiguredLink &link);

} // namespace IPJESD204B
