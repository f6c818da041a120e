#include "pllplanner.h"

#include "plladvice.h"

#include <QVector>

namespace IPSERDESIP {

using namespace Names;

namespace {

const int suggestions = 3;

struct Group
{
    QString pll;
    PllKind kind = PllKind::None;
    QList<LaneDemand> lanes;
};

// The rates a group asks of its PLL, transmit before receive for each lane.
QVector<Ratio> groupRates(const QList<LaneDemand> &lanes)
{
    QVector<Ratio> rates;
    for (const LaneDemand &lane : lanes) {
        if (lane.lane.directions & TxDirection)
            rates << Ratio::fromDecimal(lane.txRate);
        if (lane.lane.directions & RxDirection)
            rates << Ratio::fromDecimal(lane.rxRate);
    }
    return rates;
}

QString labels(const QList<LaneDemand> &lanes)
{
    QStringList names;
    for (const LaneDemand &lane : lanes)
        names << lane.label;
    return names.join(QStringLiteral(", "));
}

QString rateList(const QVector<Ratio> &rates)
{
    QStringList texts;
    for (const Ratio &rate : rates) {
        const QString text = rate.toString();
        if (!texts.contains(text))
            texts << text;
    }
    return texts.join(QStringLiteral(" and "));
}

// Dividers behind a VCO that another instance runs, when its clock allows any.
void traceDividers(const PllLimits &limits, const Ratio &fref, LaneSetting *setting)
{
    if (const auto dividers = PllSolver::vcoDividers(limits, fref, setting->vco)) {
        setting->m = dividers->m;
        setting->n1 = dividers->n1;
        setting->n2 = dividers->n2;
    }
}

QStringList labelList(const QList<LaneDemand> &lanes)
{
    QStringList names;
    for (const LaneDemand &lane : lanes)
        names << lane.label;
    return names;
}

// What the planner offers besides the failing PLL's own clocks and the running PLL's clock.
struct OtherWays
{
    QString text; // a sentence with a leading blank
    QStringList plls;
    QList<PllClockSuggestion> pairs;
};

class Planner
{
public:
    Planner(const serdes::Model &model, const QString &owner, bool advise)
        : m_model(model), m_owner(owner), m_advise(advise)
    {}

    PllPlan run(const QList<LaneDemand> &demands)
    {
        m_demands = demands;
        QList<Group> groups;
        for (const LaneDemand &demand : demands) {
            if (!validDemand(demand))
                continue;
            const QString pll = demand.kind == PllKind::Cpll
                                    ? pllName(demand.lane.quad, PllKind::Cpll, demand.lane.lane)
                                    : pllName(demand.lane.quad, demand.kind);
            auto found = std::find_if(groups.begin(), groups.end(),
                                      [&](const Group &g) { return g.pll == pll; });
            if (found == groups.end()) {
                groups.append({pll, demand.kind, {}});
                found = groups.end() - 1;
            }
            found->lanes.append(demand);
        }
        for (const Group &group : groups)
            planGroup(group);
        return m_plan;
    }

private:
    void fail(const Group &group, const QString &text, const QStringList &clocks = {},
              const OtherWays &others = {}, const QStringList &sources = {})
    {
        m_plan.errors << text;
        m_plan.failures << ReasonResult{
            labelList(group.lanes), group.pll, text, clocks, others.plls, sources, others.pairs};
    }

    bool validDemand(const LaneDemand &demand)
    {
        bool ok = true;
        const auto checkRate = [&](int direction, const QString &text, const QString &what) {
            if (!(demand.lane.directions & direction))
                return;
            const Ratio rate = Ratio::fromDecimal(text);
            if (!rate.isValid() || rate.isZero()) {
                m_plan.errors << QStringLiteral("%1: the %2 line rate \"%3\" is no positive "
                                                "decimal number of Gbps")
                                     .arg(demand.label, what, text);
                ok = false;
            }
        };
        checkRate(TxDirection, demand.txRate, QStringLiteral("transmit"));
        checkRate(RxDirection, demand.rxRate, QStringLiteral("receive"));
        if (demand.kind == PllKind::None) {
            m_plan.errors << QStringLiteral("%1: unknown PLL \"%2\"; choose QPLL0, QPLL1 or CPLL")
                                 .arg(demand.label, demand.pllText);
            ok = false;
        }
        const Ratio fref = Ratio::fromDecimal(demand.refFrequency);
        if (demand.refSource.isEmpty()) {
            m_plan.errors
                << QStringLiteral("%1: no reference clock drives this lane").arg(demand.label);
            ok = false;
        } else if (!fref.isValid() || fref.isZero()) {
            m_plan.errors << QStringLiteral("%1: the frequency \"%2\" of %3 is no positive decimal "
                                            "number of MHz")
                                 .arg(demand.label, demand.refFrequency, demand.refSource);
            ok = false;
        }
        return ok;
    }

