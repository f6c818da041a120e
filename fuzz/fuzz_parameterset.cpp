// A parameter set decoded from arbitrary JSON through everything that reads one outside the
// dialog: the define lists, the .ini lines, the module options, a lane block, the resource
// report, and the generator's verdict on the lines.
#include "fuzzsupport.h"

#include "jesd204b.h"
#include "laneoptions.h"
#include "parameterfile.h"
#include "serdesoptionlines.h"
#include "topdefines.h"

#include <devicedb.h>
#include <generator.h>
#include <idecore.h>
#include <serdes.h>
#include <services/message.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

void exercise(const IPSERDESIP::ParameterMap &params)
{
    using namespace IPJESD204B;
    const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice(
        params.value(QStringLiteral("target_device")).toString());

    IPSERDESIP::serdes *const serdes = IPSERDESIP::serdes::instance();
    serdes->reset();
    serdes->setDevice(device);

    QStringList ini;
    appendIniLines(
        ini, params, device.device(),
        {params.value(QStringLiteral("Q0_BIAS")), params.value(QStringLiteral("Q1_BIAS"))});
    serdes->setGlobalResetEnableParam(ini);
    QStringList moduleOptions;
    appendModuleOptions(moduleOptions, params);
    topLevelDefines(params);
    coreDefines(params);
    QStringList block;
    appendLaneOptionLines(block, QStringLiteral("q1_ln3"), QStringLiteral("q1"),
                          laneOptionValuesFromParameters(params, device.device()));
    frequencyValue(params.value(QStringLiteral("Reference_CLK_Frequency")).toString());

    jesd204b protocol{QString()};
    protocol.setDevice(device);
    const std::unique_ptr<IPSERDESIP::Message> report(protocol.resources(params));

    IPSERDESIP::generator generator;
    generator.generate(ini, QString(), {});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(FuzzSupport::bytes(data, size));
    if (!document.isObject())
        return 0;
    // Two readings: whatever a host might store (doubles, nulls, nested maps included), and
    // what the host program's parameter-file reader admits.
    exercise(document.object().toVariantMap());
    IPSERDESIP::ParameterMap checked;
    QString error;
    if (HostProgram::parameterSetFromJson(document.object(), &checked, &error))
        exercise(checked);
    return 0;
}
