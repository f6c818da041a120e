#include "commands.h"
#include "commandsupport.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <idecore.h>

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

namespace {

void printProtocol(QTextStream &out, const IPSERDESIP::BaseProtocol &protocol,
                   const DEV::DeviceArg &device)
{
    out << "id:         " << protocol.id() << '\n'
        << "name:       " << protocol.name() << '\n'
        << "version:    " << protocol.version() << '\n'
        << "categories: " << protocol.category().join(QStringLiteral(", ")) << '\n'
        << "summary:    " << protocol.summary() << '\n';
    if (!device.isNull()) {
        out << "device:     " << device.device() << ' '
            << (protocol.isSupported(device) ? "supported" : "not supported") << '\n';
    }
}

} // namespace

int runList(const QStringList &arguments)
{
    CommandLine command(QStringLiteral("list"),
                        QStringLiteral("Lists the IP cores of the protocol plug-ins."));
    const QCommandLineOption deviceOption =
        HostProgram::deviceOption(QStringLiteral(": also tell whether each core supports it."));
    command.addPluginDirOption();
    command.parser().addOption(deviceOption);
    int exitCode = Success;
    if (!command.parse(arguments, &exitCode))
        return exitCode;

    DEV::DeviceArg device;
    if (command.parser().isSet(deviceOption)) {
        const QString wanted = command.parser().value(deviceOption);
        device = lookUpDevice(wanted);
        if (device.isNull())
            return command.fail(BadUsage, QStringLiteral("device '%1' is not in the device "
                                                         "database")
                                              .arg(wanted));
    }

    QString error;
    const PluginSet plugins = loadPlugins(command.pluginDir(), &error);
    if (plugins.status() == PluginSet::Status::NoDirectory)
        return command.fail(BadUsage, error);
    if (plugins.status() == PluginSet::Status::NoPlugin)
        return command.fail(JobFailed, error);
    command.warn(plugins.duplicates());
    if (plugins.protocols().empty()) {
        const PluginSet::Library &without = *plugins.firstWithoutCore();
        return command.fail(JobFailed,
                            QStringLiteral("%1: the plug-in offers no IP core%2")
                                .arg(without.file, without.error.isEmpty()
                                                       ? QString()
                                                       : QStringLiteral(": ") + without.error));
    }

    QTextStream out(stdout);
    bool first = true;
    for (const auto &protocol : plugins.protocols()) {
        if (!first)
            out << '\n';
        first = false;
        printProtocol(out, *protocol, device);
    }
    return Success;
}

} // namespace HostProgram