    // A PLL that another instance of the design runs: its VCO and clock are fixed.
    const PLL *runningPll(const QString &name) const
    {
        const PLL *object = m_model.pll(name);
        if (!object || !object->isEnabled() || (object->owner() == m_owner && !m_owner.isEmpty()))
            return nullptr;
        return object;
    }

    void planGroup(const Group &group)
    {
        const PllLimits *limits = m_model.pllTable.limits(pllKindName(group.kind));
        const LaneDemand &first = group.lanes.first();
        for (const LaneDemand &lane : group.lanes) {
            if (lane.refSource != first.refSource ||
                Ratio::fromDecimal(lane.refFrequency) != Ratio::fromDecimal(first.refFrequency)) {
                fail(group, QStringLiteral("%1 and %2 share %3 but name different reference "
                                           "clocks (%4 at %5 MHz, %6 at %7 MHz); a PLL runs "
                                           "from one clock")
                                .arg(first.label, lane.label, group.pll, first.refSource,
                                     first.refFrequency, lane.refSource, lane.refFrequency));
                return;
            }
        }
        if (!limits) {
            m_plan.errors << QStringLiteral("%1: the PLL table has no %2")
                                 .arg(labels(group.lanes), pllKindName(group.kind));
            return;
        }
        const Ratio fref = Ratio::fromDecimal(first.refFrequency);
        const QVector<Ratio> rates = groupRates(group.lanes);
        LaneSetting base;
        base.pll = group.pll;
        QVector<int> dividers;
        if (const PLL *running = runningPll(group.pll)) {
            if (!planRunning(group, *limits, *running, fref, rates, &base, &dividers))
                return;
        } else {
            const auto solution = PllSolver::solve(*limits, fref, rates);
            if (!solution) {
                reportInfeasible(group, *limits, fref, rates);
                return;
            }
            base.m = solution->m;
            base.n1 = solution->n1;
            base.n2 = solution->n2;
            base.vco = solution->vco;
            dividers = solution->d;
        }
        m_plan.vcos.insert(group.pll, base.vco.toString());
        int next = 0;
        for (const LaneDemand &lane : group.lanes) {
            LaneSetting setting = base;
            setting.demand = lane;
            if (lane.lane.directions & TxDirection)
                setting.txDivider = dividers.value(next++);
            if (lane.lane.directions & RxDirection)
                setting.rxDivider = dividers.value(next++);
            m_plan.settings << setting;
        }
    }

    bool planRunning(const Group &group, const PllLimits &limits, const PLL &running,
                     const Ratio &fref, const QVector<Ratio> &rates, LaneSetting *base,
                     QVector<int> *dividers)
    {
        const LaneDemand &first = group.lanes.first();
        const Ratio vco = Ratio::fromDecimal(running.vco());
        if (!vco.isValid()) {
            fail(group, QStringLiteral("%1: %2 is enabled for %3 at an unknown VCO, so it "
                                       "cannot be shared; choose another PLL")
                            .arg(labels(group.lanes), group.pll, running.owner()));
            return false;
        }
        const auto found = PllSolver::dividersFor(limits, vco, rates);
        if (found && !running.refClock().isEmpty() && running.refClock() != first.refSource) {
            const REF_SOURCE *source = m_model.refSource(running.refClock());
            const bool useSource = m_advise && source &&
                                   Advice::sourceWorks(advice(), first.refSource,
                                                       running.refClock(), source->frequencyText());
            const OtherWays others = otherWays(group, fref, rates, useSource);
            fail(
                group,
                QStringLiteral("%1: %2 runs from %3 for %4, not from %5%6.%7")
                    .arg(labels(group.lanes), group.pll, running.refClock(), running.owner(),
                         first.refSource,
                         useSource ? QStringLiteral("; use %1").arg(running.refClock()) : QString(),
                         others.text),
                {}, others, useSource ? QStringList{running.refClock()} : QStringList());
            return false;
        }
        if (!found) {
            const OtherWays others = otherWays(group, fref, rates, false);
            fail(group,
                 QStringLiteral("%1 on %2: the PLL already runs at %3 GHz for %4 and "
                                "serves %5, not %6 Gbps.%7")
                     .arg(labels(group.lanes), group.pll, vco.toString(), running.owner(),
                          PllSolver::servedRates(limits, vco), rateList(rates), others.text),
                 {}, others);
            return false;
        }
        base->vco = vco;
        base->runningFor = running.owner();
        traceDividers(limits, fref, base);
        *dividers = *found;
        return true;
    }

