#pragma once

#include "commandsupport.h"

#include <devicedb.h>
#include <parametermap.h>

namespace IPSERDESIP {
class BaseProtocol;
}

namespace HostProgram {

// Which of the protocol's rules a command applies to a parameter set before it uses it.
enum class SetRules {
    All, // the dialog's value rules and the safety rules
    AsIs // the safety rules only: a stored set is reproduced as it is
};

// Asks the protocol (when it can judge sets) whether the set may be used on the device (null:
// the set's own). On refusal prints one line naming the parameter file, the key, the value
// and what is allowed, sets *exitCode to BadUsage and returns false.
bool admitParameterSet(const CommandLine &command, IPSERDESIP::BaseProtocol *protocol,
                       const IPSERDESIP::ParameterMap &params, const DEV::DeviceArg &device,
                       SetRules rules, int *exitCode);

} // namespace HostProgram
