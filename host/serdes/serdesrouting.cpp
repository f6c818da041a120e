#include "serdesstate.h"

#include <pll/ratio.h>

namespace IPSERDESIP {

using namespace Names;

namespace {

QString directionWord(int direction)
{
    return direction == RxDirection ? QStringLiteral("receive") : QStringLiteral("transmit");
}

// Whether a reference clock source may drive a lane of the given quad. A quad's REFCLK pins
// reach its own lanes and, over the clock spine, the neighbouring quads'; a REFIN input only
// its own quad; MCLK every lane.
bool reaches(const RefRef &source, int laneQuad)
{
    switch (source.kind) {
    case RefRef::RefClk:
        return qAbs(source.quad - laneQuad) <= 1;
    case RefRef::RefIn:
        return source.quad == laneQuad;
    case RefRef::Mclk:
        return true;
    case RefRef::Invalid:
        break;
    }
    return false;
}

void addConflict(QList<RouteConflict> &conflicts, const QString &lane, const QString &text)
{
    for (const RouteConflict &conflict : conflicts) {
        if (conflict.text == text)
            return;
    }
    conflicts.append({lane, text});
}

// The claim's reference clock: known, within reach of the lane's quad, and at the frequency
// other cores already run it at.
void checkRefClock(const serdes::Model &model, const RouteClaim &claim, const QString &owner,
                   QList<RouteConflict> &conflicts)
{
    const QString &name = claim.laneResource;
    if (claim.refSource.isEmpty())
        return;
    const REF_SOURCE *source = model.refSource(claim.refSource);
    const RefRef ref = parseRefSource(claim.refSource);
    if (!source) {
        addConflict(conflicts, name,
                    QStringLiteral("%1: unknown reference clock %2").arg(name, claim.refSource));
        return;
    }
    if (!reaches(ref, claim.lane.quad)) {
        addConflict(conflicts, name,
                    QStringLiteral("%1: %2 cannot reach quad %3 (%4)")
                        .arg(name, claim.refSource)
                        .arg(claim.lane.quad)
                        .arg(ref.kind == RefRef::RefIn
                                 ? QStringLiteral("a REFIN input drives its own quad only")
                                 : QStringLiteral("a REFCLK pin drives its own quad and the "
                                                  "neighbouring ones")));
    }
    const QString clash = refClockClash(model, claim.refSource, claim.refFrequency, owner);
    if (!clash.isEmpty())
        addConflict(conflicts, name, clash);
}

} // namespace

QString refClockClash(const serdes::Model &model, const QString &sourceName,
                      const QString &frequency, const QString &owner)
{
    const REF_SOURCE *source = model.refSource(sourceName);
    if (!source)
        return {};
    const QStringList users = model.refOwners.value(source->name());
    const bool othersUse =
        source->getUseCount() > 0 && (users.isEmpty() || users.count(owner) < users.size());
    if (!othersUse || Ratio::fromDecimal(frequency) == Ratio::fromDecimal(source->frequencyText()))
        return {};
    return QStringLiteral("%1 already runs at %2 MHz for other cores; this core asks %3 MHz")
        .arg(source->name(), source->frequencyText(), frequency);
}

// The PLL entry that belongs to the lane: the one at the lane's index when it fits the lane,
// otherwise the first that does (lists with entries missing for some lanes).
static QString pllForLane(const QStringList &plls, int index, const LaneRef &lane)
{
    const auto fits = [&lane](const QString &name) {
        const PllRef ref = parsePll(name);
        return ref.isValid() && ref.quad == lane.quad &&
               (ref.kind != PllKind::Cpll || ref.lane == lane.lane);
    };
    if (index < plls.size() && fits(plls.at(index)))
        return plls.at(index);
    for (const QString &name : plls) {
        if (fits(name))
            return name;
    }
    return {};
}

QList<RouteClaim> makeClaims(const QStringList &lanes, const QStringList &plls,
                             const QStringList &refClks, const QStringList &refClkFreqs)
{
    QList<RouteClaim> claims;
    for (int i = 0; i < lanes.size(); ++i) {
        RouteClaim claim;
        claim.laneResource = lanes.at(i);
        claim.lane = parseLane(claim.laneResource);
        claim.pll = pllForLane(plls, i, claim.lane);
        const QString source = refClks.value(i);
        claim.refSource = refSourceName(source);
        if (claim.refSource.isEmpty())
            claim.refSource = source; // reported as unknown, not silently dropped
        claim.askedFrequency = refClkFreqs.value(i);
        claim.refFrequency = configuredClock(claim.askedFrequency);
        claims.append(claim);
    }
    return claims;
}

QList<RouteConflict> findConflicts(const serdes::Model &model, const QList<RouteClaim> &claims,
                                   const QString &owner)
{
    QList<RouteConflict> conflicts;
    QStringList claimedLines;
    for (const RouteClaim &claim : claims) {
        const QString &name = claim.laneResource;
        if (!claim.lane.isValid() || claim.lane.quad >= model.quadCount()) {
            addConflict(conflicts, name,
                        QStringLiteral("%1: no such lane on this device (%2 quads)")
                            .arg(name)
                            .arg(model.quadCount()));
            continue;
        }
        for (const int direction : {RxDirection, TxDirection}) {
            if (!(claim.lane.directions & direction))
                continue;
            const QString line = laneLine(claim.lane.quad, claim.lane.lane, direction);
            if (claimedLines.contains(line)) {
                addConflict(conflicts, name,
                            QStringLiteral("%1: the %2 line is claimed twice by this core")
                                .arg(name, directionWord(direction)));
            }
            claimedLines << line;
            const QString holder = model.lineOwner(line);
            if (!holder.isEmpty() && holder != owner) {
                addConflict(conflicts, name,
                            QStringLiteral("%1: the %2 line is already used by %3")
                                .arg(name, directionWord(direction), holder));
            }
        }
        checkRefClock(model, claim, owner, conflicts);
    }
    return conflicts;
}

bool serdes::checkAccess(const QString &source, const QString &laneLine) const
{
    const RefRef ref = parseRefSource(source);
    const LaneRef lane = parseLane(laneLine);
    if (!ref.isValid() || !lane.isValid() || !m_model->lane(laneLine))
        return false;
    if (ref.kind != RefRef::Mclk && ref.quad >= quadCount())
        return false;
    return reaches(ref, lane.quad);
}

bool serdes::checkRoute(const QStringList &lanes, const QStringList &plls,
                        const QStringList &refClks, const QStringList &refClkFreqs)
{
    return checkRoute(lanes, plls, refClks, refClkFreqs, QString());
}

bool serdes::checkRoute(const QStringList &lanes, const QStringList &plls,
                        const QStringList &refClks, const QStringList &refClkFreqs,
                        const QString &owner)
{
    Model &model = *m_model;
    model.route = makeClaims(lanes, plls, refClks, refClkFreqs);
    model.routeOwner = owner;
    model.conflicts = findConflicts(model, model.route, owner);
    return model.conflicts.isEmpty();
}

QStringList serdes::routeConflicts() const
{
    QStringList texts;
    for (const RouteConflict &conflict : m_model->conflicts)
        texts << conflict.text;
    return texts;
}

void serdes::resetLane(const QString &lane, bool keepRoute)
{
    Model &model = *m_model;
    for (int i = model.route.size() - 1; i >= 0; --i) {
        const RouteClaim claim = model.route.at(i);
        if (claim.laneResource != lane)
            continue;
        if (keepRoute && claim.lane.isValid()) {
            // The route becomes part of the design, as when the core is accepted.
            const QString owner =
                model.routeOwner.isEmpty() ? QStringLiteral("unnamed core") : model.routeOwner;
            for (const int direction : {RxDirection, TxDirection}) {
                if (claim.lane.directions & direction) {
                    model.claimLine(claim.lane, direction, owner, claim.rate,
                                    pllKindName(parsePll(claim.pll).kind));
                }
            }
            if (!claim.pll.isEmpty() && !claim.vco.isEmpty())
                model.claimPll(claim.pll, claim.vco, claim.refSource, owner);
            if (!claim.refSource.isEmpty())
                model.claimRefSource(claim.refSource, claim.refFrequency, owner);
        }
        model.route.removeAt(i);
    }
    for (int i = model.conflicts.size() - 1; i >= 0; --i) {
        if (model.conflicts.at(i).laneResource == lane)
            model.conflicts.removeAt(i);
    }
    if (model.route.isEmpty()) {
        model.routeOwner.clear();
        model.conflicts.clear();
    }
}

} // namespace IPSERDESIP
