#include "commands.h"
#include "parameterfile.h"
#include "pluginloader.h"

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

namespace {

int fail(int code, const QString &message)
{
    QTextStream(stderr) << "ipcore-host generate: " << message << '\n';
    return code;
}

} // namespace

int runGenerate(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Generates a core's define headers and SERDES record from a parameter set "
                       "and prints its module options."));
    const QCommandLineOption helpOption = parser.addHelpOption();
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
    const QCommandLineOption dirOption(QStringLiteral("plugin-dir"),
                                       QStringLiteral("Directory of the plug-ins."),
                                       QStringLiteral("DIR"), defaultPluginDir());
    parser.addOptions({workdirOption, deviceOption, designOption, synthesisOption, dirOption});
    parser.addPositionalArgument(QStringLiteral("PARAMS.json"),
                                 QStringLiteral("The parameter set."));

    if (!parser.parse(arguments))
        return fail(BadUsage, parser.errorText());
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return Success;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(BadUsage,
                    QStringLiteral("expected one parameter file, got %1").arg(positional.size()));

    // Every input is checked before anything is loaded or written.
    QString error;
    ParameterSet params;
    if (!readParameterFile(positional.first(), &params, &error))
        return fail(BadUsage, error);

    DEV::DeviceArg device;
    if (parser.isSet(deviceOption)) {
        const QString wanted = parser.value(deviceOption);
        const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
        device = db->findDevice(wanted);
        if (device.isNull())
            device = db->findDeviceByName(wanted);
        if (device.isNull())
            return fail(BadUsage,
                        QStringLiteral("device '%1' is not in the device database").arg(wanted));
    }

    const PluginSet plugins = loadPlugins(parser.value(dirOption), &error);
    if (plugins.status() == PluginSet::Status::NoDirectory)
        return fail(BadUsage, error);
    if (plugins.status() != PluginSet::Status::Loaded)
        return fail(JobFailed, error);
    IPSERDESIP::BaseProtocol *protocol = plugins.jesd204b();
    if (!protocol)
        return fail(JobFailed, QStringLiteral("%1: no plug-in offers the %2 core")
                                   .arg(parser.value(dirOption), jesd204bId()));

    IPSERDESIP::serdes *serdes = IPSERDESIP::serdes::instance();
    if (parser.isSet(designOption) &&
        !IPSERDESIP::DesignFile::load(parser.value(designOption), &error))
        return fail(BadUsage, error);
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
            return fail(JobFailed,
                        positional.first() + QStringLiteral(": the parameter set is empty; nothing "
                                                            "was generated"));
        const QString where = serdes->workingDir() + QLatin1Char('/') +
                              params.value(QStringLiteral("file")).toString() +
                              QStringLiteral("/temp/jesd204b");
        return fail(JobFailed, message.isEmpty()
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
