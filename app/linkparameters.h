#pragma once

#include "planclocking.h"

#include <configuredlink.h>
#include <coredirection.h>
#include <linkmode.h>
#include <linkrecord.h>
#include <parametermap.h>

#include <QString>
#include <QStringList>

// Between a core's stored parameter set and the link values the JESD204B rules judge.
namespace HostProgram {

using IPJESD204B::CoreDirection;

// The link values of a stored set: L, F, K, scrambling, lane rate and, for a receiver, the
// elastic buffer. Values the set does not hold as numbers read as 0 (and break the rules).
struct StoredLink
{
    int lanes = 0;
    bool scrambling = false;
    IPJESD204B::ConfiguredLink link;
};
StoredLink storedLinkOf(const IPSERDESIP::ParameterMap &params);

// A stored core's whole link: L, F, K, scrambling and the lane rate from the set, the converter's
// values from its link record, Fs from the lane rate.
IPJESD204B::LinkMode storedLinkMode(const StoredLink &stored, const IPJESD204B::LinkRecord &record);

// One text per JESD204B rule a stored set breaks, with its link record when there is one (the
// record's mode must then agree with the set's L, F, K and lane rate as well).
QStringList storedLinkProblems(const IPSERDESIP::ParameterMap &params,
                               const std::optional<IPJESD204B::LinkRecord> &record);

// An integer option of a converter's mode, bounded to what the standard defines.
struct ModeOption
{
    const char *name;
    const char *description;
    int min;
    int max;
    int IPJESD204B::LinkMode::*field;
};
// L, M, N, N', S, CS, CF, DID, BID and the subclass.
const QList<ModeOption> &modeOptions();
const ModeOption &modeOption(const char *name);
// Decimal, or hexadecimal with 0x as data sheets give DID and BID; false with *error naming the
// option and its range.
bool readModeValue(const ModeOption &option, const QString &text, int *value, QString *error);

// What a planned core fixes; everything else keeps the value the dialog gives a new core.
struct PlannedCore
{
    QString deviceId;
    QString deviceName;
    QString name; // file and module name
    CoreDirection direction = CoreDirection::Both;
    QStringList lanes;        // display names, "Q0 Lane0"
    QStringList offeredLanes; // the dialog's offer, which the idle lane rows show
    Ratio laneRateGbps;
    int octetsPerFrame = 0;
    int framesPerMultiframe = 0;
    bool scrambling = false;
    int pcsBits = 32;
    ClockingOption clocking;
};

// The complete parameter set the dialog would store for the planned core.
IPSERDESIP::ParameterMap plannedParameterSet(const PlannedCore &core);

} // namespace HostProgram
