#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"

#include <linkplan.h>
#include <linkrecord.h>
#include <linkreport.h>

#include <QFileInfo>
#include <QTextStream>

namespace HostProgram {

namespace {

using IPJESD204B::LinkMode;
using IPJESD204B::LinkRecord;

// The converter's options ilas takes; L comes from the set.
QList<ModeOption> converterOptions()
{
    QList<ModeOption> options;
    for (const ModeOption &option : modeOptions()) {
        if (qstrcmp(option.name, "l") != 0)
            options << option;
    }
    return options;
}

// The record's values with the options' over them; false with *error for an unreadable one.
bool readRecord(const QCommandLineParser &parser, LinkRecord *record, QString *error)
{
    LinkMode mode;
    IPJESD204B::applyLinkRecord(*record, &mode);
    const bool resolutionGiven = parser.isSet(QStringLiteral("n"));
    for (const ModeOption &option : converterOptions()) {
        const QString name = QString::fromLatin1(option.name);
        if (parser.isSet(name) &&
            !readModeValue(option, parser.value(name), &(mode.*option.field), error))
            return false;
    }
    if (parser.isSet(QStringLiteral("hd"))) {
        int hd = 0;
        if (!readModeValue({"hd", "", 0, 1, nullptr}, parser.value(QStringLiteral("hd")), &hd,
                           error))
            return false;
        mode.highDensity = hd;
    }
    const int resolution = record->resolution;
    *record = IPJESD204B::linkRecordOf(mode);
    // N follows N' - CS unless the record or the options fix it.
    if (!resolutionGiven && resolution == 0)
        record->resolution = 0;
    return true;
}

} // namespace

int runIlas(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("ilas"),
        QStringLiteral("Prints the ILAS link configuration octets of every lane of a stored "
                       "core: L, F, K, scrambling and the lane rate from the set, the "
                       "converter's values from the link record beside it (SET.link.json, "
                       "written by plan --emit-set) or from the options, which take precedence. "
                       "Without a record --m and --np are required. A value that breaks a "
                       "JESD204B rule exits 1 with one line per rule."));
    for (const ModeOption &option : converterOptions())
        command.parser().addOption({QString::fromLatin1(option.name),
                                    QString::fromLatin1(option.description), QStringLiteral("N")});
    command.parser().addOption({QStringLiteral("hd"),
                                QStringLiteral("High density (HD); derived when not given."),
                                QStringLiteral("0|1")});
    IPSERDESIP::ParameterMap params;
    int exitCode = Success;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;
    QString error;
    const std::optional<LinkRecord> stored =
        IPJESD204B::readLinkRecord(command.parameterFile(), &error);
    if (!error.isEmpty())
        return command.fail(BadUsage, error);
    const QCommandLineParser &parser = command.parser();
    if (!stored) {
        for (const char *name : {"m", "np"}) {
            if (!parser.isSet(QLatin1String(name)))
                return command.fail(
                    BadUsage,
                    QStringLiteral("--%1 is required: no link record %2 beside the set")
                        .arg(QLatin1String(name),
                             QFileInfo(IPJESD204B::linkRecordPath(command.parameterFile()))
                                 .fileName()));
        }
    }
    LinkRecord record = stored.value_or(LinkRecord());
    if (!readRecord(parser, &record, &error))
        return command.fail(BadUsage, error);
    const StoredLink link = storedLinkOf(params);
    if (!link.link.laneRateMbps.isValid() || link.link.laneRateMbps.isZero())
        return command.fail(BadUsage, QStringLiteral("the set holds no lane rate (\"Line_Rate\")"));

    const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(storedLinkMode(link, record));
    if (!plan.isValid()) {
        for (const QString &rule : plan.errors)
            command.fail(JobFailed, rule);
        return JobFailed;
    }
    QTextStream out(stdout);
    for (const QString &line : IPJESD204B::linkPlanReport(plan)) {
        if (line.startsWith(QLatin1String("ILAS ")))
            out << line << '\n';
    }
    return Success;
}

} // namespace HostProgram
