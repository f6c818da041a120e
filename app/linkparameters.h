#pragma once

#include "planclocking.h"

#include <configuredlink.h>
#include <parametermap.h>

#include <QString>
#include <QStringList>

// Between a core's stored parameter set and the link values the JESD204B rules judge.
namespace HostProgram {

enum class CoreDirection { Receive, Transmit, Both };

// The link values of a stored set: L, F, K, scrambling, lane rate and, for a receiver, the
// elastic buffer. Values the set does not hold as numbers read as 0 (and break the rules).
struct StoredLink
{
    int lanes = 0;
    bool scrambling = false;
    IPJESD204B::ConfiguredLink link;
};
StoredLink storedLinkOf(const IPSERDESIP::ParameterMap &params);

// What a planned core fixes; everything else keeps the value the dialog gives a new core.
struct PlannedCore
{
    QString deviceId;
    QString deviceName;
    QString name; // file and module name
    CoreDirection direction = CoreDirection::Both;
    QStringList lanes; // display names, "Q0 Lane0"
    Ratio laneRateGbps;
    int octetsPerFrame = 0;
    int framesPerMultiframe = 0;
    bool scrambling = false;
    ClockingOption clocking;
};

// The complete parameter set the dialog would store for the planned core.
IPSERDESIP::ParameterMap plannedParameterSet(const PlannedCore &core);

} // namespace HostProgram
