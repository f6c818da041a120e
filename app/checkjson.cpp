#include "checkjson.h"

#include <pll/ratio.h>

#include <QJsonArray>

namespace HostProgram {

namespace {

using IPSERDESIP::Ratio;

QJsonValue megahertz(const QString &text)
{
    const Ratio value = Ratio::fromDecimal(text);
    return value.isValid() ? QJsonValue(value.toDouble()) : QJsonValue();
}

QJsonObject dividers(const IPSERDESIP::SolvedLaneResult &lane)
{
    QJsonObject object;
    if (lane.m > 0) {
        object.insert(QStringLiteral("M"), lane.m);
        if (lane.n2 > 0) {
            object.insert(QStringLiteral("N1"), lane.n1);
            object.insert(QStringLiteral("N2"), lane.n2);
        } else {
            object.insert(QStringLiteral("N"), lane.n1);
        }
    }
    if (lane.txDivider > 0)
        object.insert(QStringLiteral("txD"), lane.txDivider);
    if (lane.rxDivider > 0)
        object.insert(QStringLiteral("rxD"), lane.rxDivider);
    return object;
}

QJsonObject laneJson(const IPSERDESIP::SolvedLaneResult &lane)
{
    QJsonObject object{
        {QStringLiteral("lane"), lane.lane},
        {QStringLiteral("instance"), lane.label},
        {QStringLiteral("direction"), lane.direction},
        {QStringLiteral("pll"), lane.pll},
        {QStringLiteral("dividers"), dividers(lane)},
        {QStringLiteral("vcoGHz"), megahertz(lane.vcoGHz)},
        {QStringLiteral("rateGbps"),
         megahertz(lane.txRateGbps.isEmpty() ? lane.rxRateGbps : lane.txRateGbps)},
        {QStringLiteral("refClockSource"), lane.refSource},
        {QStringLiteral("refClockMHz"), megahertz(lane.refClockMHz)},
    };
    if (!lane.sharedWith.isEmpty())
        object.insert(QStringLiteral("sharedWith"), lane.sharedWith);
    return object;
}

QJsonObject reasonJson(const IPSERDESIP::ReasonResult &reason)
{
    QJsonArray clocks;
    for (const QString &clock : reason.suggestedRefClocksMHz)
        clocks.append(megahertz(clock));
    QJsonArray pairs;
    for (const IPSERDESIP::PllClockSuggestion &pair : reason.suggestedPllClocks) {
        pairs.append(QJsonObject{{QStringLiteral("pll"), pair.pll},
                                 {QStringLiteral("refClockMHz"), megahertz(pair.refClockMHz)}});
    }
    return QJsonObject{
        {QStringLiteral("lanes"), QJsonArray::fromStringList(reason.lanes)},
        {QStringLiteral("pll"), reason.pll.isEmpty() ? QJsonValue() : QJsonValue(reason.pll)},
        {QStringLiteral("text"), reason.text},
        {QStringLiteral("suggestedRefClocksMHz"), clocks},
        {QStringLiteral("suggestedPlls"), QJsonArray::fromStringList(reason.suggestedPlls)},
        {QStringLiteral("suggestedRefClockSources"),
         QJsonArray::fromStringList(reason.suggestedRefSources)},
        {QStringLiteral("suggestedPllClocks"), pairs},
    };
}

} // namespace

QJsonObject checkVerdictJson(const QString &module, const IPSERDESIP::GeneratorResult &result,
                             const QString &storedRefClock, const QStringList &warnings)
{
    QJsonArray lanes;
    for (const IPSERDESIP::SolvedLaneResult &lane : result.lanes)
        lanes.append(laneJson(lane));
    QJsonObject object{
        {QStringLiteral("module"), module},
        {QStringLiteral("feasible"), result.feasible},
        {QStringLiteral("lanes"), lanes},
        {QStringLiteral("storedRefClockMHz"), megahertz(storedRefClock)},
        {QStringLiteral("warnings"), QJsonArray::fromStringList(warnings)},
    };
    if (!result.feasible) {
        QJsonArray reasons;
        for (const IPSERDESIP::ReasonResult &reason : result.reasons)
            reasons.append(reasonJson(reason));
        object.insert(QStringLiteral("reasons"), reasons);
    }
    return object;
}

} // namespace HostProgram
