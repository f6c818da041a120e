#include "generator.h"

#include "generatoroptions.h"
#include "pllplanner.h"
#include "serdesstate.h"

#include <QFileInfo>
#include <services/safefile.h>

namespace IPSERDESIP {

using namespace Names;

namespace {

struct LaneRoute
{
    int directions = NoDirection;
    QString refSource;
    QString refFrequency;
};

class Run
{
public:
    Run(serdes::Model &model, const QStringList &options)
        : m_model(model), m_options(parseOptions(options))
    {}

    bool solve()
    {
        m_errors << m_options.errors;
        m_conflicts = findConflicts(m_model, m_model.route, m_model.routeOwner);
        for (const RouteConflict &conflict : qAsConst(m_conflicts))
            m_errors << conflict.text;
        const QMap<QString, LaneRoute> routes = collectRoutes();
        QList<LaneDemand> demands;
        for (const LaneOptions &lane : m_options.lanes) {
            if (!lane.enabled())
                continue;
            LaneDemand demand;
            if (makeDemand(lane, routes.value(lane.prefix), &demand))
                demands << demand;
        }
        if (demands.isEmpty() && m_errors.isEmpty())
            m_errors << QStringLiteral(
                "the options enable no lane (no \"qN_lnM_enable true\" line)");
        // Advice is only given when nothing but the PLLs stands in the way, so that following
        // it makes the core.
        m_plan = planLanes(m_model, demands, m_model.routeOwner, m_errors.isEmpty());
        m_errors << m_plan.errors;
        if (!m_errors.isEmpty())
            return false;
        rememberSolution();
        return true;
    }

    QStringList errors() const { return m_errors; }
    QStringList solved() const
    {
        QStringList lines;
        for (const LaneSetting &setting : m_plan.settings)
            lines << setting.describe();
        return lines;
    }

    GeneratorResult result() const;

    QStringList record(const QStringList &notes) const
    {
        QStringList out{QStringLiteral("# SERDES configuration record")};
        for (const QString &note : notes)
            out << QStringLiteral("# %1").arg(note);
        for (const LaneSetting &s : m_plan.settings) {
            const LaneOptions lane = m_options.lanes.value(s.demand.label);
            out << QString() << QStringLiteral("[%1]").arg(s.demand.label);
            out << QStringLiteral("lane = %1")
                       .arg(laneName(s.demand.lane.quad, s.demand.lane.lane));
            out << QStringLiteral("pll = %1").arg(s.pll);
            out << QStringLiteral("refclk = %1").arg(s.demand.refSource);
            out << QStringLiteral("refclk_mhz = %1").arg(s.demand.refFrequency);
            if (s.demand.lane.directions & TxDirection) {
                out << QStringLiteral("tx_rate_gbps = %1").arg(s.demand.txRate);
                out << QStringLiteral("tx_d = %1").arg(s.txDivider);
            }
            if (s.demand.lane.directions & RxDirection) {
                out << QStringLiteral("rx_rate_gbps = %1").arg(s.demand.rxRate);
                out << QStringLiteral("rx_d = %1").arg(s.rxDivider);
            }
            if (s.m > 0) {
                out << QStringLiteral("m = %1").arg(s.m);
                if (s.demand.kind == PllKind::Cpll)
                    out << QStringLiteral("n1 = %1").arg(s.n1)
                        << QStringLiteral("n2 = %1").arg(s.n2);
                else
                    out << QStringLiteral("n = %1").arg(s.n1);
            }
            out << QStringLiteral("vco_ghz = %1").arg(s.vco.toString());
            if (!s.runningFor.isEmpty())
                out << QStringLiteral("shared_with = %1").arg(s.runningFor);
            out << QStringLiteral("options:");
            for (const QString &line : lane.lines)
                out << QStringLiteral("    %1").arg(line);
        }
        out << QString() << QStringLiteral("[module]") << QStringLiteral("options:");
        for (const QString &line : m_options.moduleLines)
            out << QStringLiteral("    %1").arg(line);
        return out;
    }

private:
    // The lane lines, clock and frequency that checkRoute registered, by option prefix.
    QMap<QString, LaneRoute> collectRoutes()
    {
        QMap<QString, LaneRoute> routes;
        for (const RouteClaim &claim : m_model.route) {
            if (!claim.lane.isValid())
                continue;
            const QString prefix = lanePrefix(claim.lane.quad, claim.lane.lane);
            if (!m_options.lanes.contains(prefix)) {
                m_errors << QStringLiteral("%1 is registered, but the options configure no %2 lane")
                                .arg(claim.laneResource, prefix);
                continue;
            }
            LaneRoute &route = routes[prefix];
            route.directions |= claim.lane.directions;
            if (route.refSource.isEmpty()) {
                route.refSource = claim.refSource;
                route.refFrequency = claim.askedFrequency;
            }
        }
        return routes;
    }

    bool makeDemand(const LaneOptions &lane, const LaneRoute &route, LaneDemand *demand)
    {
        if (lane.quad >= m_model.quadCount()) {
            m_errors << QStringLiteral("%1: the device has no quad %2 (it has %3)")
                            .arg(lane.prefix)
                            .arg(lane.quad)
                            .arg(m_model.quadCount());
            return false;
        }
        const QString quad = QStringLiteral("q%1").arg(lane.quad);
        if (!m_options.enabledQuads.contains(quad)) {
            m_errors << QStringLiteral("%1: quad %2 is not enabled (no \"%2_enable true\" line)")
                            .arg(lane.prefix, quad);
            return false;
        }
        demand->lane.quad = lane.quad;
        demand->lane.lane = lane.lane;
        demand->lane.directions = route.directions ? route.directions : int(BothDirections);
        demand->label = lane.prefix;
        demand->pllText = lane.values.value(QStringLiteral("pll_sel"));
        demand->kind = pllKindFromText(demand->pllText);
        demand->txRate = lane.values.value(QStringLiteral("tx_rate"));
        demand->rxRate = lane.values.value(QStringLiteral("rx_rate"));
        return pickClock(lane, route, demand);
    }

