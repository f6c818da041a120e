#include "linkparameters.h"

#include <linkplan.h>
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
    if (valueOrAbsent(params, Key::PcsWidth32).toBool())
        stored.link.pcsBits = 32;
    else if (valueOrAbsent(params, Key::PcsWidth64).toBool())
        stored.link.pcsBits = 64;
    return stored;
}

IPJESD204B::LinkMode storedLinkMode(const StoredLink &stored, const LinkRecord &record)
{
    LinkMode mode;
    applyLinkRecord(record, &mode);
    mode.lanes = stored.lanes;
    mode.octetsPerFrame = stored.link.octetsPerFrame;
    mode.framesPerMultiframe = stored.link.framesPerMultiframe;
    mode.scrambling = stored.scrambling;
    mode.bufferOctets = stored.link.bufferOctets;
    mode.pcsBits = stored.link.pcsBits;
    const long long bits = frameBits(mode);
    if (stored.link.laneRateMbps.isValid() && bits > 0 && stored.lanes > 0 && mode.samples > 0)
        mode.sampleRateMsps =
            stored.link.laneRateMbps * (8LL * stored.lanes * mode.samples) / (10LL * bits);
    return mode;
}

QStringList storedLinkProblems(const IPSERDESIP::ParameterMap &params,
                               const std::optional<LinkRecord> &record)
{
    const StoredLink stored = storedLinkOf(params);
    if (!record)
        return configuredLinkProblems(stored.link);
    return planLink(storedLinkMode(stored, *record)).errors;
}

const QList<ModeOption> &modeOptions()
{
    static const QList<ModeOption> options{
        {"l", "Lanes (L).", 1, 32, &LinkMode::lanes},
        {"m", "Converters (M).", 1, 256, &LinkMode::converters},
        {"n", "Converter resolution (N); N' - CS when not given.", 1, 32, &LinkMode::resolution},
        {"np", "Bits per sample (N').", 1, 32, &LinkMode::bitsPerSample},
        {"s", "Samples per converter per frame (S).", 1, 32, &LinkMode::samples},
        {"cs", "Control bits per sample (CS), default 0.", 0, 3, &LinkMode::controlBits},
        {"cf", "Control words per frame (CF), default 0.", 0, 31, &LinkMode::controlWords},
        {"did", "Device identity (DID), 0 to 255 or 0x00 to 0xFF, default 0.", 0, 255,
         &LinkMode::deviceId},
        {"bid", "Bank identity (BID), 0 to 15 or 0x0 to 0xF, default 0.", 0, 15, &LinkMode::bankId},
        {"subclass", "Device subclass (SUBCLASSV), 0 to 2, default 1.", 0, 2, &LinkMode::subclass},
    };
    return options;
}

const ModeOption &modeOption(const char *name)
{
    for (const ModeOption &option : modeOptions()) {
        if (qstrcmp(option.name, name) == 0)
            return option;
    }
    Q_UNREACHABLE();
}

bool readModeValue(const ModeOption &option, const QString &text, int *value, QString *error)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qlonglong number = hex ? text.mid(2).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
    if (ok && number >= option.min && number <= option.max) {
        *value = static_cast<int>(number);
        return true;
    }
    *error = QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                 .arg(QLatin1String(option.name))
                 .arg(option.min)
                 .arg(option.max)
                 .arg(text);
    if (qstrcmp(option.name, "subclass") == 0 && ok && number >= 3 && number <= 7)
        *error += QStringLiteral(" (subclasses 3 to 7 are reserved)");
    return false;
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
    set.insert(Key::PcsWidth32, core.pcsBits == 32);
    set.insert(Key::PcsWidth64, core.pcsBits == 64);
    set.insert(Key::LineRate, core.laneRateGbps.toString());
    set.insert(Key::RefClkSource, core.clocking.refSource);
    set.insert(Key::RefClkFrequency, core.clocking.refClockMHz.toString());
    set.insert(Key::PllSelection, core.clocking.pll);
    // Rows beyond the core's lanes show the offered lane of their own row, or the first offered
    // one, as the dialog fills them.
    for (int lane = 0; lane < MaxLanes; ++lane) {
        const QString idle = core.offeredLanes.value(lane, core.offeredLanes.value(0));
        set.insert(QString(Key::LaneConnectTemplate).arg(lane), core.lanes.value(lane, idle));
    }
    set.insert(Key::ChangedAllOfBias, false);
    return set;
}

} // namespace HostProgram
