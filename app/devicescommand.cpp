#include "commandsupport.h"

#include <devicedb.h>
#include <idecore.h>

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

int runDevices(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("devices"),
        QStringLiteral("Lists the device database: part-number id, a tab, device name."));
    int exitCode = Success;
    if (!command.parse(arguments, &exitCode))
        return exitCode;

    const QList<DEV::DeviceArg> devices = Core::IdeCore::deviceDataBase()->devices();
    if (devices.isEmpty()) {
        return command.fail(JobFailed, QStringLiteral(":/devices/devices.json: the device "
                                                      "database is empty or unreadable"));
    }
    QTextStream out(stdout);
    for (const DEV::DeviceArg &device : devices)
        out << device.id() << '\t' << device.device() << '\n';
    return Success;
}

} // namespace HostProgram
