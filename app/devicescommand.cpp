#include "commands.h"

#include <devicedb.h>
#include <idecore.h>

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

int runDevices(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the device database: part-number id, a tab, device name."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        QTextStream(stderr) << "ipcore-host devices: " << parser.errorText() << '\n';
        return BadUsage;
    }
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return Success;
    }
    if (!parser.positionalArguments().isEmpty()) {
        QTextStream(stderr) << "ipcore-host devices: unexpected argument '"
                            << parser.positionalArguments().first() << "'\n";
        return BadUsage;
    }

    const QList<DEV::DeviceArg> devices = Core::IdeCore::deviceDataBase()->devices();
    if (devices.isEmpty()) {
        QTextStream(stderr) << "ipcore-host devices: :/devices/devices.json: the device database "
                               "is empty or unreadable\n";
        return JobFailed;
    }
    QTextStream out(stdout);
    for (const DEV::DeviceArg &device : devices)
        out << device.id() << '\t' << device.device() << '\n';
    return Success;
}

} // namespace HostProgram