    // The lane's clock: the registered one, at the frequency its option line gives (what the
    // SERDES is configured with), else the one the route carries; without a route, the only
    // clock the options give.
    bool pickClock(const LaneOptions &lane, const LaneRoute &route, LaneDemand *demand)
    {
        if (!route.refSource.isEmpty()) {
            demand->refSource = route.refSource;
            demand->refFrequency = m_options.refClocks.value(route.refSource, route.refFrequency);
            const Ratio asked = Ratio::fromDecimal(route.refFrequency);
            if (asked.isValid() && asked != Ratio::fromDecimal(demand->refFrequency))
                demand->askedFrequency = route.refFrequency;
            return true;
        }
        if (m_options.refClocks.size() == 1) {
            demand->refSource = m_options.refClocks.firstKey();
            demand->refFrequency = m_options.refClocks.first();
            return true;
        }
        if (m_options.refClocks.isEmpty()) {
            m_errors << QStringLiteral("%1: no reference clock frequency is given (a line such as "
                                       "\"q0_refclk0_freq 122.88\")")
                            .arg(lane.prefix);
        } else {
            m_errors << QStringLiteral("%1: the options give several reference clocks (%2) and no "
                                       "route says which one drives this lane")
                            .arg(
                                lane.prefix,
                                QStringList(m_options.refClocks.keys()).join(QStringLiteral(", ")));
        }
        return false;
    }

    // What committing the route (resetLane keeping it) records.
    void rememberSolution()
    {
        for (RouteClaim &claim : m_model.route) {
            for (const LaneSetting &setting : m_plan.settings) {
                if (setting.demand.lane.quad == claim.lane.quad &&
                    setting.demand.lane.lane == claim.lane.lane) {
                    claim.rate = setting.demand.txRate.isEmpty() ? setting.demand.rxRate
                                                                 : setting.demand.txRate;
                    claim.pll = setting.pll;
                    claim.vco = setting.vco.toString();
                }
            }
        }
    }

    serdes::Model &m_model;
    OptionSet m_options;
    PllPlan m_plan;
    QList<RouteConflict> m_conflicts;
    QStringList m_errors;
};

SolvedLaneResult solvedLane(const LaneSetting &s)
{
    SolvedLaneResult lane;
    const bool tx = s.demand.lane.directions & TxDirection;
    const bool rx = s.demand.lane.directions & RxDirection;
    lane.label = s.demand.label;
    lane.lane = laneName(s.demand.lane.quad, s.demand.lane.lane);
    lane.direction = tx && rx ? QStringLiteral("tx+rx")
                     : tx     ? QStringLiteral("tx")
                              : QStringLiteral("rx");
    lane.pll = s.pll;
    lane.m = s.m;
    lane.n1 = s.n1;
    lane.n2 = s.demand.kind == PllKind::Cpll ? s.n2 : 0;
    lane.txDivider = tx ? s.txDivider : 0;
    lane.rxDivider = rx ? s.rxDivider : 0;
    lane.vcoGHz = s.vco.toString();
    lane.txRateGbps = tx ? s.demand.txRate : QString();
    lane.rxRateGbps = rx ? s.demand.rxRate : QString();
    lane.refSource = s.demand.refSource;
    lane.refClockMHz = s.demand.refFrequency;
    lane.sharedWith = s.runningFor;
    return lane;
}

// Each error line once, with the parts the planner or the route check know about it.
GeneratorResult Run::result() const
{
    GeneratorResult result;
    result.feasible = m_errors.isEmpty();
    if (result.feasible) {
        for (const LaneSetting &setting : m_plan.settings)
            result.lanes << solvedLane(setting);
        return result;
    }
    for (const QString &text : m_errors) {
        ReasonResult reason;
        reason.text = text;
        for (const ReasonResult &failure : m_plan.failures) {
            if (failure.text == text)
                reason = failure;
        }
        for (const RouteConflict &conflict : m_conflicts) {
            if (conflict.text == text && reason.lanes.isEmpty())
                reason.lanes << conflict.laneResource;
        }
        result.reasons << reason;
    }
    return result;
}

bool writeRecord(const QString &path, const QStringList &lines, QString *error)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    QString problem;
    // Under a generation the record is staged with the run's other files, below its root.
    if (!HostFiles::writeGenerated(path, text.toUtf8(), &problem)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, problem);
        return false;
    }
    return true;
}

} // namespace

generator::generator() = default;
generator::~generator() = default;

bool generator::generate(const QStringList &options, const QString &csrPath,
                         const QStringList &extra)
{
    m_errors.clear();
    m_solved.clear();
    m_result = GeneratorResult();
    Run run(serdes::instance()->model(), options);
    const bool solved = run.solve();
    m_result = run.result();
    if (!solved) {
        m_errors = run.errors();
        return false;
    }
    if (!csrPath.isEmpty()) {
        QString error;
        if (!writeRecord(csrPath, run.record(extra), &error)) {
            m_errors << error;
            m_result = GeneratorResult();
            m_result.reasons << ReasonResult{{}, {}, error, {}, {}, {}, {}};
            return false;
        }
    }
    m_solved = run.solved();
    return true;
}

} // namespace IPSERDESIP

namespace IPSERDESIP {

const PllTable &currentPllTable()
{
    return serdes::instance()->model().pllTable;
}

} // namespace IPSERDESIP
