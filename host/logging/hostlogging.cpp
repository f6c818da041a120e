#include <logging/hostlogging.h>

namespace IPSERDESIP {
namespace Logging {

// Informational messages and above by default: debug stays quiet until asked for.
Q_LOGGING_CATEGORY(lcPlugins, "ipcore.plugins", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSerdes, "ipcore.serdes", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSolver, "ipcore.solver", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDesign, "ipcore.design", QtInfoMsg)

} // namespace Logging
} // namespace IPSERDESIP
