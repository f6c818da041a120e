#pragma once

#include "hostexport.h"

#include <QLoggingCategory>

// The logging categories of the host and its program, all named "ipcore.<part>". Debug output
// is off by default; the program's --verbose or QT_LOGGING_RULES turns it on.
namespace IPSERDESIP {
namespace Logging {

// Q_DECLARE_LOGGING_CATEGORY spelled out: Qt 5 has no variant that exports the category.
IPSERDESHOST_EXPORT const QLoggingCategory &lcPlugins(); // loading the protocol plug-ins
IPSERDESHOST_EXPORT const QLoggingCategory &lcSerdes();  // SERDES model occupancy
IPSERDESHOST_EXPORT const QLoggingCategory &lcSolver();  // PLL divider search
IPSERDESHOST_EXPORT const QLoggingCategory &lcDesign();  // design files

// The filter rule that turns on the debug output of every category above.
inline QString verboseRule()
{
    return QStringLiteral("ipcore.*.debug=true");
}

} // namespace Logging
} // namespace IPSERDESIP
