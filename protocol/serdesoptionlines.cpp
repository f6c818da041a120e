#include "serdesoptionlines.h"
#include "parametervalues.h"

#include "coredirection.h"
#include "laneoptions.h"
#include "nametables.h"
#include "parameterkeys.h"

#include <QRegularExpression>

#include <algorithm>

namespace IPJESD204B {

namespace {

using ParameterValues::flag;
using ParameterValues::text;

QString withoutWhitespace(QString value)
{
    static const QRegularExpression whitespace(QStringLiteral("\\s"));
    return value.remove(whitespace);
}

} // namespace

QString frequencyValue(const QString &frequencyText)
{
    return QStringLiteral("%1").arg(frequencyText.toDouble());
}

void appendRecordedLaneBlocks(QStringList &ini, const IPSERDESIP::ParameterMap &params,
                              const QString &deviceName)
{
    const QStringList recorded = params.value(Key::RecordLanes).toStringList();
    if (recorded.isEmpty())
        return;
    const LaneOptionValues values = laneOptionValuesFromParameters(params, deviceName);
    for (const QString &entry : recorded) {
        if (const auto row = NameTables::laneByDisplayName(entry))
            appendLaneOptionLines(ini, row->lanePrefix, row->quadPrefix, values);
    }
}

void appendRefClockFrequencyLine(QStringList &lines, const QString &source,
                                 const QString &frequencyText)
{
    if (const auto lineTemplate = NameTables::frequencyTemplate(source))
        lines << lineTemplate->arg(frequencyValue(frequencyText));
}

void appendBiasLines(QStringList &ini, const IPSERDESIP::ParameterMap &params, const QuadBias &bias)
{
    if (!flag(params, Key::ChangedAllOfBias))
        return;
    const QStringList recorded = params.value(Key::RecordLanes).toStringList();
    const QList<QuadRow> &quads = NameTables::quads();
    for (const QuadRow &quad : quads) {
        const bool inUse =
            std::any_of(recorded.begin(), recorded.end(), [&quad](const QString &lane) {
                return lane.startsWith(quad.displayPrefix);
            });
        if (inUse)
            ini << quad.biasLineTemplate.arg((quad.quad == 0 ? bias.q0 : bias.q1).toInt());
    }
}

void appendIniLines(QStringList &ini, const IPSERDESIP::ParameterMap &params,
                    const QString &deviceName, const QuadBias &bias)
{
    appendRecordedLaneBlocks(ini, params, deviceName);
    appendRefClockFrequencyLine(ini, text(params, Key::RefClkSource),
                                text(params, Key::RefClkFrequency));
    appendBiasLines(ini, params, bias);
}

void appendModuleOptions(QStringList &options, const IPSERDESIP::ParameterMap &params)
{
    const QString module = text(params, Key::Module);
    const auto option = [&options, &module](const char *line, const QString &value) {
        options << QString::fromLatin1(line).arg(module, value);
    };

    option("-%1protocol_module_type %2", QStringLiteral("jesd"));
    option("-%1ReferenceClockSource %2", withoutWhitespace(text(params, Key::RefClkSource)));
    option("-%1PLLSource %2", text(params, Key::PllSelection));
    option("-%1Numberoflanes %2", text(params, Key::NumberOfLanes));
    const QStringList recorded = params.value(Key::RecordLanes).toStringList();
    for (const QString &lane : recorded)
        option("-%1%2 true", withoutWhitespace(lane));

    switch (coreDirection(params)) {
    case CoreDirection::Receive:
        option("-%1COREMode %2", QStringLiteral("Receive"));
        break;
    case CoreDirection::Transmit:
        option("-%1COREMode %2", QStringLiteral("Transmit"));
        break;
    case CoreDirection::Both:
        option("-%1COREMode %2", QStringLiteral("BothReceiveandTransmit"));
        break;
    case CoreDirection::None:
        break;
    }

    const QString drp =
        flag(params, Key::DrpPorts) ? QStringLiteral("true") : QStringLiteral("false");
    option("-%1EnableDRP %2", drp);
    option("-%1DRPPorts %2", drp);

    if (flag(params, Key::PcsWidth32))
        option("-%1PCSWidth %2", QStringLiteral("32"));
    else if (flag(params, Key::PcsWidth64))
        option("-%1PCSWidth %2", QStringLiteral("64"));
}

} // namespace IPJESD204B
