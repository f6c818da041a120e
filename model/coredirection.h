#pragma once

#include <parametermap.h>

// Which way a core carries data, read from its three mode flags.
namespace IPJESD204B {

enum class CoreDirection { None, Receive, Transmit, Both };

// The first flag set wins, in the order receive, transmit, both; no flag gives None.
constexpr CoreDirection coreDirection(bool receive, bool transmit, bool both)
{
    return receive    ? CoreDirection::Receive
           : transmit ? CoreDirection::Transmit
           : both     ? CoreDirection::Both
                      : CoreDirection::None;
}

CoreDirection coreDirection(const IPSERDESIP::ParameterMap &params);

// The dialog's numeric core mode, which is also the host's lane status for that direction:
// 1 receive, 2 transmit, 3 both, -1 none.
constexpr int coreModeNumber(CoreDirection direction)
{
    switch (direction) {
    case CoreDirection::Receive:
        return 1;
    case CoreDirection::Transmit:
        return 2;
    case CoreDirection::Both:
        return 3;
    case CoreDirection::None:
        break;
    }
    return -1;
}

// The user's choice on the scope of the AFE bias value; the dialog keeps it as its number.
enum class BiasDecision { Undecided = 0, WholeQuads = 1, Declined = 2 };

constexpr int biasDecisionNumber(BiasDecision decision)
{
    return static_cast<int>(decision);
}

} // namespace IPJESD204B
