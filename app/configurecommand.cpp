// STUB: configure command
#include "commands.h"

namespace HostProgram {
int runConfigure(const QStringList &) { return JobFailed; }
} // namespace HostProgram

namespace HostProgram {
bool needsWidgets(const QString &command, const QStringList &)
{
    return command == QLatin1String("configure");
}
} // namespace HostProgram
