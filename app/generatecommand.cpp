#include "commands.h"
#include "commandsupport.h"
#include "parametergate.h"
#include "reportcapture.h"
#include "transportfiles.h"

#include <baseprotocol.h>
#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <safefile.h>
#include <serdes.h>

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace HostProgram {

namespace {

struct GenerateOptions
{
    IPSERDESIP::ParameterMap params;
    DEV::DeviceArg device; // null: the set's "target_device"
    bool hasDesign = false;
    QString designPath;
    QString workdir;
    bool synthesis = false;
    bool asIs = false;
    QVector<IPJESD204B::TransportFile> transport; // --with-transport
};

// Parses the options and reads the parameter set and the device: every input is checked
// before anything is loaded or written. False with *exitCode set.
bool parseOptions(CommandLine &command, const QStringList &arguments, GenerateOptions *options,
                  int *exitCode)
{
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
    const QCommandLineOption asIsOption(
        QStringLiteral("as-is"),
        QStringLiteral("Generate a stored set as it is, without the dialog's value rules (the "
                       "safety rules still apply)."));
    const QCommandLineOption transportOption(
        QStringLiteral("with-transport"),
        QStringLiteral("Also write the transport modules for the mode --m, --s, --np (--n, --cs, "
                       "--cf) give, to DIR/<file>/transport."));
    parser.addOptions(
        {workdirOption, deviceOption, designOption, synthesisOption, asIsOption, transportOption});
    addTransportModeOptions(parser);
    if (!command.parseWithParameterFile(arguments, &options->params, exitCode))
        return false;
    QString transportError;
    if (parser.isSet(transportOption) &&
        !transportFilesOf(parser, options->params, &options->transport, &transportError)) {
        *exitCode = command.fail(BadUsage, transportError);
        return false;
    }
    if (parser.isSet(deviceOption)) {
        const QString wanted = parser.value(deviceOption);
        options->device = lookUpDevice(wanted);
        if (options->device.isNull()) {
            *exitCode = command.fail(
                BadUsage, QStringLiteral("device '%1' is not in the device database").arg(wanted));
            return false;
        }
    }
    options->hasDesign = parser.isSet(designOption);
    options->designPath = parser.value(designOption);
    options->workdir =
        parser.isSet(workdirOption) ? parser.value(workdirOption) : QDir::currentPath();
    options->synthesis = parser.isSet(synthesisOption);
    options->asIs = parser.isSet(asIsOption);
    return true;
}

// Loads the design's global data and sets the working directory and the device.
bool prepare(const CommandLine &command, const GenerateOptions &options,
             IPSERDESIP::BaseProtocol *protocol, int *exitCode)
{
    QString error;
    if (!admitParameterSet(command, protocol, options.params, options.device,
                           options.asIs ? SetRules::AsIs : SetRules::All, exitCode))
        return false;
    if (options.hasDesign && !IPSERDESIP::DesignFile::load(options.designPath, &error)) {
        *exitCode = command.fail(BadUsage, error);
        return false;
    }
    // A design made for another chip says nothing about this core's.
    const DEV::DeviceArg core =
        options.device.isNull()
            ? lookUpDevice(options.params.value(QStringLiteral("target_device")).toString())
            : options.device;
    const DEV::DeviceArg designed = IPSERDESIP::serdes::instance()->device();
    if (options.hasDesign && !options.asIs && !designed.isNull() && designed != core) {
        *exitCode =
            command.fail(BadUsage, QStringLiteral("%1 is a design for %2, the core targets %3")
                                       .arg(options.designPath, designed.id(), core.id()));
        return false;
    }
    IPSERDESIP::serdes::instance()->setWorkingDir(
        QDir::cleanPath(QDir::current().absoluteFilePath(options.workdir)));
    if (!options.device.isNull())
        protocol->setDevice(options.device);
    return true;
}

// Generates the files and prints the module options.
int generate(const CommandLine &command, const GenerateOptions &options,
             IPSERDESIP::BaseProtocol *protocol)
{
    const IPSERDESIP::ParameterMap &params = options.params;
    QStringList iniLines;
    QStringList reserved;
    QStringList moduleOptions;
    QString message;
    // All files of the run are staged below the working directory and committed together
    // under the lock of their folder, so the folder holds one run's files whatever fails.
    // Failures reach the sink; the command ends in one line that says why.
    HostFiles::WriteBatch files;
    const HostFiles::GenerationScope scope(files, IPSERDESIP::serdes::instance()->workingDir());
    const ReportCapture reports;
    if (!protocol->generate(params, iniLines, reserved, moduleOptions, message,
                            options.synthesis)) {
        if (!reports.isEmpty())
            return command.fail(JobFailed, reports.first());
        if (params.isEmpty())
            return command.fail(JobFailed,
                                command.parameterFile() +
                                    QStringLiteral(": the parameter set is empty; nothing "
                                                   "was generated"));
        const QString where = IPSERDESIP::serdes::instance()->workingDir() + QLatin1Char('/') +
                              params.value(QStringLiteral("file")).toString() +
                              QStringLiteral("/temp/jesd204b");
        return command.fail(JobFailed, message.isEmpty()
                                           ? QStringLiteral("generation into %1 failed").arg(where)
                                           : message);
    }

    QString reason;
    if (!options.transport.isEmpty() &&
        !stageTransportFiles(transportFolder(IPSERDESIP::serdes::instance()->workingDir(), params),
                             options.transport, &reason))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + reason);
    if (!files.commit(&reason))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + reason);
    QTextStream out(stdout);
    for (const QString &line : moduleOptions)
        out << line << '\n';
    if (options.synthesis)
        QTextStream(stderr) << message << '\n';
    return Success;
}

} // namespace

int runGenerate(const QStringList &arguments)
{
    CommandLine command(QStringLiteral("generate"),
                        QStringLiteral("Generates a core's define headers and SERDES record from "
                                       "a parameter set and prints its module options."));
    GenerateOptions options;
    int exitCode = Success;
    if (!parseOptions(command, arguments, &options, &exitCode))
        return exitCode;

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol || !prepare(command, options, protocol, &exitCode))
        return exitCode;
    return generate(command, options, protocol);
}

} // namespace HostProgram
