#include "commands.h"
#include "commandsupport.h"

#include <baseprotocol.h>
#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <serdes.h>

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

int runGenerate(const QStringList &arguments)
{
    CommandLine command(QStringLiteral("generate"),
                        QStringLiteral("Generates a core's define headers and SERDES record from "
                                       "a parameter set and prints its module options."));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption workdirOption(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory; files go to DIR/<file>/temp/jesd204b (default: the "
                       "current directory)."),
        QStringLiteral("DIR"));
    const QCommandLineOption deviceOption(
        QStringLiteral("device"),
        QStringLiteral("Target device (part-number id or device name) instead of the set's "
                       "\"target_device\"."),
        QStringLiteral("ID"));
    const QCommandLineOption designOption(
        QStringLiteral("design"),
        QStringLiteral("Design file whose global data (quad bias, global reset) applies."),
        QStringLiteral("DESIGN.json"));
    const QCommandLineOption synthesisOption(
        QStringLiteral("synthesis"),
        QStringLiteral("Run the host's synthesis step after writing the files."));
    parser.addOptions({workdirOption, deviceOption, designOption, synthesisOption});
    int exitCode = Success;
    // Every input is checked before anything is loaded or written.
    IPSERDESIP::ParameterMap params;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;

    QString error;
    DEV::DeviceArg device;
    if (parser.isSet(deviceOption)) {
        const QString wanted = parser.value(deviceOption);
        device = lookUpDevice(wanted);
        if (device.isNull())
            return command.fail(
                BadUsage, QStringLiteral("device '%1' is not in the device database").arg(wanted));
    }

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol)
        return exitCode;

    IPSERDESIP::serdes *serdes = IPSERDESIP::serdes::instance();
    if (parser.isSet(designOption) &&
        !IPSERDESIP::DesignFile::load(parser.value(designOption), &error))
        return command.fail(BadUsage, error);
    const QString workdir =
        parser.isSet(workdirOption) ? parser.value(workdirOption) : QDir::currentPath();
    serdes->setWorkingDir(QDir::cleanPath(QDir::current().absoluteFilePath(workdir)));
    if (!device.isNull())
        protocol->setDevice(device);

    QStringList iniLines;
    QStringList reserved;
    QStringList moduleOptions;
    QString message;
    const bool synthesis = parser.isSet(synthesisOption);
    if (!protocol->generate(params, iniLines, reserved, moduleOptions, message, synthesis)) {
        if (params.isEmpty())
            return command.fail(JobFailed,
                                command.parameterFile() +
                                    QStringLiteral(": the parameter set is empty; nothing "
                                                   "was generated"));
        const QString where = serdes->workingDir() + QLatin1Char('/') +
                              params.value(QStringLiteral("file")).toString() +
                              QStringLiteral("/temp/jesd204b");
        return command.fail(JobFailed, message.isEmpty()
                                           ? QStringLiteral("generation into %1 failed").arg(where)
                                           : message);
    }

    QTextStream out(stdout);
    for (const QString &line : moduleOptions)
        out << line << '\n';
    if (synthesis)
        QTextStream(stderr) << message << '\n';
    return Success;
}

} // namespace HostProgram
