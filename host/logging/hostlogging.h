#pragma once

#include <QLoggingCategory>

// The logging categories of the host and its program, all named "ipcore.<part>". Debug output
// is off by default; the program's --verbose or QT_LOGGING_RULES turns it on.
namespace IPSERDESIP {
namespace Logging {

Q_DECLARE_LOGGING_CATEGORY(lcPlugins) // loading the protocol plug-ins
Q_DECLARE_LOGGING_CATEGORY(lcSerdes)  // SERDES model occupancy
Q_DECLARE_LOGGING_CATEGORY(lcSolver)  // PLL divider search
Q_DECLARE_LOGGING_CATEGORY(lcDesign)  // design files

// The filter rule that turns on the debug output of every category above.
inline QString verboseRule()
{
    return QStringLiteral("ipcore.*.debug=true");
}

} // namespace Logging
} // namespace IPSERDESIP
