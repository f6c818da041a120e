#include "serdesstate.h"

#include <logging/hostlogging.h>

namespace IPSERDESIP {

using namespace Names;

namespace {

const int lanesPerQuad = 4;

QStringList refSourceNamesOfQuad(int quad)
{
    QStringList names;
    for (int i = 0; i < 4; ++i)
        names << QStringLiteral("Q%1_REFCLK%2").arg(quad).arg(i);
    names << QStringLiteral("Q%1_REFIN").arg(quad);
    for (int i = 0; i < 4; ++i)
        names << QStringLiteral("Q%1_REFIN%2").arg(quad).arg(i);
    return names;
}

template <typename Map> void dropBeyond(Map &map, int quads, int (*quadOf)(const QString &))
{
    for (auto it = map.begin(); it != map.end();) {
        if (quadOf(it->first) >= quads)
            it = map.erase(it);
        else
            ++it;
    }
}

int laneQuad(const QString &name)
{
    return parseLane(name).quad;
}

int pllQuad(const QString &name)
{
    return parsePll(name).quad;
}

int refQuad(const QString &name)
{
    return parseRefSource(name).quad;
}

} // namespace

serdes::Model::Model()
{
    build();
}

int serdes::Model::quadCount() const
{
    return device.isNull() ? 2 : device.quadCount();
}

void serdes::Model::build()
{
    const int quads = quadCount();
    dropBeyond(lanes, quads, laneQuad);
    dropBeyond(plls, quads, pllQuad);
    dropBeyond(refSources, quads, refQuad);
    for (int quad = 0; quad < quads; ++quad) {
        for (int l = 0; l < lanesPerQuad; ++l) {
            const QString name = laneName(quad, l);
            if (!lanes.count(name))
                lanes.emplace(name, std::make_unique<LANE>(name));
            const QString cpll = pllName(quad, PllKind::Cpll, l);
            if (!plls.count(cpll))
                plls.emplace(cpll, std::make_unique<PLL>(cpll));
        }
        for (const PllKind kind : {PllKind::Qpll0, PllKind::Qpll1}) {
            const QString name = pllName(quad, kind);
            if (!plls.count(name))
                plls.emplace(name, std::make_unique<PLL>(name));
        }
        for (const QString &name : refSourceNamesOfQuad(quad)) {
            if (!refSources.count(name))
                refSources.emplace(name, std::make_unique<REF_SOURCE>(name));
        }
    }
    const QString mclk = QStringLiteral("MCLK");
    if (!refSources.count(mclk))
        refSources.emplace(mclk, std::make_unique<REF_SOURCE>(mclk));

    instances.clear();
    for (const auto &entry : lanes) {
        const LaneRef ref = parseLane(entry.first);
        // The dialog looks lanes up both as "Q0_LANE1" and as "Q0_Lane1"; both find the lane.
        instances.insert(entry.first, entry.second.get());
        instances.insert(laneAlias(ref.quad, ref.lane), entry.second.get());
    }
    for (const auto &entry : plls)
        instances.insert(entry.first, entry.second.get());
}

LANE *serdes::Model::lane(const QString &name) const
{
    const LaneRef ref = parseLane(name);
    if (!ref.isValid())
        return nullptr;
    const auto found = lanes.find(laneName(ref.quad, ref.lane));
    return found == lanes.end() ? nullptr : found->second.get();
}

PLL *serdes::Model::pll(const QString &name) const
{
    const auto found = plls.find(name);
    return found == plls.end() ? nullptr : found->second.get();
}

REF_SOURCE *serdes::Model::refSource(const QString &name) const
{
    const auto found = refSources.find(refSourceName(name));
    return found == refSources.end() ? nullptr : found->second.get();
}

QString serdes::Model::lineOwner(const QString &line) const
{
    const LaneRef ref = parseLane(line);
    const LANE *object = lane(line);
    if (!object || ref.directions == BothDirections)
        return {};
    if (!(object->getLaneStatus() & ref.directions))
        return {};
    const QString owner = lineOwners.value(laneLine(ref.quad, ref.lane, ref.directions));
    if (!owner.isEmpty())
        return owner;
    // Set up without an owner (a test, a tool): someone holds it all the same.
    return object->owner().isEmpty() ? QStringLiteral("another core") : object->owner();
}

void serdes::Model::claimLine(const LaneRef &ref, int direction, const QString &owner,
                              const QString &rate, const QString &source)
{
    LANE *object = lane(laneName(ref.quad, ref.lane));
    if (!object)
        return;
    object->setLaneStatus(object->getLaneStatus() | direction);
    const Ratio rateValue = Ratio::fromDecimal(rate);
    if (rateValue.isValid() && !rateValue.isZero())
        object->setLaneRate(rateValue.toDouble());
    object->line(direction == RxDirection ? LANE::RxLine : LANE::TxLine).setSource(source);
    lineOwners.insert(laneLine(ref.quad, ref.lane, direction), owner);
    qCDebug(Logging::lcSerdes).noquote()
        << laneLine(ref.quad, ref.lane, direction) << "taken by" << owner << "at" << rate << "Gbps";
    QStringList owners =
        object->owner().isEmpty() ? QStringList() : object->owner().split(QStringLiteral(", "));
    if (!owner.isEmpty() && !owners.contains(owner))
        owners << owner;
    object->setOwner(owners.join(QStringLiteral(", ")));
}

void serdes::Model::claimPll(const QString &name, const QString &vco, const QString &refSourceName,
                             const QString &owner)
{
    PLL *object = pll(name);
    if (!object)
        return;
    object->setEnabled(true);
    object->setVco(vco);
    object->setRefClock(Names::refSourceName(refSourceName));
    object->setOwner(owner);
    qCDebug(Logging::lcSerdes).noquote()
        << name << "taken by" << owner << "at VCO" << vco << "GHz from" << refSourceName;
}

void serdes::Model::claimRefSource(const QString &name, const QString &frequency,
                                   const QString &owner, int count, bool oncePerOwner)
{
    REF_SOURCE *object = refSource(name);
    if (!object)
        return;
    QStringList &owners = refOwners[object->name()];
    if (oncePerOwner && owners.contains(owner))
        return;
    for (int i = 0; i < count; ++i)
        owners << owner;
    object->setUseCount(object->getUseCount() + count);
    object->setFrequency(frequency);
    qCDebug(Logging::lcSerdes).noquote() << name << "at" << frequency << "MHz used by" << owner
                                         << QStringLiteral("(%1 uses)").arg(object->getUseCount());
}

} // namespace IPSERDESIP
