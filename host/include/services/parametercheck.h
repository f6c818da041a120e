#pragma once

#include "devicedb.h"
#include "parametermap.h"
#include <services/offeredinterface.h>

#include <QObject>
#include <QString>

namespace IPSERDESIP {

// Offered by a protocol that can judge a stored parameter set before the host uses it: by the
// protocol object itself or by an object it carries as a child. The host asks through
// parameterCheckOf; a protocol without one is used as it is.
class ParameterCheck
{
public:
    enum class Rules {
        // Only what keeps generation safe for any set: output names that stay one folder
        // below the working directory, values that cannot add a line, directive or quote to
        // a generated file, and bounded lists.
        Safety,
        // The safety rules and every value rule the configuration dialog applies.
        All
    };

    virtual ~ParameterCheck() = default;

    // Empty when the set may be used on the device (null: the set's own device); otherwise
    // one line naming the key, its value and what is allowed.
    virtual QString parameterProblem(const ParameterMap &params, const DEV::DeviceArg &device,
                                     Rules rules) const = 0;
};

} // namespace IPSERDESIP

Q_DECLARE_INTERFACE(IPSERDESIP::ParameterCheck, "org.ipcorehost.ParameterCheck/1.0")

namespace IPSERDESIP {

// The value rules a protocol offers; null when it offers none.
inline const ParameterCheck *parameterCheckOf(const QObject *protocol)
{
    return offeredInterface<ParameterCheck>(protocol);
}

} // namespace IPSERDESIP
