#include "jesd204b.h"
#include "laneoptions.h"
#include "parameterkeys.h"
#include "parameterrules.h"
#include "serdesoptionlines.h"
#include "topdefines.h"

#include <idecore.h>
#include <ipcore.h>
#include <serdes.h>
#include <serdesfunctions.h>

namespace IPJESD204B {

namespace {
const QString CoreName = QStringLiteral("jesd204b");
}

bool jesd204b::generate(const IPSERDESIP::ParameterMap &params, QStringList &iniLines,
                        QStringList & /*reserved*/, QStringList &moduleOptions, QString &message,
                        bool runSynthesis)
{
    if (m_device.isNull())
        m_device =
            Core::IdeCore::deviceDataBase()->findDevice(params.value(Key::TargetDevice).toString());
    if (params.isEmpty())
        return false;
    // Whatever host calls it: no name leads out of the working folder, no value adds a line.
    const QString unsafe = ParameterRules::safetyProblem(params);
    if (!unsafe.isEmpty()) {
        Core::MessageSink::report(m_ipInfo.value(QStringLiteral("ipcore.name")).toString(), unsafe,
                                  Core::ViewManager::dialogParent());
        return false;
    }
    m_parameters = params;

    IPSERDESIP::serdes *const serdes = IPSERDESIP::serdes::instance();
    appendIniLines(iniLines, params, m_device.device(),
                   {serdes->getData(GlobalKey::Q0Bias), serdes->getData(GlobalKey::Q1Bias)});
    serdes->setGlobalResetEnableParam(iniLines);
    appendModuleOptions(moduleOptions, params);
    const QStringList topLevel = topLevelDefines(params);
    const QStringList core = coreDefines(params);

    const QString dir = serdes->workingDir() + QLatin1Char('/') +
                        params.value(Key::File).toString() + QStringLiteral("/temp/") + CoreName;
    if (!IPCore::makeDirs(dir, m_ipInfo.value(QStringLiteral("ipcore.name")).toString()))
        return false;
    QWidget *const parent = Core::ViewManager::dialogParent();
    const QString prefix = dir + QLatin1Char('/');
    if (!IPCore::generateFile(prefix + QStringLiteral("top_define.vh"), topLevel, parent, {}))
        return false;
    if (!IPCore::generateFile(prefix + QStringLiteral("jesd204b_top_defines.vh"), core, parent, {}))
        return false;
    if (!IPCore::generateFile(prefix + QStringLiteral("jesd204b.ini"), iniLines, parent, {}))
        return false;
    if (!runSynthesis)
        return true;

    const QStringList sources{QStringLiteral("jesd204b_core_encryption.v"),
                              QStringLiteral("jesd204b_top.v")};
    return IPSERDESIP::waitForRunSyntheSis(m_device, params, m_ipInfo, sources, CoreName, message,
                                           this);
}

void jesd204b::appendLaneOptions(QStringList &options, const QString &lanePrefix,
                                 const QString &quadPrefix) const
{
    appendLaneOptionLines(options, lanePrefix, quadPrefix,
                          laneOptionValuesFromParameters(m_parameters, m_device.device()));
}

} // namespace IPJESD204B
