#include "parametergate.h"

#include <baseprotocol.h>
#include <parametercheck.h>

namespace HostProgram {

bool admitParameterSet(const CommandLine &command, IPSERDESIP::BaseProtocol *protocol,
                       const IPSERDESIP::ParameterMap &params, const DEV::DeviceArg &device,
                       SetRules rules, int *exitCode)
{
    const auto *judge = IPSERDESIP::parameterCheckOf(protocol);
    if (!judge)
        return true;
    const QString problem =
        judge->parameterProblem(params, device,
                                rules == SetRules::All ? IPSERDESIP::ParameterCheck::Rules::All
                                                       : IPSERDESIP::ParameterCheck::Rules::Safety);
    if (problem.isEmpty())
        return true;
    *exitCode = command.fail(BadUsage, command.parameterFile() + QStringLiteral(": ") + problem);
    return false;
}

} // namespace HostProgram
