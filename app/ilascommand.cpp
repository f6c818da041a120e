#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"

#include <linkplan.h>
#include <linkreport.h>

#include <QTextStream>

namespace HostProgram {

namespace {

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

} // namespace

int runIlas(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("ilas"),
        QStringLiteral("Prints the ILAS link configuration octets of every lane of a stored "
                       "core: L, F, K and scrambling from the set, the converter's values from "
                       "the options. A value that breaks a JESD204B rule exits 1 with one line "
                       "per rule."));
    for (const ModeOption &option : modeOptions())
        command.parser().addOption({QString::fromLatin1(option.name),
                                    QString::fromLatin1(option.description), QStringLiteral("N")});
    command.parser().addOption({QStringLiteral("hd"),
                                QStringLiteral("High density (HD); derived when not given."),
                                QStringLiteral("0|1")});
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
    QTextStream out(stdout);
    for (const QString &line : IPJESD204B::linkPlanReport(plan)) {
        if (line.startsWith(QLatin1String("ILAS ")))
            out << line << '\n';
    }
    return Success;
}

} // namespace HostProgram
