#include "parameterchecker.h"

#include "parameterkeys.h"
#include "parameterrules.h"

#include <idecore.h>

namespace IPJESD204B {

ParameterChecker::ParameterChecker(QObject *parent) : QObject(parent) {}

QString ParameterChecker::parameterProblem(const IPSERDESIP::ParameterMap &params,
                                           const DEV::DeviceArg &device, Rules rules) const
{
    if (rules == Rules::Safety)
        return ParameterRules::safetyProblem(params);
    // The set's own device must exist even when another one is asked for.
    const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
    const DEV::DeviceArg own = db->findDevice(params.value(Key::TargetDevice).toString());
    const DEV::DeviceArg judged = device.isNull() ? own : device;
    DeviceFacts facts;
    facts.known = !own.isNull() && !judged.isNull();
    facts.name = judged.device();
    facts.quadCount = judged.quadCount();
    return ParameterRules::valueProblem(params, facts);
}

} // namespace IPJESD204B
