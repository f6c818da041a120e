#include "designbounds.h"
#include "designparser.h"
#include <pll/pllsolver.h>

#include <QJsonArray>

// The readers of the design's sections: each checks its entries and adds them to the design.
namespace IPSERDESIP {

using namespace Names;

bool DesignParser::readPllTable(const QJsonValue &value)
{
    if (value.isUndefined())
        return true;
    QString error;
    if (!value.isObject())
        return fail(QStringLiteral("pllTable"), QStringLiteral("expected an object"));
    if (!m_design->pllTable.applyOverrides(value.toObject(), &error))
        return fail(QStringLiteral("pllTable.") + error.section(QLatin1Char(':'), 0, 0),
                    error.section(QLatin1Char(':'), 1).trimmed());
    // The solver tries every divider combination of a PLL; more than it can search in
    // time is refused here rather than left to hang a check.
    for (const QString &name : m_design->pllTable.names()) {
        const PllLimits *limits = m_design->pllTable.limits(name);
        const qint64 combinations =
            qint64(limits->n1.size()) * limits->n2.size() * limits->m.size() * limits->d.size();
        if (combinations > MaxPllDividerCombinations)
            return fail(QStringLiteral("pllTable.") + name,
                        QStringLiteral("%1 divider combinations (N1 x N2 x M x D); a PLL "
                                       "may have at most %2")
                            .arg(combinations)
                            .arg(MaxPllDividerCombinations));
    }
    return true;
}

bool DesignParser::readRefClock(const QJsonObject &object, const QString &entry)
{
    if (!onlyKeys(object, entry,
                  {QStringLiteral("source"), QStringLiteral("frequency"),
                   QStringLiteral("useCount"), QStringLiteral("owner")}))
        return false;
    DesignRefClock clock;
    if (!readSourceName(object.value(QStringLiteral("source")), entry + QStringLiteral(".source"),
                        &clock.source))
        return false;
    clock.frequency = decimalText(object.value(QStringLiteral("frequency")));
    const Ratio frequency = Ratio::fromDecimal(clock.frequency);
    if (!frequency.isValid() || frequency.isZero())
        return fail(entry + QStringLiteral(".frequency"),
                    QStringLiteral("expected a positive decimal number of MHz"));
    const QJsonValue count = object.value(QStringLiteral("useCount"));
    if (!count.isUndefined() && (!count.isDouble() || count.toDouble() != count.toInt() ||
                                 count.toInt() < 1 || count.toInt() > MaxRefClockUseCount))
        return fail(
            entry + QStringLiteral(".useCount"),
            QStringLiteral("expected a whole number from 1 to %1").arg(MaxRefClockUseCount));
    clock.useCount = count.toInt(1);
    m_totalUseCount += clock.useCount;
    if (m_totalUseCount > MaxDesignUseCount)
        return fail(entry + QStringLiteral(".useCount"),
                    QStringLiteral("the design's reference clocks count more than %1 uses")
                        .arg(MaxDesignUseCount));
    if (!readOwner(object, entry, &clock.owner))
        return false;
    // One frequency per clock, looked up by name: a design may repeat a clock many times.
    const auto first = m_clockFrequency.constFind(clock.source);
    if (first != m_clockFrequency.constEnd() && first->second != frequency)
        return fail(entry + QStringLiteral(".frequency"),
                    QStringLiteral("%1 is already given at %2 MHz; a clock has one "
                                   "frequency")
                        .arg(clock.source, first->first));
    if (first == m_clockFrequency.constEnd())
        m_clockFrequency.insert(clock.source, {clock.frequency, frequency});
    m_design->refClocks << clock;
    return true;
}

bool DesignParser::readLineSource(const QJsonObject &object, const QString &entry,
                                  const QString &key, bool used, QString *source)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return true;
    const QString text = value.toString();
    if (!value.isString() || (!text.isEmpty() && pllKindName(pllKindFromText(text)) != text))
        return fail(entry + QLatin1Char('.') + key,
                    QStringLiteral("expected \"QPLL0\", \"QPLL1\", \"CPLL\" or \"\""));
    if (!used && !text.isEmpty())
        return fail(entry + QLatin1Char('.') + key,
                    QStringLiteral("the lane's status does not use this line"));
    *source = text;
    return true;
}

