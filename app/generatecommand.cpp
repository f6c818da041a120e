// STUB: generate command
#include "commands.h"

namespace HostProgram {
int runGenerate(const QStringList &) { return JobFailed; }
} // namespace HostProgram
