// STUB: check command
#include "commands.h"

namespace HostProgram {
int runCheck(const QStringList &) { return JobFailed; }
} // namespace HostProgram