bool DesignParser::readLane(const QJsonObject &object, const QString &entry)
{
    if (!onlyKeys(object, entry,
                  {QStringLiteral("lane"), QStringLiteral("status"), QStringLiteral("rate"),
                   QStringLiteral("rxSource"), QStringLiteral("txSource"),
                   QStringLiteral("owner")}))
        return false;
    DesignLane lane;
    const QJsonValue name = object.value(QStringLiteral("lane"));
    lane.lane = parseLane(name.toString());
    if (!name.isString() || !lane.lane.isValid() || lane.lane.directions != BothDirections ||
        lane.lane.quad >= quads())
        return fail(entry + QStringLiteral(".lane"),
                    QStringLiteral("\"%1\" is no lane of this device (Q0_LANE0 to Q%2_LANE3)")
                        .arg(name.toVariant().toString())
                        .arg(quads() - 1));
    const QJsonValue status = object.value(QStringLiteral("status"));
    static const QStringList words{QStringLiteral("rx"), QStringLiteral("tx"),
                                   QStringLiteral("both")};
    if (status.isString() && words.contains(status.toString()))
        lane.status = words.indexOf(status.toString()) + 1;
    else if (status.isDouble() && status.toDouble() == status.toInt() && status.toInt() >= 1 &&
             status.toInt() <= 3)
        lane.status = status.toInt();
    else
        return fail(entry + QStringLiteral(".status"),
                    QStringLiteral("expected 1, 2, 3, \"rx\", \"tx\" or \"both\""));
    const QJsonValue rate = object.value(QStringLiteral("rate"));
    if (!rate.isUndefined()) {
        lane.rate = decimalText(rate);
        if (!Ratio::fromDecimal(lane.rate).isValid())
            return fail(entry + QStringLiteral(".rate"),
                        QStringLiteral("expected a decimal number of Gbps"));
    }
    if (!readLineSource(object, entry, QStringLiteral("rxSource"), lane.status & RxDirection,
                        &lane.rxSource) ||
        !readLineSource(object, entry, QStringLiteral("txSource"), lane.status & TxDirection,
                        &lane.txSource) ||
        !readOwner(object, entry, &lane.owner))
        return false;
    for (const DesignLane &other : m_design->lanes) {
        if (other.lane.index() == lane.lane.index() && (other.status & lane.status))
            return fail(entry + QStringLiteral(".status"),
                        QStringLiteral("%1 already has this line for %2")
                            .arg(laneName(lane.lane.quad, lane.lane.lane), other.owner));
    }
    m_design->lanes << lane;
    return true;
}

bool DesignParser::readPll(const QJsonObject &object, const QString &entry)
{
    if (!onlyKeys(object, entry,
                  {QStringLiteral("pll"), QStringLiteral("vcoGHz"), QStringLiteral("refClock"),
                   QStringLiteral("owner")}))
        return false;
    DesignPll pll;
    const QJsonValue name = object.value(QStringLiteral("pll"));
    const PllRef ref = parsePll(name.toString());
    if (!name.isString() || !ref.isValid() || ref.quad >= quads())
        return fail(entry + QStringLiteral(".pll"),
                    QStringLiteral("\"%1\" is no PLL of this device (Q0_QPLL0, Q0_CPLL2, ...)")
                        .arg(name.toVariant().toString()));
    pll.pll = name.toString();
    pll.vco = decimalText(object.value(QStringLiteral("vcoGHz")));
    const Ratio vco = Ratio::fromDecimal(pll.vco);
    const PllLimits *limits = m_design->pllTable.limits(pllKindName(ref.kind));
    if (!vco.isValid() || !limits || !limits->admitsVco(vco))
        return fail(entry + QStringLiteral(".vcoGHz"),
                    QStringLiteral("expected a VCO frequency within %1's band %2")
                        .arg(pllKindName(ref.kind), limits ? limits->bandText() : QString()));
    if (!readSourceName(object.value(QStringLiteral("refClock")),
                        entry + QStringLiteral(".refClock"), &pll.refClock))
        return false;
    const RefRef source = parseRefSource(pll.refClock);
    if (source.kind == RefRef::RefIn
            ? source.quad != ref.quad
            : (source.kind == RefRef::RefClk && qAbs(source.quad - ref.quad) > 1))
        return fail(entry + QStringLiteral(".refClock"),
                    QStringLiteral("%1 cannot reach quad %2").arg(pll.refClock).arg(ref.quad));
    // A running PLL is believed only when its clock can give its VCO with the table's dividers.
    const auto clock = m_clockFrequency.constFind(pll.refClock);
    if (clock == m_clockFrequency.constEnd())
        return fail(entry + QStringLiteral(".refClock"),
                    QStringLiteral("%1 has no frequency in refClocks; a running PLL needs one")
                        .arg(pll.refClock));
    if (!PllSolver::vcoDividers(*limits, clock->second, vco))
        return fail(entry + QStringLiteral(".vcoGHz"),
                    QStringLiteral("%1 cannot run at %2 GHz from %3 at %4 MHz: no N and M of "
                                   "%5 give N / M = %6 within its clock ranges")
                        .arg(pll.pll, pll.vco, pll.refClock, clock->first, pllKindName(ref.kind),
                             (vco * 1000 / clock->second).toString(6)));
    if (!readOwner(object, entry, &pll.owner))
        return false;
    for (const DesignPll &other : m_design->plls) {
        if (other.pll == pll.pll)
            return fail(entry + QStringLiteral(".pll"),
                        QStringLiteral("%1 is already enabled for %2").arg(pll.pll, other.owner));
    }
    m_design->plls << pll;
    return true;
}

