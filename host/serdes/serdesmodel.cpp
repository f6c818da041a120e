#include "serdesstate.h"

#include "hostlogging.h"
#include "pllsolver.h"

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

// ---- Model ---------------------------------------------------------------------------------

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

// ---- serdes --------------------------------------------------------------------------------

serdes::serdes() : m_model(std::make_unique<Model>()) {}
serdes::~serdes() = default;

serdes *serdes::instance()
{
    static serdes theModel;
    return &theModel;
}

serdes::Model &serdes::model()
{
    return *m_model;
}

const serdes::Model &serdes::model() const
{
    return *m_model;
}

void serdes::setDevice(const DEV::DeviceArg &device)
{
    m_model->device = device;
    m_model->build();
}

DEV::DeviceArg serdes::device() const
{
    return m_model->device;
}

int serdes::quadCount() const
{
    return m_model->quadCount();
}

void serdes::reset()
{
    m_globalData.clear();
    m_model = std::make_unique<Model>();
}

QMap<QString, Instance *> serdes::allInstance() const
{
    return m_model->instances;
}

QStringList serdes::findLaneName(const QString &protocolName) const
{
    QStringList names;
    for (const ProtocolInstance &instance : m_model->protocols) {
        if (instance.protocol == protocolName)
            names << instance.lanes;
    }
    return names;
}

double serdes::getFreqByRefsrc(const QString &source) const
{
    const REF_SOURCE *object = m_model->refSource(source);
    return object && object->getUseCount() > 0 ? object->getFrequency() : 0.0;
}

REF_SOURCE *serdes::FormStringToREFSPtr(const QString &source) const
{
    return m_model->refSource(source);
}

QStringList serdes::checkPLLforQuad(int quad, double lineRate) const
{
    QStringList usable;
    const Ratio rate = Ratio::fromDouble(lineRate);
    if (quad < 0 || quad >= quadCount() || !rate.isValid() || rate.isZero())
        return usable;
    for (const PllKind kind : {PllKind::Qpll0, PllKind::Qpll1}) {
        const PLL *object = m_model->pll(pllName(quad, kind));
        const PllLimits *limits = m_model->pllTable.limits(pllKindName(kind));
        if (!object || !limits)
            continue;
        bool serves = false;
        if (object->isEnabled()) {
            // A running PLL keeps its VCO: only its output dividers are free.
            const Ratio vco = Ratio::fromDecimal(object->vco());
            serves = vco.isValid() && PllSolver::dividersFor(*limits, vco, {rate}).has_value();
        } else {
            serves = PllSolver::bandAdmits(*limits, rate);
        }
        if (serves)
            usable << pllKindName(kind);
    }
    return usable;
}

QStringList serdes::checkPLLforQuad0(double lineRate) const
{
    return checkPLLforQuad(0, lineRate);
}

QStringList serdes::checkPLLforQuad1(double lineRate) const
{
    return checkPLLforQuad(1, lineRate);
}

bool serdes::checkPllEnable(const QString &pll) const
{
    const PLL *object = m_model->pll(pll);
    return object && object->isEnabled();
}

void serdes::addProtocolInstance(const QString &protocolName, const QString &instanceName,
                                 const QStringList &lanes)
{
    ProtocolInstance instance;
    instance.protocol = protocolName;
    instance.name = instanceName;
    instance.lanes = lanes;
    m_model->protocols.append(instance);
}

void serdes::removeInstance(const QString &instanceName)
{
    Model &model = *m_model;
    qCDebug(Logging::lcSerdes).noquote() << "releasing what" << instanceName << "holds";
    for (auto it = model.lineOwners.begin(); it != model.lineOwners.end();) {
        if (it.value() != instanceName) {
            ++it;
            continue;
        }
        const LaneRef ref = parseLane(it.key());
        LANE *object = model.lane(it.key());
        if (object) {
            object->setLaneStatus(object->getLaneStatus() & ~ref.directions);
            object->line(ref.directions == RxDirection ? LANE::RxLine : LANE::TxLine)
                .setSource(QString());
            QStringList owners = object->owner().split(QStringLiteral(", "));
            owners.removeAll(instanceName);
            object->setOwner(owners.join(QStringLiteral(", ")));
            if (object->getLaneStatus() == LANE::Free)
                object->setLaneRate(0.0);
        }
        it = model.lineOwners.erase(it);
    }
    for (auto &entry : model.plls) {
        if (entry.second->owner() == instanceName) {
            entry.second->setEnabled(false);
            entry.second->setVco(QString());
            entry.second->setRefClock(QString());
            entry.second->setOwner(QString());
        }
    }
    for (auto it = model.refOwners.begin(); it != model.refOwners.end(); ++it) {
        const int uses = it.value().removeAll(instanceName);
        if (uses == 0)
            continue;
        if (REF_SOURCE *object = model.refSource(it.key()))
            object->setUseCount(qMax(0, object->getUseCount() - uses));
    }
    for (int i = model.protocols.size() - 1; i >= 0; --i) {
        if (model.protocols.at(i).name != instanceName)
            continue;
        for (const QString &key : model.protocols.at(i).globalDataKeys)
            m_globalData.remove(key);
        model.protocols.removeAt(i);
    }
}

} // namespace IPSERDESIP
