#pragma once

#include <pll/ratio.h>

#include <QStringList>

#include <optional>

// The JESD204B rules a core's link keeps, in one table that the planner, the checks, the
// generator, the dialog's batch run and the simulation all read.
namespace IPJESD204B {

using IPSERDESIP::Ratio;

// The values the rules judge; unset values (and an invalid rate) are not judged.
struct ConfiguredLink
{
    int octetsPerFrame = 0;      // F
    int framesPerMultiframe = 0; // K
    Ratio laneRateMbps;          // invalid when the set holds no readable rate
    // Receive elastic buffer in octets ("LMFC_Buffer"); unset for a transmitter.
    std::optional<int> bufferOctets;
    std::optional<int> pcsBits;  // 32 or 64, the core's PCS width
    std::optional<int> subclass; // SUBCLASSV
};

// Largest F the link configuration carries (F - 1 in 8 bits).
constexpr int MaxOctetsPerFrame = 256;
// The one subclass the core implements.
constexpr int CoreSubclass = 1;

// The rules in order; each text starts with its title ("Frames per multiframe: ...").
struct LinkRule
{
    const char *title;
    QString (*judge)(const ConfiguredLink &link); // empty when kept
};
const QVector<LinkRule> &linkRules();

// One text per rule the values break: F within 1 to 256; 17 <= F * K <= 1024 with K <= 32;
// F * K a whole number of PCS words; the elastic buffer at least F * K; a defined subclass,
// the core's; the core's lane-rate range.
QStringList configuredLinkProblems(const ConfiguredLink &link);

// The rule a text from configuredLinkProblems (or the planner) names: its title.
QString ruleTitle(const QString &problem);

} // namespace IPJESD204B
