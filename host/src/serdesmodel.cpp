// Placeholder model: knows no lanes, PLLs or clocks. Replaced by the full SERDES model.
#include "generator.h"
#include "serdes.h"

namespace IPSERDESIP {

struct serdes::Model
{
    DEV::DeviceArg device;
};

serdes::serdes() : m_model(std::make_unique<Model>()) {}
serdes::~serdes() = default;

serdes *serdes::instance()
{
    static serdes theModel;
    return &theModel;
}

serdes::Model &serdes::model() { return *m_model; }
const serdes::Model &serdes::model() const { return *m_model; }

void serdes::setDevice(const DEV::DeviceArg &device) { m_model->device = device; }
DEV::DeviceArg serdes::device() const { return m_model->device; }
int serdes::quadCount() const { return m_model->device.isNull() ? 2 : m_model->device.quadCount(); }

void serdes::reset()
{
    m_globalData.clear();
    m_model = std::make_unique<Model>();
}

QMap<QString, Instance *> serdes::allInstance() const { return {}; }
QStringList serdes::findLaneName(const QString &) const { return {}; }
double serdes::getFreqByRefsrc(const QString &) const { return 0.0; }
REF_SOURCE *serdes::FormStringToREFSPtr(const QString &) const { return nullptr; }
bool serdes::checkAccess(const QString &, const QString &) const { return false; }
bool serdes::checkRoute(const QStringList &, const QStringList &, const QStringList &,
                        const QStringList &)
{
    return false;
}
void serdes::resetLane(const QString &, bool) {}
QStringList serdes::checkPLLforQuad0(double) const { return {}; }
QStringList serdes::checkPLLforQuad1(double) const { return {}; }
bool serdes::checkPllEnable(const QString &) const { return false; }

generator::generator() = default;
generator::~generator() = default;
bool generator::generate(const QStringList &, const QString &, const QStringList &)
{
    m_errors = QStringList{QStringLiteral("The SERDES model is not available")};
    return false;
}

} // namespace IPSERDESIP
