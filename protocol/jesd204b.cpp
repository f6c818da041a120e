#include "jesd204b.h"

#include "jesd204bdlg.h"

#include <idecore.h>
#include <ipcore.h>

namespace IPJESD204B {

namespace {
const QString DescriptionFile = QStringLiteral("/jesd204b.ipspec");
const QString DataDir = QStringLiteral("/data");
} // namespace

jesd204b::jesd204b(const QString &directory) : m_directory(directory) {}

jesd204b::~jesd204b() = default;

bool jesd204b::load()
{
    m_ipInfo = IPCore::processIPInfoSpec(m_directory + DescriptionFile);
    if (!IPCore::checkCommonInfo(m_ipInfo))
        return false;
    m_ipInfo.insert(QStringLiteral("ipcore.dir.data"), m_directory + DataDir);
    return true;
}

QString jesd204b::loadProblem() const
{
    const QString file = m_directory + DescriptionFile;
    QString problem;
    const IPSERDESIP::ParameterMap info = IPCore::processIPInfoSpec(file, &problem);
    if (problem.isEmpty() && !IPCore::commonInfoProblem(info).isEmpty())
        problem = file + QStringLiteral(": ") + IPCore::commonInfoProblem(info);
    return problem;
}

QString jesd204b::version() const
{
    return m_ipInfo.value(QStringLiteral("ipcore.version")).toString();
}

QString jesd204b::id() const
{
    return m_ipInfo.value(QStringLiteral("ipcore.id")).toString();
}

QString jesd204b::name() const
{
    return m_ipInfo.value(QStringLiteral("ipcore.name")).toString();
}

QStringList jesd204b::category() const
{
    return m_ipInfo.value(QStringLiteral("ipcore.category")).toStringList();
}

QString jesd204b::summary() const
{
    return m_ipInfo.value(QStringLiteral("ipcore.doc.summary")).toString();
}

bool jesd204b::isSupported(const DEV::DeviceArg &device) const
{
    const QStringList supported =
        m_ipInfo.value(QStringLiteral("ipcore.device.supported")).toStringList();
    const QStringList unsupported =
        m_ipInfo.value(QStringLiteral("ipcore.device.unsupported")).toStringList();
    return IPCore::isSupported(device, unsupported, supported);
}

IPSERDESIP::ParameterMap jesd204b::create(const QString &name, const DEV::DeviceArg &device)
{
    jesd204bdlg dialog(m_ipInfo, &m_parameters, Core::ViewManager::dialogParent());
    dialog.setCreating(name, device);
    if (dialog.exec() == QDialog::Accepted)
        return m_parameters;
    return {};
}

IPSERDESIP::ParameterMap jesd204b::edit(const IPSERDESIP::ParameterMap &stored)
{
    jesd204bdlg dialog(m_ipInfo, &m_parameters, Core::ViewManager::dialogParent());
    if (!dialog.setOpening(stored))
        return {};
    if (dialog.exec() == QDialog::Accepted)
        return m_parameters;
    return {};
}

} // namespace IPJESD204B