    void reportInfeasible(const Group &group, const PllLimits &limits, const Ratio &fref,
                          const QVector<Ratio> &rates)
    {
        const LaneDemand &first = group.lanes.first();
        QString text = QStringLiteral("%1 on %2: %3 cannot make %4 Gbps from %5 at %6 MHz: %7.")
                           .arg(labels(group.lanes), group.pll, pllKindName(group.kind),
                                rateList(rates), first.refSource, fref.toString(),
                                PllSolver::explainFailure(limits, fref, rates));
        if (!first.askedFrequency.isEmpty()) {
            text += QStringLiteral(" The configuration line gives the clock as %1 MHz, not the "
                                   "%2 MHz asked.")
                        .arg(fref.toString(), first.askedFrequency);
        }
        const QVector<Ratio> clocks =
            m_advise ? Advice::clocks(advice(), limits, first.refSource, fref, rates, suggestions)
                     : QVector<Ratio>();
        QStringList texts;
        for (const Ratio &clock : clocks)
            texts << clock.toString();
        if (!clocks.isEmpty()) {
            text += QStringLiteral(" Reference clocks that would work on %1: %2 MHz.")
                        .arg(pllKindName(group.kind), texts.join(QStringLiteral(", ")));
        }
        const OtherWays others = otherWays(group, fref, rates, !clocks.isEmpty());
        fail(group, text + others.text, texts, others);
    }

    // The other PLL types that would make the core from the same clock, every lane of this PLL
    // type moved there; when none would and nothing else is offered, the other PLL types that
    // would with another clock on the source. Nothing when no advice is given.
    OtherWays otherWays(const Group &group, const Ratio &fref, const QVector<Ratio> &rates,
                        bool offered) const
    {
        OtherWays others;
        if (!m_advise)
            return others;
        others.plls = Advice::plls(advice(), group.kind);
        if (!others.plls.isEmpty()) {
            others.text = QStringLiteral(" %1 would make it from %2 MHz.")
                              .arg(others.plls.join(QStringLiteral(" or ")), fref.toString());
            return others;
        }
        others.text =
            QStringLiteral(" No other PLL makes it from %1 MHz either").arg(fref.toString());
        if (offered) {
            others.text += QLatin1Char('.');
            return others;
        }
        const QString source = group.lanes.first().refSource;
        QStringList texts;
        for (const Advice::PllClock &pair :
             Advice::pllClocks(advice(), group.kind, source, fref, rates, suggestions)) {
            others.pairs << PllClockSuggestion{pllKindName(pair.kind), pair.clock.toString()};
            texts << QStringLiteral("%1 at %2 MHz")
                         .arg(pllKindName(pair.kind), pair.clock.toString());
        }
        if (texts.isEmpty())
            others.text += QStringLiteral(", and no other PLL was found that makes it from "
                                          "another clock on %1.")
                               .arg(source);
        else
            others.text +=
                QStringLiteral(". Other PLLs with another clock on %1 that would work: %2.")
                    .arg(source, texts.join(QStringLiteral(", ")));
        return others;
    }

    Advice::Context advice() const { return {m_model, m_owner, m_demands}; }

    const serdes::Model &m_model;
    QString m_owner;
    bool m_advise;
    QList<LaneDemand> m_demands;
    PllPlan m_plan;
};

} // namespace

PllPlan planLanes(const serdes::Model &model, const QList<LaneDemand> &demands,
                  const QString &owner, bool advise)
{
    return Planner(model, owner, advise).run(demands);
}

} // namespace IPSERDESIP