bool DesignParser::readInstance(const QJsonObject &object, const QString &entry)
{
    if (!onlyKeys(object, entry,
                  {QStringLiteral("name"), QStringLiteral("protocol"), QStringLiteral("lanes"),
                   QStringLiteral("globalData")}))
        return false;
    ProtocolInstance instance;
    instance.name = object.value(QStringLiteral("name")).toString();
    instance.protocol = object.value(QStringLiteral("protocol")).toString();
    if (instance.name.isEmpty())
        return fail(entry + QStringLiteral(".name"), QStringLiteral("expected a name"));
    if (instance.protocol.isEmpty())
        return fail(entry + QStringLiteral(".protocol"),
                    QStringLiteral("expected a protocol name"));
    const QJsonValue lanes = object.value(QStringLiteral("lanes"));
    if (!lanes.isArray())
        return fail(entry + QStringLiteral(".lanes"), QStringLiteral("expected a list of lanes"));
    const QJsonArray list = lanes.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const LaneRef lane = parseLane(list.at(i).toString());
        if (!lane.isValid() || lane.quad >= quads())
            return fail(QStringLiteral("%1.lanes[%2]").arg(entry).arg(i),
                        QStringLiteral("\"%1\" is no lane of this device")
                            .arg(list.at(i).toVariant().toString()));
        instance.lanes << list.at(i).toString();
    }
    if (!readOwnedKeys(object.value(QStringLiteral("globalData")), entry, &instance))
        return false;
    m_design->instances << instance;
    return true;
}

// The global data keys an instance wrote; designs written before cores recorded them
// have none.
bool DesignParser::readOwnedKeys(const QJsonValue &value, const QString &entry,
                                 ProtocolInstance *instance)
{
    if (value.isUndefined())
        return true;
    const QString field = entry + QStringLiteral(".globalData");
    if (!value.isArray())
        return fail(field, QStringLiteral("expected a list of global data keys"));
    const QJsonArray keys = value.toArray();
    for (int i = 0; i < keys.size(); ++i) {
        if (keys.at(i).toString().isEmpty())
            return fail(QStringLiteral("%1[%2]").arg(field).arg(i),
                        QStringLiteral("expected a global data key"));
        instance->globalDataKeys << keys.at(i).toString();
    }
    return true;
}

bool DesignParser::readGlobalData(const QJsonValue &value)
{
    if (value.isUndefined())
        return true;
    if (!value.isObject())
        return fail(QStringLiteral("globalData"), QStringLiteral("expected an object"));
    const QJsonObject data = value.toObject();
    if (data.size() > MaxDesignListEntries)
        return fail(QStringLiteral("globalData"),
                    QStringLiteral("%1 keys; a design holds at most %2")
                        .arg(data.size())
                        .arg(MaxDesignListEntries));
    for (auto it = data.begin(); it != data.end(); ++it) {
        const QString entry = QStringLiteral("globalData.") + it.key();
        const QJsonValue item = it.value();
        const bool whole = item.isDouble() && item.toDouble() == item.toInt();
        if (it.key() == QLatin1String("Q0_BIAS") || it.key() == QLatin1String("Q1_BIAS")) {
            if (!whole || item.toInt() < 0 || item.toInt() > 15)
                return fail(entry, QStringLiteral("expected a bias from 0 to 15"));
        } else if (it.key() == QLatin1String("GLOBAL_RESET_ENABLE")) {
            if (!item.isBool())
                return fail(entry, QStringLiteral("expected true or false"));
        } else if (item.isArray() || item.isObject() || item.isNull()) {
            return fail(entry, QStringLiteral("expected a text, number or true/false"));
        }
        m_design->globalData.insert(it.key(), whole ? QVariant(item.toInt()) : item.toVariant());
    }
    return true;
}

} // namespace IPSERDESIP
