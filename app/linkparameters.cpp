#include "linkparameters.h"

#include <nametables.h>
#include <parameterkeys.h>

#include <QStringList>

namespace HostProgram {

using namespace IPJESD204B;

namespace {

int storedNumber(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    bool ok = false;
    const int value = valueOrAbsent(params, key).toString().toInt(&ok);
    return ok ? value : 0;
}

bool receives(const IPSERDESIP::ParameterMap &params)
{
    return valueOrAbsent(params, Key::Receive).toBool() ||
           valueOrAbsent(params, Key::Both).toBool();
}

} // namespace

StoredLink storedLinkOf(const IPSERDESIP::ParameterMap &params)
{
    StoredLink stored;
    stored.lanes = storedNumber(params, Key::NumberOfLanes);
    stored.scrambling =
        valueOrAbsent(params, Key::ScramblingOn).toString() == QLatin1String("Scrambling ON");
    stored.link.octetsPerFrame = storedNumber(params, Key::DefaultF);
    stored.link.framesPerMultiframe = storedNumber(params, Key::DefaultK);
    const Ratio rate = Ratio::fromDecimal(valueOrAbsent(params, Key::LineRate).toString());
    if (rate.isValid())
        stored.link.laneRateMbps = rate * 1000;
    if (receives(params))
        stored.link.bufferOctets = storedNumber(params, Key::LmfcBuffer);
    return stored;
}

IPSERDESIP::ParameterMap plannedParameterSet(const PlannedCore &core)
{
    IPSERDESIP::ParameterMap set = absentValues();
    set.insert(Key::TargetDevice, core.deviceId);
    set.insert(Key::Type, QStringLiteral("jesd204b"));
    set.insert(Key::Version, QString(ParameterVersion));
    // What the dialog's synthesis choice shows first.
    set.insert(Key::SynthesisTool, QStringLiteral("Built-in synthesis"));
    set.insert(Key::File, core.name);
    set.insert(Key::Module, core.name);
    set.insert(Key::RecordLanes, core.lanes);
    set.insert(Key::Receive, core.direction == CoreDirection::Receive);
    set.insert(Key::Transmit, core.direction == CoreDirection::Transmit);
    set.insert(Key::Both, core.direction == CoreDirection::Both);
    set.insert(Key::NumberOfLanes, QString::number(core.lanes.size()));
    set.insert(Key::ScramblingOn, core.scrambling ? QStringLiteral("Scrambling ON")
                                                  : QStringLiteral("Scrambling OFF"));
    set.insert(Key::DefaultF, QString::number(core.octetsPerFrame));
    set.insert(Key::DefaultK, QString::number(core.framesPerMultiframe));
    set.insert(Key::LineRate, core.laneRateGbps.toString());
    set.insert(Key::RefClkSource, core.clocking.refSource);
    set.insert(Key::RefClkFrequency, core.clocking.refClockMHz.toString());
    set.insert(Key::PllSelection, core.clocking.pll);
    // Rows beyond the core's lanes keep the lane of their own row; rows the device does not
    // show hold the first lane.
    const QList<LaneRow> &rows = NameTables::lanes();
    const int shown = NameTables::laneRowCount(core.deviceName);
    for (int lane = 0; lane < MaxLanes; ++lane) {
        const QString idle = lane < shown ? rows.value(lane).displayName : rows.first().displayName;
        set.insert(QString(Key::LaneConnectTemplate).arg(lane), core.lanes.value(lane, idle));
    }
    set.insert(Key::ChangedAllOfBias, false);
    return set;
}

} // namespace HostProgram
