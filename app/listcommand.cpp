// STUB: list command
#include "commands.h"

namespace HostProgram {
int runList(const QStringList &) { return JobFailed; }
} // namespace HostProgram
