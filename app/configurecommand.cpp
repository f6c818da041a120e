#include "commands.h"
#include "commandsupport.h"
#include "configureoptions.h"
#include "dialogdriver.h"
#include "dialogsnapshot.h"
#include "headlessmessages.h"
#include "linkparameters.h"

#include <baseprotocol.h>
#include <design/designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <linkrecord.h>
#include <serdes.h>
#include <services/coregeneration.h>
#include <services/message.h>
#include <services/parametercheck.h>
#include <services/safefile.h>
#include <services/verilognames.h>

#include <QDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace HostProgram {

namespace {

// The design's name of an edited core: "file:module" of its stored set.
QString storedInstanceName(const IPSERDESIP::ParameterMap &stored)
{
    return stored.value(QStringLiteral("file")).toString() + QLatin1Char(':') +
           stored.value(QStringLiteral("module")).toString();
}

// What the run starts from: the stored set of an edited core and the device.
struct ConfigureInputs
{
    IPSERDESIP::ParameterMap stored;
    DEV::DeviceArg device;
};

// The design and the output file are committed together: both are written or neither. An
// edited core takes the place of what its stored set held in the design. A set that goes to
// standard output is out before the design gets its core.
bool writeResult(const ConfigureOptions &options, const IPSERDESIP::ParameterMap &result,
                 const QString &replacing, const std::optional<IPJESD204B::LinkRecord> &record,
                 IPSERDESIP::BaseProtocol *protocol, HostFiles::WriteBatch &batch, QString *error)
{
    if (!options.designPath.isEmpty()) {
        const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(result));
        if (!IPSERDESIP::DesignFile::addInstance(options.designPath, *report, error, replacing,
                                                 &batch))
            return false;
    }
    if (options.outputPath.isEmpty()) {
        QJsonObject object;
        if (!parameterSetToJson(result, &object, error) ||
            !writeStandardOutput(QJsonDocument(object).toJson(QJsonDocument::Indented), error))
            return false;
    } else if (!writeParameterFile(options.outputPath, result, error, &batch)) {
        return false;
    }
    // The converter's mode travels with the set it was planned for.
    if (record && !options.outputPath.isEmpty() &&
        !batch.stage(HostFiles::fileTarget(IPJESD204B::linkRecordPath(options.outputPath)),
                     IPJESD204B::linkRecordBytes(*record), error))
        return false;
    QString reason;
    if (!batch.commit(&reason)) {
        *error = QStringLiteral("cannot write: ") + reason;
        return false;
    }
    return true;
}

