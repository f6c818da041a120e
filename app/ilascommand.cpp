#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"

#include <ilascompare.h>
#include <linkplan.h>
#include <linkrecord.h>
#include <linkreport.h>
#include <services/inputfile.h>

#include <QFileInfo>
#include <QTextStream>

namespace HostProgram {

namespace {

using IPJESD204B::IlasOctets;
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

// The received octets of --compare: a file with one line per lane, or the octets themselves.
// False with *error when a line does not read as 14 octets.
bool readReceived(const QString &argument, QVector<IlasOctets> *lanes, QString *error)
{
    QStringList lines{argument};
    if (QFileInfo::exists(argument)) {
        QByteArray bytes;
        QString reason;
        if (!IPSERDESIP::readInputFile(argument, &bytes, &reason)) {
            *error = QStringLiteral("%1: %2").arg(argument, reason);
            return false;
        }
        lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        const std::optional<IlasOctets> octets = IPJESD204B::ilasOctetsFromText(line);
        if (!octets) {
            *error = QStringLiteral("'%1' is not 14 octets in hex").arg(line.trimmed());
            return false;
        }
        lanes->append(*octets);
    }
    if (lanes->isEmpty())
        *error = QStringLiteral("%1 holds no octets").arg(argument);
    return !lanes->isEmpty();
}

// One line per difference, "lane N: ...", or "lane N: matches"; true when every lane matches.
// A single line compares with the lane its LID names, when the link has that lane.
bool printComparison(const QVector<IPJESD204B::LaneIlas> &expected,
                     const QVector<IlasOctets> &received)
{
    QTextStream out(stdout);
    bool allMatch = true;
    for (int i = 0; i < received.size(); ++i) {
        int lane = i;
        const int lid = received.at(i)[2] & 0x1F;
        if (received.size() == 1 && lid < expected.size())
            lane = lid;
        const QStringList differences =
            IPJESD204B::ilasDifferences(expected.at(lane).octets, received.at(i));
        for (const QString &difference : differences)
            out << "lane " << expected.at(lane).lane << ": " << difference << '\n';
        if (differences.isEmpty())
            out << "lane " << expected.at(lane).lane << ": matches\n";
        allMatch = allMatch && differences.isEmpty();
    }
    return allMatch;
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
                       "JESD204B rule exits 1 with one line per rule. With --compare, names "
                       "every field a received configuration has otherwise and exits 1 unless "
                       "all match."));
    for (const ModeOption &option : converterOptions())
        command.parser().addOption({QString::fromLatin1(option.name),
                                    QString::fromLatin1(option.description), QStringLiteral("N")});
    command.parser().addOption({QStringLiteral("hd"),
                                QStringLiteral("High density (HD); derived when not given."),
                                QStringLiteral("0|1")});
    const QCommandLineOption compareOption(
        QStringLiteral("compare"),
        QStringLiteral("Received configuration: 14 hex octets, or a file with one line of 14 "
                       "octets per lane."),
        QStringLiteral("OCTETS"));
    command.parser().addOption(compareOption);
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
    if (parser.isSet(compareOption)) {
        QVector<IlasOctets> received;
        if (!readReceived(parser.value(compareOption), &received, &error))
            return command.fail(BadUsage, error);
        if (received.size() > plan.ilas.size())
            return command.fail(BadUsage, QStringLiteral("%1 lines of octets for %2 lanes")
                                              .arg(received.size())
                                              .arg(plan.ilas.size()));
        return printComparison(plan.ilas, received) ? Success : JobFailed;
    }
    QTextStream out(stdout);
    for (const QString &line : IPJESD204B::linkPlanReport(plan)) {
        if (line.startsWith(QLatin1String("ILAS ")))
            out << line << '\n';
    }
    return Success;
}

} // namespace HostProgram
