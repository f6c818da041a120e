#include "configureoptions.h"

#include <QCommandLineParser>
#include <QDir>

namespace HostProgram {

namespace {

// The command's options, in the order --help lists them.
void addOptions(QCommandLineParser &parser)
{
    const QCommandLineOption device = deviceOption(
        QStringLiteral("; default: the design's device, or the edited set's \"target_device\"."));
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
                       "widgets in DIR/dialog.json; nothing is configured. With --design the "
                       "dialog opens as in that design, which stays unchanged."),
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
}

} // namespace

bool parseConfigureOptions(CommandLine &command, const QStringList &arguments,
                           ConfigureOptions *options, int *exitCode)
{
    QCommandLineParser &parser = command.parser();
    addOptions(parser);
    command.addPluginDirOption();
    if (!command.parse(arguments, exitCode))
        return false;
    const auto refuse = [&command, exitCode](const QString &problem) {
        *exitCode = command.fail(BadUsage, problem);
        return false;
    };
    const auto isSet = [&parser](const char *name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };

    options->deviceWanted = value("device");
    options->editPath = value("edit");
    options->outputPath = value("output");
    options->designPath = value("design");
    options->projectDir = isSet("project-dir") ? value("project-dir") : QDir::currentPath();
    options->snapshotDir = value("snapshot");
    options->name = value("name");
    options->batch = isSet("batch");
    options->calculate = isSet("calculate");

    if (options->batch && isSet("snapshot"))
        return refuse(QStringLiteral("--batch and --snapshot exclude each other"));
    if (!options->batch && (options->calculate || isSet("answer")))
        return refuse(QStringLiteral("--calculate and --answer need --batch"));
    if (isSet("snapshot") && isSet("output"))
        return refuse(QStringLiteral("--snapshot configures nothing: --output does not apply"));
    if (isSet("edit") && isSet("name"))
        return refuse(
            QStringLiteral("--name names a new core; an edited core keeps its file name"));
    if (isSet("answer")) {
        const QString answer = value("answer");
        if (answer == QLatin1String("yes"))
            options->answer = QMessageBox::Yes;
        else if (answer != QLatin1String("no"))
            return refuse(QStringLiteral("--answer takes yes or no, not '%1'").arg(answer));
    }
    return true;
}

} // namespace HostProgram
