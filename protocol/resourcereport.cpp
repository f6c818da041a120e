#include "coredirection.h"
#include "jesd204b.h"
#include "nametables.h"
#include "parameterkeys.h"
#include "parametervalues.h"

#include <serdesfunctions.h>
#include <services/message.h>

#include <QRegularExpression>

#include <algorithm>
#include <memory>

namespace IPJESD204B {

namespace {

// The lane indices below `count` that have a lane-connect key, ascending: a huge
// "Number_of_lanes" walks only the keys the set holds.
QList<int> connectedLaneIndices(const IPSERDESIP::ParameterMap &params, int count)
{
    static const QRegularExpression laneKey(
        QStringLiteral("^JESD204B_Lane(0|[1-9][0-9]{0,8})_connect_with$"));
    QList<int> indices;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        const QRegularExpressionMatch match = laneKey.match(it.key());
        const int index = match.hasMatch() ? match.captured(1).toInt() : -1;
        if (index >= 0 && index < count)
            indices << index;
    }
    std::sort(indices.begin(), indices.end());
    return indices;
}

} // namespace

IPSERDESIP::Message *jesd204b::resources(const IPSERDESIP::ParameterMap &params)
{
    using ParameterValues::text;

    auto report = std::make_unique<IPSERDESIP::Message>();
    report->protocolName = name();
    report->instanceName = text(params, Key::File) + QLatin1Char(':') + text(params, Key::Module);
    report->file = text(params, Key::File);
    report->module = text(params, Key::Module);

    const CoreDirection direction = coreDirection(params);
    const QString pll = text(params, Key::PllSelection);
    const int laneCount = text(params, Key::NumberOfLanes).toInt(nullptr, 10);
    for (const int i : connectedLaneIndices(params, laneCount)) {
        const auto lane =
            NameTables::laneByDisplayName(text(params, QString(Key::LaneConnectTemplate).arg(i)));
        if (!lane)
            continue;
        if (direction == CoreDirection::Receive)
            report->laneList << lane->rxResource;
        else if (direction == CoreDirection::Transmit)
            report->laneList << lane->txResource;
        else if (direction == CoreDirection::Both)
            report->laneList << lane->resource;
        if (const auto pllResource = NameTables::pllResource(pll, *lane))
            report->pllList << *pllResource;
    }
    if (report->laneList.isEmpty())
        return report.release();

    const QString refClk = IPSERDESIP::FromRefOptionToRef(text(params, Key::RefClkSource));
    const QString refClkFrequency = text(params, Key::RefClkFrequency);
    const QString rate = text(params, Key::LineRate);
    const QString zero = QStringLiteral("0");
    for (int i = 0; i < report->laneList.size(); ++i) {
        report->refClkList << refClk;
        report->refClkFreqList << refClkFrequency;
        if (direction == CoreDirection::Receive) {
            report->bothRateList << zero;
            report->rxRateList << rate;
            report->txRateList << zero;
        } else if (direction == CoreDirection::Transmit) {
            report->bothRateList << zero;
            report->rxRateList << zero;
            report->txRateList << rate;
        } else {
            report->bothRateList << rate;
            report->rxRateList << zero;
            report->txRateList << zero;
        }
    }
    return report.release();
}

} // namespace IPJESD204B
