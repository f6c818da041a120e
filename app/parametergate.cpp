#include "parametergate.h"

#include <baseprotocol.h>

namespace HostProgram {

bool checkParameterSet(const CommandLine &command, IPSERDESIP::BaseProtocol *protocol,
                       const IPSERDESIP::ParameterMap &params, const DEV::DeviceArg &device,
                       IPSERDESIP::ParameterCheck::Rules rules, int *exitCode)
{
    const auto *check = IPSERDESIP::parameterCheckOf(protocol);
    if (!check)
        return true;
    const QString problem = check->parameterProblem(params, device, rules);
    if (problem.isEmpty())
        return true;
    *exitCode = command.fail(BadUsage, command.parameterFile() + QStringLiteral(": ") + problem);
    return false;
}

} // namespace HostProgram
