// STUB: resources command
#include "commands.h"

namespace HostProgram {
int runResources(const QStringList &) { return JobFailed; }
} // namespace HostProgram
