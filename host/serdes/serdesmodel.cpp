#include "serdesstate.h"

#include <logging/hostlogging.h>
#include <pll/pllsolver.h>

#include <algorithm>

namespace IPSERDESIP {

using namespace Names;

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
    m_writtenKeys.clear();
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
    const QString module = moduleOfInstance(instanceName);
    for (auto it = m_globalData.begin(); it != m_globalData.end();) {
        const bool others = std::any_of(
            model.protocols.begin(), model.protocols.end(), [&](const ProtocolInstance &entry) {
                return entry.name != instanceName && entry.globalDataKeys.contains(it.key());
            });
        if (!others && isRecordOf(it.key(), module))
            it = m_globalData.erase(it);
        else
            ++it;
    }
    for (int i = model.protocols.size() - 1; i >= 0; --i) {
        if (model.protocols.at(i).name == instanceName)
            model.protocols.removeAt(i);
    }
}

QString moduleHolder(const serdes::Model &model, const QString &instanceName, const QString &except)
{
    QStringList holders;
    for (const ProtocolInstance &instance : model.protocols)
        holders << instance.name;
    holders << model.lineOwners.values();
    for (const auto &entry : model.plls)
        holders << entry.second->owner();
    for (const QStringList &owners : model.refOwners)
        holders << owners;
    const QString module = moduleOfInstance(instanceName);
    for (const QString &holder : qAsConst(holders)) {
        if (!holder.isEmpty() && holder != except && moduleOfInstance(holder) == module)
            return holder;
    }
    return {};
}

QString serdes::moduleHolder(const QString &instanceName, const QString &except) const
{
    return IPSERDESIP::moduleHolder(*m_model, instanceName, except);
}

} // namespace IPSERDESIP
