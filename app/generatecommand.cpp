#include "commands.h"
#include "commandsupport.h"
#include "corefileoutput.h"
#include "linkparameters.h"
#include "transportfiles.h"

#include <baseprotocol.h>
#include <design/designfile.h>
#include <devicedb.h>
#include <linkrecord.h>
#include <serdes.h>
#include <services/coregeneration.h>
#include <services/safefile.h>

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
    QVector<HostFile> around;                     // --with-template
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
    const QCommandLineOption deviceOption =
        HostProgram::deviceOption(QStringLiteral(" instead of the set's \"target_device\"."));
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
    const QCommandLineOption templateOption(
        QStringLiteral("with-template"),
        QStringLiteral("Also write the instantiation template and the timing constraints "
                       "beside the core, in the same batch."));
    const QCommandLineOption transportOption(
        QStringLiteral("with-transport"),
        QStringLiteral("Also write the transport modules for the mode --m, --s, --np (--n, --cs, "
                       "--cf) give, to DIR/<file>/transport, in the same batch."));
    parser.addOptions({workdirOption, deviceOption, designOption, synthesisOption, asIsOption,
                       templateOption, transportOption});
    addTransportModeOptions(parser);
    if (!command.parseWithParameterFile(arguments, &options->params, exitCode))
        return false;
    QString error;
    if ((parser.isSet(transportOption) &&
         !transportFilesOf(parser, command.parameterFile(), options->params, &options->transport,
                           &error)) ||
        (parser.isSet(templateOption) &&
         !coreTemplateFiles(command.parameterFile(), options->params, &options->around, &error))) {
        *exitCode = command.fail(BadUsage, error);
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

// Loads the design's global data and checks that it fits the core's device.
bool prepare(const CommandLine &command, const GenerateOptions &options, int *exitCode)
{
    QString error;
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
    return true;
}

// One warning line per JESD204B rule the set breaks; the core is generated as asked all the same.
void printLinkWarnings(const QString &setPath, const IPSERDESIP::ParameterMap &params)
{
    QString error;
    const std::optional<IPJESD204B::LinkRecord> record =
        IPJESD204B::readLinkRecord(setPath, &error);
    QTextStream err(stderr);
    if (!error.isEmpty())
        err << "warning: " << error << '\n';
    for (const QString &problem : storedLinkProblems(params, record))
        err << "warning: " << problem << '\n';
}

// Stages the instantiation template, the constraints and the transport modules asked for.
bool stageAroundCore(const QString &workdir, const GenerateOptions &options,
                     HostFiles::WriteBatch &files, QString *error)
{
    const HostFiles::GenerationScope scope(files, workdir);
    const QString folder = coreFolder(workdir, options.params);
    if (!options.around.isEmpty() && !stageHostFiles(folder, options.around)) {
        *error = QStringLiteral("cannot write into ") + folder;
        return false;
    }
    if (!options.transport.isEmpty() &&
        !stageTransportFiles(transportFolder(workdir, options.params), options.transport, error)) {
        *error = QStringLiteral("cannot write: ") + *error;
        return false;
    }
    return true;
}

// Generates and commits the files through the host's one door and prints the module options.
int generate(const CommandLine &command, const GenerateOptions &options,
             IPSERDESIP::BaseProtocol *protocol)
{
    IPCore::CoreRequest request;
    request.params = options.params;
    request.device = options.device;
    request.workdir = QDir::cleanPath(QDir::current().absoluteFilePath(options.workdir));
    request.valueRules = !options.asIs;
    request.synthesis = options.synthesis;
    // Files around the core join the same batch before it is committed.
    const bool extra = !options.around.isEmpty() || !options.transport.isEmpty();
    request.commit = !extra;
    HostFiles::WriteBatch files;
    IPCore::GeneratedCore core;
    QString error;
    switch (IPCore::generateCore(*protocol, request, files, &core, &error)) {
    case IPCore::CoreOutcome::Refused:
        return command.fail(BadUsage, command.parameterFile() + QStringLiteral(": ") + error);
    case IPCore::CoreOutcome::Failed:
        return command.fail(JobFailed, options.params.isEmpty()
                                           ? command.parameterFile() + QStringLiteral(": ") + error
                                           : error);
    case IPCore::CoreOutcome::Generated:
        break;
    }
    if (extra && !stageAroundCore(request.workdir, options, files, &error))
        return command.fail(JobFailed, error);
    QString reason;
    if (extra && !files.commit(&reason))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + reason);
    QTextStream out(stdout);
    for (const QString &line : core.moduleOptions)
        out << line << '\n';
    printLinkWarnings(command.parameterFile(), options.params);
    if (options.synthesis)
        QTextStream(stderr) << core.message << '\n';
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
    if (!protocol || !prepare(command, options, &exitCode))
        return exitCode;
    return generate(command, options, protocol);
}

} // namespace HostProgram
