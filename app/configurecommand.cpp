#include "commands.h"
#include "commandsupport.h"
#include "dialogdriver.h"
#include "dialogsnapshot.h"

#include <baseprotocol.h>
#include <designfile.h>
#include <devicedb.h>
#include <idecore.h>
#include <message.h>
#include <serdes.h>

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace HostProgram {

namespace {

struct ConfigureOptions
{
    QString deviceWanted;
    QString editPath;
    QString outputPath;
    QString designPath;
    QString projectDir;
    QString snapshotDir;
    QString name;
    bool batch = false;
    bool calculate = false;
    QMessageBox::StandardButton answer = QMessageBox::No;
};

// Parses and cross-checks the options. False when the command should stop with *exitCode.
bool parseOptions(CommandLine &command, const QStringList &arguments, ConfigureOptions *options,
                  int *exitCode)
{
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QStringLiteral("Target device (part-number id or device name); default: the design's "
                       "device, or the edited set's \"target_device\"."),
        QStringLiteral("ID"));
    const QCommandLineOption edit(QStringLiteral("edit"),
                                  QStringLiteral("Open a stored parameter set instead of a new "
                                                 "core."),
                                  QStringLiteral("PARAMS.json"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Write the accepted parameter set here."),
                                    QStringLiteral("OUT.json"));
    const QCommandLineOption design(
        QStringLiteral("design"),
        QStringLiteral("Design the core joins: loaded first, and the accepted core is added "
                       "to it."),
        QStringLiteral("DESIGN.json"));
    const QCommandLineOption project(QStringLiteral("project-dir"),
                                     QStringLiteral("Project directory (default: the current "
                                                    "directory)."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption name(QStringLiteral("name"),
                                  QStringLiteral("File name of a new core (the module name "
                                                 "follows it)."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption snapshot(
        QStringLiteral("snapshot"),
        QStringLiteral("Headless: render every tab of the opened dialog to DIR and describe its "
                       "widgets in DIR/dialog.json; nothing is configured."),
        QStringLiteral("DIR"));
    const QCommandLineOption batch(
        QStringLiteral("batch"),
        QStringLiteral("Headless: press OK without showing the dialog; messages go to standard "
                       "error as \"Title: text\"."));
    const QCommandLineOption calculate(QStringLiteral("calculate"),
                                       QStringLiteral("With --batch: press Calculate instead "
                                                      "of OK."));
    const QCommandLineOption answer(QStringLiteral("answer"),
                                    QStringLiteral("With --batch: answer questions yes or no "
                                                   "(default no)."),
                                    QStringLiteral("yes|no"));
    parser.addOptions(
        {device, edit, output, design, project, name, snapshot, batch, calculate, answer});
    command.addPluginDirOption();
    if (!command.parse(arguments, exitCode))
        return false;
    const auto refuse = [&command, exitCode](const QString &problem) {
        *exitCode = command.fail(BadUsage, problem);
        return false;
    };

    options->deviceWanted = parser.value(device);
    options->editPath = parser.value(edit);
    options->outputPath = parser.value(output);
    options->designPath = parser.value(design);
    options->projectDir = parser.isSet(project) ? parser.value(project) : QDir::currentPath();
    options->snapshotDir = parser.value(snapshot);
    options->name = parser.value(name);
    options->batch = parser.isSet(batch);
    options->calculate = parser.isSet(calculate);

    if (options->batch && parser.isSet(snapshot))
        return refuse(QStringLiteral("--batch and --snapshot exclude each other"));
    if (!options->batch && (options->calculate || parser.isSet(answer)))
        return refuse(QStringLiteral("--calculate and --answer need --batch"));
    if (parser.isSet(snapshot) && (parser.isSet(output) || parser.isSet(design)))
        return refuse(QStringLiteral("--snapshot configures nothing: --output and --design do "
                                     "not apply"));
    if (parser.isSet(edit) && parser.isSet(name))
        return refuse(
            QStringLiteral("--name names a new core; an edited core keeps its file name"));
    if (parser.isSet(answer)) {
        const QString value = parser.value(answer);
        if (value == QLatin1String("yes"))
            options->answer = QMessageBox::Yes;
        else if (value != QLatin1String("no"))
            return refuse(QStringLiteral("--answer takes yes or no, not '%1'").arg(value));
    }
    return true;
}

// A core being edited gives up what its earlier configuration holds in the design, so that its
// own lanes, PLLs and DRP record do not count against it.
void releaseEditedCore(const IPSERDESIP::ParameterMap &stored)
{
    const QString module = stored.value(QStringLiteral("module")).toString();
    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->removeInstance(stored.value(QStringLiteral("file")).toString() + QLatin1Char(':') +
                          module);
    model->removeData(QStringLiteral("jesd204bCheckDRP_") + module);
}

bool writeResult(const ConfigureOptions &options, const IPSERDESIP::ParameterMap &result,
                 QString *error)
{
    if (!options.outputPath.isEmpty())
        return writeParameterFile(options.outputPath, result, error);
    QJsonObject object;
    if (!parameterSetToJson(result, &object, error))
        return false;
    QTextStream(stdout) << QJsonDocument(object).toJson(QJsonDocument::Indented);
    return true;
}

} // namespace

int runConfigure(const QStringList &arguments)
{
    CommandLine command(QStringLiteral("configure"),
                        QStringLiteral("Configures a core in its dialog and writes the accepted "
                                       "parameter set as JSON (standard output without "
                                       "--output)."));
    ConfigureOptions options;
    int exitCode = Success;
    if (!parseOptions(command, arguments, &options, &exitCode))
        return exitCode;

    const bool headless = options.batch || !options.snapshotDir.isEmpty();
    const QString platform = QGuiApplication::platformName();
    if (!headless &&
        (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
        return command.fail(BadUsage,
                            QStringLiteral("no display to show the dialog on; use --batch "
                                           "or --snapshot"));

    // Every input is checked before anything is loaded or written.
    QString error;
    IPSERDESIP::ParameterMap stored;
    // The core's dialog judges a stored set's version itself, with its own message.
    if (!options.editPath.isEmpty() &&
        !readParameterFile(options.editPath, &stored, &error, VersionCheck::LeaveToCore))
        return command.fail(BadUsage, error);
    DEV::DeviceArg device;
    if (!options.deviceWanted.isEmpty()) {
        device = lookUpDevice(options.deviceWanted);
        if (device.isNull())
            return command.fail(BadUsage,
                                QStringLiteral("device '%1' is not in the device database")
                                    .arg(options.deviceWanted));
    } else if (!options.editPath.isEmpty()) {
        const QString storedDevice = stored.value(QStringLiteral("target_device")).toString();
        device = lookUpDevice(storedDevice);
        if (device.isNull() && !storedDevice.isEmpty() && options.designPath.isEmpty())
            return command.fail(BadUsage,
                                QStringLiteral("%1: device '%2' is not in the device database; "
                                               "give --device ID")
                                    .arg(options.editPath, storedDevice));
    }

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol)
        return exitCode;

    IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
    model->reset();
    if (!device.isNull())
        model->setDevice(device);
    if (!options.designPath.isEmpty()) {
        if (!IPSERDESIP::DesignFile::load(options.designPath, &error))
            return command.fail(BadUsage, error);
        if (!device.isNull() && model->device() != device)
            return command.fail(BadUsage,
                                QStringLiteral("%1: the design is for %2, not %3")
                                    .arg(options.designPath, model->device().id(), device.id()));
        device = model->device();
    }
    if (device.isNull())
        return command.fail(BadUsage, QStringLiteral("no device: give --device ID (see ipcore-host "
                                                     "devices)"));
    if (!options.editPath.isEmpty()) {
        stored.insert(QStringLiteral("target_device"), device.id());
        releaseEditedCore(stored);
    }
    Core::IdeCore::setProjectDirectory(
        QDir::cleanPath(QDir::current().absoluteFilePath(options.projectDir)));

    std::unique_ptr<DialogDriver> driver;
    QString snapshotError;
    if (!options.snapshotDir.isEmpty()) {
        const QString dir = options.snapshotDir;
        driver = std::make_unique<DialogDriver>(
            DialogDriver::Action::Inspect, options.answer,
            [dir, &snapshotError](IPSERDESIP::protocolGenDlg *dialog) {
                return writeDialogSnapshot(dialog, dir, &snapshotError);
            });
    } else if (options.batch) {
        driver = std::make_unique<DialogDriver>(options.calculate ? DialogDriver::Action::Calculate
                                                                  : DialogDriver::Action::Accept,
                                                options.answer);
    }

    const IPSERDESIP::ParameterMap result = options.editPath.isEmpty()
                                                ? protocol->create(options.name, device)
                                                : protocol->edit(stored);

    if (!options.snapshotDir.isEmpty()) {
        if (!driver->dialogSeen())
            return command.fail(JobFailed, QStringLiteral("the dialog did not open"));
        if (!driver->succeeded())
            return command.fail(JobFailed, snapshotError);
        return Success;
    }
    if (result.isEmpty())
        return command.fail(JobFailed, driver && !driver->dialogSeen()
                                           ? QStringLiteral("the dialog did not open")
                                           : QStringLiteral("nothing configured"));

    if (!options.designPath.isEmpty()) {
        const std::unique_ptr<IPSERDESIP::Message> report(protocol->resources(result));
        if (!IPSERDESIP::DesignFile::addInstance(options.designPath, *report, &error))
            return command.fail(JobFailed, error);
    }
    if (!writeResult(options, result, &error))
        return command.fail(JobFailed, error);
    return Success;
}

// The configuration dialog needs widgets. Without a display configure runs on the offscreen
// platform, which has to be chosen before the application object exists: the headless modes
// work there, and an interactive run is refused with a message instead of aborting.
bool needsWidgets(const QString &command, const QStringList &)
{
    if (command != QLatin1String("configure"))
        return false;
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

} // namespace HostProgram
