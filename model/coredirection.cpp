#include "coredirection.h"
#include "parametervalues.h"

#include "parameterkeys.h"

namespace IPJESD204B {

CoreDirection coreDirection(const IPSERDESIP::ParameterMap &params)
{
    using ParameterValues::flag;
    return coreDirection(flag(params, Key::Receive), flag(params, Key::Transmit),
                         flag(params, Key::Both));
}

} // namespace IPJESD204B
