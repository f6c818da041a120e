#include "commands.h"
#include "pluginloader.h"

#include <baseprotocol.h>
#include <devicedb.h>
#include <idecore.h>

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

namespace {

int fail(int code, const QString &message)
{
    QTextStream(stderr) << "ipcore-host list: " << message << '\n';
    return code;
}

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
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lists the IP cores of the protocol plug-ins."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption dirOption(QStringLiteral("plugin-dir"),
                                       QStringLiteral("Directory of the plug-ins."),
                                       QStringLiteral("DIR"), defaultPluginDir());
    const QCommandLineOption deviceOption(
        QStringLiteral("device"),
        QStringLiteral("Also tell whether each core supports the device "
                       "(device name or part-number id)."),
        QStringLiteral("NAME"));
    parser.addOption(dirOption);
    parser.addOption(deviceOption);

    if (!parser.parse(arguments))
        return fail(BadUsage, parser.errorText());
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return Success;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(
            BadUsage,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    DEV::DeviceArg device;
    if (parser.isSet(deviceOption)) {
        const QString wanted = parser.value(deviceOption);
        const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
        device = db->findDeviceByName(wanted);
        if (device.isNull())
            device = db->findDevice(wanted);
        if (device.isNull())
            return fail(BadUsage,
                        QStringLiteral("device '%1' is not in the device database").arg(wanted));
    }

    QString error;
    const PluginSet plugins = loadPlugins(parser.value(dirOption), &error);
    if (plugins.status() == PluginSet::Status::NoDirectory)
        return fail(BadUsage, error);
    if (plugins.status() == PluginSet::Status::NoPlugin)
        return fail(JobFailed, error);
    if (plugins.protocols().empty()) {
        return fail(JobFailed, QStringLiteral("%1: the plug-in offers no IP core (its description "
                                              "file is missing or incomplete)")
                                   .arg(plugins.packages().front().file));
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
