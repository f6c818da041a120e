#pragma once

#include "commandsupport.h"

#include <devicedb.h>
#include <parametermap.h>
#include <services/parametercheck.h>

namespace IPSERDESIP {
class BaseProtocol;
}

namespace HostProgram {

// Checks the set against the protocol's rules (when it offers any) on the device (null: the
// set's own): all of them, or the safety rules alone for a set reproduced as it is. On refusal
// prints one line naming the parameter file, the key, the value and what is allowed, sets
// *exitCode to BadUsage and returns false.
bool checkParameterSet(const CommandLine &command, IPSERDESIP::BaseProtocol *protocol,
                       const IPSERDESIP::ParameterMap &params, const DEV::DeviceArg &device,
                       IPSERDESIP::ParameterCheck::Rules rules, int *exitCode);

} // namespace HostProgram
