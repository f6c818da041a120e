#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"

#include <ilascompare.h>
#include <inputfile.h>
#include <linkplan.h>
#include <linkreport.h>

#include <QFileInfo>
#include <QTextStream>

namespace HostProgram {

namespace {

using IPJESD204B::IlasOctets;
using IPJESD204B::LinkMode;

struct ModeOption
{
    const char *name;
    const char *description;
    bool required;
    int LinkMode::*field;
};

const QList<ModeOption> &modeOptions()
{
    static const QList<ModeOption> options{
        {"m", "Converters (M).", true, &LinkMode::converters},
        {"n", "Converter resolution (N).", true, &LinkMode::resolution},
        {"np", "Bits per sample (N').", true, &LinkMode::bitsPerSample},
        {"s", "Samples per converter per frame (S).", true, &LinkMode::samples},
        {"cs", "Control bits per sample (CS), default 0.", false, &LinkMode::controlBits},
        {"cf", "Control words per frame (CF), default 0.", false, &LinkMode::controlWords},
        {"did", "Device identity (DID), default 0.", false, &LinkMode::deviceId},
        {"bid", "Bank identity (BID), default 0.", false, &LinkMode::bankId},
        {"subclass", "Device subclass (SUBCLASSV), default 1.", false, &LinkMode::subclass},
    };
    return options;
}

// The mode's values from the options; false with *error for a missing or unreadable one.
bool readMode(const QCommandLineParser &parser, LinkMode *mode, QString *error)
{
    for (const ModeOption &option : modeOptions()) {
        const QString name = QString::fromLatin1(option.name);
        if (!parser.isSet(name)) {
            if (option.required) {
                *error = QStringLiteral("--%1 is required (--m, --n, --np and --s)").arg(name);
                return false;
            }
            continue;
        }
        bool ok = false;
        mode->*option.field = parser.value(name).toInt(&ok, 10);
        if (!ok) {
            *error =
                QStringLiteral("--%1 takes a whole number, not '%2'").arg(name, parser.value(name));
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("hd"))) {
        bool ok = false;
        mode->highDensity = parser.value(QStringLiteral("hd")).toInt(&ok, 10);
        if (!ok) {
            *error = QStringLiteral("--hd takes 0 or 1, not '%1'")
                         .arg(parser.value(QStringLiteral("hd")));
            return false;
        }
    }
    return true;
}

// The set's L, F, K and scrambling; the sample rate follows from its lane rate, so that the
// planner judges the whole link.
void applyStoredLink(const StoredLink &stored, LinkMode *mode)
{
    mode->lanes = stored.lanes;
    mode->octetsPerFrame = stored.link.octetsPerFrame;
    mode->framesPerMultiframe = stored.link.framesPerMultiframe;
    mode->scrambling = stored.scrambling;
    const long long bits = IPJESD204B::frameBits(*mode);
    if (stored.link.laneRateMbps.isValid() && bits > 0 && stored.lanes > 0 && mode->samples > 0)
        mode->sampleRateMsps =
            stored.link.laneRateMbps * (8LL * stored.lanes * mode->samples) / (10LL * bits);
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
                       "core: L, F, K and scrambling from the set, the converter's values from "
                       "the options. A value that breaks a JESD204B rule exits 1 with one line "
                       "per rule. With --compare, names every field a received configuration "
                       "has otherwise and exits 1 unless all match."));
    for (const ModeOption &option : modeOptions())
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
    LinkMode mode;
    QString error;
    if (!readMode(command.parser(), &mode, &error))
        return command.fail(BadUsage, error);
    applyStoredLink(storedLinkOf(params), &mode);

    const IPJESD204B::LinkPlan plan = IPJESD204B::planLink(mode);
    if (!plan.isValid()) {
        for (const QString &rule : plan.errors)
            command.fail(JobFailed, rule);
        return JobFailed;
    }
    if (command.parser().isSet(compareOption)) {
        QVector<IlasOctets> received;
        if (!readReceived(command.parser().value(compareOption), &received, &error))
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
