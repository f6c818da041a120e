#pragma once

#include "linkclocks.h"
#include "linkconfig.h"
#include "linkmode.h"

#include <QStringList>
#include <QVector>

#include <optional>

// Everything a converter's mode implies for the link: the derived parameters, its clocks and
// the configuration each lane announces, or one text per rule the mode breaks.
namespace IPJESD204B {

struct LaneIlas
{
    int lane = 0;
    IlasOctets octets{};
};

struct LinkPlan
{
    LinkMode mode;
    // Values stay unset (or invalid ratios) when a broken rule leaves them undefined.
    std::optional<int> octetsPerFrame;      // F
    std::optional<int> highDensity;         // HD
    KRange framesPerMultiframeRange{1, 0};  // legal K for F
    std::optional<int> framesPerMultiframe; // K, given or the largest legal
    int pcsBits = 32;                       // the core's PCS width the rules judge
    Ratio laneRateMbps;
    Ratio frameClockMHz;
    Ratio lmfcMHz;
    QVector<SysrefOption> sysref; // LMFC / n for n = 2..16
    QVector<DeviceClock> deviceClocks;
    QVector<LaneIlas> ilas;
    QStringList errors;
    QStringList warnings;
    QStringList notes; // choices made for the mode, printed with the plan

    bool isValid() const { return errors.isEmpty(); }
};

LinkPlan planLink(const LinkMode &mode);

// The receiver's elastic buffer must hold one multiframe, F * K octets. Empty when it does,
// else the error text with the smallest buffer and the largest K that would do.
QString elasticBufferError(int bufferOctets, int octetsPerFrame, int framesPerMultiframe);

} // namespace IPJESD204B