// Refuses an interactive run without a display, reads the edited set and looks the device up:
// every input is checked before anything is loaded or written.
bool readInputs(const CommandLine &command, const ConfigureOptions &options,
                ConfigureInputs *inputs, int *exitCode)
{
    const auto refuse = [&command, exitCode](const QString &problem) {
        *exitCode = command.fail(BadUsage, problem);
        return false;
    };
    const bool headless = options.batch || !options.snapshotDir.isEmpty();
    const QString platform = QGuiApplication::platformName();
    if (!headless &&
        (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
        return refuse(QStringLiteral("no display to show the dialog on; use --batch "
                                     "or --snapshot"));

    QString error;
    // The core's dialog judges a stored set's version itself, with its own message.
    if (!options.editPath.isEmpty() &&
        !readParameterFile(options.editPath, &inputs->stored, &error, VersionCheck::LeaveToCore))
        return refuse(error);
    if (!options.deviceWanted.isEmpty()) {
        inputs->device = lookUpDevice(options.deviceWanted);
        if (inputs->device.isNull())
            return refuse(QStringLiteral("device '%1' is not in the device database")
                              .arg(options.deviceWanted));
    } else if (!options.editPath.isEmpty()) {
        const QString storedDevice =
            inputs->stored.value(QStringLiteral("target_device")).toString();
        inputs->device = lookUpDevice(storedDevice);
        if (inputs->device.isNull() && !storedDevice.isEmpty() && options.designPath.isEmpty())
            return refuse(QStringLiteral("%1: device '%2' is not in the device database; "
                                         "give --device ID")
                              .arg(options.editPath, storedDevice));
    }
    return true;
}

// Loads the design into the SERDES model, settles the device and the project directory, and
// lets an edited core give up what it held.
bool prepareDesign(const CommandLine &command, const ConfigureOptions &options,
                   ConfigureInputs *inputs, int *exitCode)
{
    const auto refuse = [&command, exitCode](const QString &problem) {
        *exitCode = command.fail(BadUsage, problem);
        return false;
    };
    DEV::DeviceArg &device = inputs->device;
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    if (!device.isNull())
        model->setDevice(device);
    if (!options.designPath.isEmpty()) {
        QString error;
        if (!IPSERDESIP::DesignFile::load(options.designPath, &error))
            return refuse(error);
        if (!device.isNull() && model->device() != device)
            return refuse(QStringLiteral("%1: the design is for %2, not %3")
                              .arg(options.designPath, model->device().id(), device.id()));
        device = model->device();
    }
    if (device.isNull())
        return refuse(QStringLiteral("no device: give --device ID (see ipcore-host devices)"));
    // A new core's module name must be free before the dialog opens: two modules of one name
    // would share a Verilog name and a DRP record.
    const QString module = IPSERDESIP::VerilogNames::moduleNameFromFileName(options.name);
    const QString holder = options.editPath.isEmpty() && !module.isEmpty()
                               ? model->moduleHolder(options.name + QLatin1Char(':') + module)
                               : QString();
    if (!holder.isEmpty())
        return refuse(QStringLiteral("%1: the design already holds a module named %2 (core %3); "
                                     "give --name another name")
                          .arg(options.designPath, module, holder));
    // An edited core gives up what its earlier configuration holds in the design, so that its
    // own lanes, PLLs and DRP record do not count against it.
    if (!options.editPath.isEmpty()) {
        inputs->stored.insert(QStringLiteral("target_device"), device.id());
        model->removeInstance(storedInstanceName(inputs->stored));
    }
    Core::IdeCore::setProjectDirectory(
        QDir::cleanPath(QDir::current().absoluteFilePath(options.projectDir)));
    return true;
}

// The headless driver of the dialog, or none for an interactive run.
std::unique_ptr<DialogDriver> makeDriver(const ConfigureOptions &options, QString *snapshotError)
{
    if (!options.snapshotDir.isEmpty()) {
        const QString dir = options.snapshotDir;
        return std::make_unique<DialogDriver>(
            DialogDriver::Action::Inspect, options.answer,
            [dir, snapshotError](IPSERDESIP::protocolGenDlg *dialog) {
                return writeDialogSnapshot(dialog, dir, snapshotError);
            });
    }
    if (options.batch)
        return std::make_unique<DialogDriver>(options.calculate ? DialogDriver::Action::Calculate
                                                                : DialogDriver::Action::Accept,
                                              options.answer);
    return nullptr;
}

// A headless run's message boxes, shown once the run succeeded; a failure is one line.
void printMessages(const DialogDriver *driver)
{
    if (!driver)
        return;
    for (const QString &line : driver->messages())
        QTextStream(stderr) << line << '\n';
}

QString storedSetProblem(IPSERDESIP::BaseProtocol *protocol, const ConfigureInputs &inputs)
{
    const auto *judge = IPSERDESIP::parameterCheckOf(protocol);
    return judge ? judge->parameterProblem(inputs.stored, inputs.device,
                                           IPSERDESIP::ParameterCheck::Rules::All)
                 : QString();
}

// Runs the dialog and stores what it accepted: in the design, and as the output file.
int configure(const CommandLine &command, const ConfigureOptions &options,
              const ConfigureInputs &inputs, IPSERDESIP::BaseProtocol *protocol)
{
    QString snapshotError;
    const std::unique_ptr<DialogDriver> driver = makeDriver(options, &snapshotError);
    // What the dialog writes below the project (its calculation's record) is staged and
    // committed with the design and the set, or dropped with them.
    HostFiles::WriteBatch files;
    IPCore::DialogRequest request;
    request.edit = !options.editPath.isEmpty();
    request.stored = inputs.stored;
    request.name = options.name;
    request.device = inputs.device;
    request.projectDir = Core::IdeCore::projectDirectory();
    const IPSERDESIP::ParameterMap result = IPCore::configureCore(*protocol, request, files);

    if (!options.snapshotDir.isEmpty()) {
        if (!driver->dialogSeen())
            return command.fail(JobFailed, QStringLiteral("the dialog did not open"));
        if (!driver->succeeded())
            return command.fail(JobFailed, snapshotError);
        printMessages(driver.get());
        return Success;
    }
    // A stored set the dialog refused without a word says why by the protocol's own rules.
    const bool silentRefusal = result.isEmpty() && !options.editPath.isEmpty() &&
                               !options.calculate && driver && driver->messages().isEmpty();
    const QString storedProblem = silentRefusal ? storedSetProblem(protocol, inputs) : QString();
    if (!storedProblem.isEmpty())
        return command.fail(
            BadUsage,
            QStringLiteral("nothing configured: %1: %2").arg(options.editPath, storedProblem));
    if (result.isEmpty()) {
        // What the dialog's boxes said is the reason, in the one line of the failure.
        QString reason = driver && !driver->dialogSeen() ? QStringLiteral("the dialog did not open")
                                                         : QStringLiteral("nothing configured");
        if (driver && !driver->messages().isEmpty())
            reason += QStringLiteral(": ") + driver->messages().join(QStringLiteral("; "));
        return command.fail(JobFailed, reason);
    }

    QString error;
    const std::optional<IPJESD204B::LinkRecord> record =
        options.editPath.isEmpty() ? std::nullopt
                                   : IPJESD204B::readLinkRecord(options.editPath, &error);
    if (!error.isEmpty())
        return command.fail(BadUsage, error);
    const QString replacing =
        options.editPath.isEmpty() ? QString() : storedInstanceName(inputs.stored);
    if (!writeResult(options, result, replacing, record, protocol, files, &error))
        return command.fail(JobFailed, error);
    printMessages(driver.get());
    // The dialog keeps its own rules; the link rules it does not judge are named here.
    if (options.batch) {
        for (const QString &problem : storedLinkProblems(result, record))
            QTextStream(stderr) << "warning: " << problem << '\n';
    }
    return Success;
}

} // namespace

int runConfigure(const QStringList &arguments)
{
    CommandLine command(QStringLiteral("configure"),
                        QStringLiteral("Configures a core in its dialog and writes the accepted "
                                       "parameter set as JSON (standard output without "
                                       "--output)."));
    ConfigureOptions options;
    ConfigureInputs inputs;
    int exitCode = Success;
    if (!parseConfigureOptions(command, arguments, &options, &exitCode) ||
        !command.refuseOutputOverInput(options.outputPath, {options.designPath}, &exitCode) ||
        !readInputs(command, options, &inputs, &exitCode))
        return exitCode;

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol || !prepareDesign(command, options, &inputs, &exitCode))
        return exitCode;
    return configure(command, options, inputs, protocol);
}

// The configuration dialog needs widgets. Without a display configure runs on the offscreen
// platform, which has to be chosen before the application object exists: the headless modes
// work there, and an interactive run is refused with a message instead of aborting.
bool needsWidgets(const QString &command, const QStringList & /*arguments*/)
{
    if (command != QLatin1String("configure"))
        return false;
    // A refusal is one line, also before any dialog: Qt's notes about the session stay out.
    quietPlatformMessages();
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

} // namespace HostProgram
