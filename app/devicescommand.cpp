// STUB: devices command
#include "commands.h"

namespace HostProgram {
int runDevices(const QStringList &) { return JobFailed; }
} // namespace HostProgram
