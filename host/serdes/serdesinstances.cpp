#include "pllplanner.h"
#include "serdes.h"
#include "serdesstate.h"
#include <services/message.h>

namespace IPSERDESIP {

using namespace Names;

namespace {

// The line rate a report gives for its i-th lane: whichever of its three rate lists is set.
QString reportRate(const Message &report, int index)
{
    for (const QStringList *list : {&report.bothRateList, &report.rxRateList, &report.txRateList}) {
        const QString rate = list->value(index);
        if (!rate.isEmpty() && rate != QLatin1String("0"))
            return rate;
    }
    return {};
}

} // namespace

ReportEvaluation evaluateReport(const serdes::Model &model, const Message &report)
{
    ReportEvaluation result;
    const QString owner = report.instanceName;
    result.claims =
        makeClaims(report.laneList, report.pllList, report.refClkList, report.refClkFreqList);
    for (const RouteConflict &conflict : findConflicts(model, result.claims, owner))
        result.problems << conflict.text;

    QList<LaneDemand> demands;
    for (int i = 0; i < result.claims.size(); ++i) {
        RouteClaim &claim = result.claims[i];
        claim.rate = reportRate(report, i);
        const PllKind kind = parsePll(claim.pll).kind;
        // A lane without a PLL entry occupies its lines but asks no clock.
        if (!claim.lane.isValid() || kind == PllKind::None)
            continue;
        LaneDemand demand;
        demand.lane = claim.lane;
        demand.label = claim.laneResource;
        demand.kind = kind;
        demand.pllText = claim.pll;
        demand.txRate = claim.rate;
        demand.rxRate = claim.rate;
        demand.refSource = claim.refSource;
        demand.refFrequency = claim.refFrequency;
        if (Ratio::fromDecimal(claim.askedFrequency) != Ratio::fromDecimal(claim.refFrequency))
            demand.askedFrequency = claim.askedFrequency;
        demands << demand;
    }
    result.plan = planLanes(model, demands, owner, result.problems.isEmpty());
    result.problems << result.plan.errors;
    for (RouteClaim &claim : result.claims)
        claim.vco = result.plan.vcos.value(claim.pll);
    return result;
}

bool serdes::addInstance(const Message &report, QString *error)
{
    Model &model = *m_model;
    const ReportEvaluation evaluation = evaluateReport(model, report);
    if (!evaluation.problems.isEmpty()) {
        if (error)
            *error = evaluation.problems.join(QLatin1Char('\n'));
        return false;
    }
    const QString owner = report.instanceName;
    removeInstance(owner);
    for (const RouteClaim &claim : evaluation.claims) {
        for (const int direction : {RxDirection, TxDirection}) {
            if (claim.lane.directions & direction)
                model.claimLine(claim.lane, direction, owner, claim.rate,
                                pllKindName(parsePll(claim.pll).kind));
        }
        const PLL *pll = model.pll(claim.pll);
        if (pll && !pll->isEnabled() && !claim.vco.isEmpty())
            model.claimPll(claim.pll, claim.vco, claim.refSource, owner);
        if (!claim.refSource.isEmpty())
            model.claimRefSource(claim.refSource, claim.refFrequency, owner);
    }
    addProtocolInstance(report.protocolName, owner, report.laneList);
    return true;
}

} // namespace IPSERDESIP

namespace IPSERDESIP {

void serdes::setData(const QString &key, const QVariant &value)
{
    m_globalData.insert(key, value);
    if (!m_writtenKeys.contains(key))
        m_writtenKeys << key;
}

QVariant serdes::getData(const QString &key) const
{
    return m_globalData.value(key);
}

void serdes::removeData(const QString &key)
{
    m_globalData.remove(key);
}

void serdes::setGlobalResetEnableParam(QStringList &options) const
{
    const QVariant enable = m_globalData.value(QStringLiteral("GLOBAL_RESET_ENABLE"));
    const bool off = enable.isValid() && !enable.toBool();
    options.append(off ? QStringLiteral("global_reset_enable false")
                       : QStringLiteral("global_reset_enable true"));
}

} // namespace IPSERDESIP

namespace IPSERDESIP {

Instance::Instance(const QString &name) : m_name(name) {}
Instance::~Instance() = default;

LANE::LANE(const QString &name) : Instance(name) {}
LANE::~LANE() = default;

PLL::PLL(const QString &name) : Instance(name) {}
PLL::~PLL() = default;

void REF_SOURCE::setFrequency(const QString &text)
{
    m_frequencyText = text;
    bool ok = false;
    const double value = text.toDouble(&ok);
    m_frequency = ok ? value : 0.0;
}

} // namespace IPSERDESIP
