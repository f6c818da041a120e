#include "simulateoptions.h"

#include "linkparameters.h"

#include <linkplan.h>
#include <linkrecord.h>
#include <parameterkeys.h>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>

#include <limits>
#include <vector>

namespace HostProgram {

namespace {

// Decimal, or hexadecimal with 0x.
bool parseInt(const QString &text, int min, int max, int *value)
{
    bool ok = false;
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qlonglong v = hex ? text.mid(2).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
    if (!ok || v < min || v > max)
        return false;
    *value = static_cast<int>(v);
    return true;
}

struct IntOption
{
    QCommandLineOption option;
    int min;
    int max;
    int *target;
};

std::vector<IntOption> runOptions(SimulateOptions *o)
{
    const int big = std::numeric_limits<int>::max() / 1024;
    return {
        {{QStringLiteral("frames"), QStringLiteral("Frames to check over the run (default 256)."),
          QStringLiteral("N")},
         1,
         big,
         &o->settings.frames},
        {{QStringLiteral("lane-skew"),
          QStringLiteral("The last lane lags lane 0 by OCTETS, the others in between (default 0)."),
          QStringLiteral("OCTETS")},
         0,
         65536,
         &o->settings.laneSkew},
        {{QStringLiteral("resyncs"),
          QStringLiteral("Re-synchronisations requested after link-up (default 0)."),
          QStringLiteral("R")},
         0,
         1000,
         &o->settings.resyncs},
        {{QStringLiteral("rbd"),
          QStringLiteral("Receive buffer delay: the lanes are released N frame clocks after the "
                         "LMFC boundary, 0..K-1 (default 0)."),
          QStringLiteral("N")},
         0,
         31,
         &o->settings.rbd},
        {{QStringLiteral("delay-variation"),
          QStringLiteral("At every re-synchronisation the common channel delay becomes a "
                         "pseudo-random 0..OCTETS from a fixed start value (needs --resyncs)."),
          QStringLiteral("OCTETS")},
         0,
         4096,
         &o->settings.delayVariation},
        {{QStringLiteral("tx-did"),
          QStringLiteral("The transmitting side sends device id DID in its ILAS instead of the "
                         "receiver's: the receiver refuses the ILAS and the run names the fields."),
          QStringLiteral("DID")},
         0,
         255,
         &o->settings.txDeviceId},
        {{QStringLiteral("inject-error"),
          QStringLiteral("Flip one bit on LANE once the link is up; the error must be counted "
                         "and the link come back."),
          QStringLiteral("LANE")},
         0,
         7,
         &o->settings.injectLane},
    };
}

bool parseSimulator(const QString &name, LinkSim::Simulator *simulator)
{
    if (name == QLatin1String("iverilog"))
        *simulator = LinkSim::Simulator::Icarus;
    else if (name == QLatin1String("verilator"))
        *simulator = LinkSim::Simulator::Verilator;
    else
        return false;
    return true;
}

bool parsePattern(const QString &name, LinkSim::TestPattern *pattern)
{
    if (name == QLatin1String("rpat"))
        *pattern = LinkSim::TestPattern::Rpat;
    else if (name == QLatin1String("jspat"))
        *pattern = LinkSim::TestPattern::Jspat;
    else
        return false;
    return true;
}

// The link parameter options; F, K and scrambling default to the set's.
std::vector<QCommandLineOption> linkOptions()
{
    std::vector<QCommandLineOption> options;
    for (const LinkSim::LinkField &field : LinkSim::linkFields())
        options.emplace_back(QLatin1String(field.option),
                             QStringLiteral("Link parameter: %1, %2..%3.")
                                 .arg(QLatin1String(field.help))
                                 .arg(field.min)
                                 .arg(field.max),
                             QStringLiteral("VALUE"));
    return options;
}

bool readLinkOptions(CommandLine &command, const std::vector<QCommandLineOption> &options,
                     SimulateOptions *o, int *exitCode)
{
    const QCommandLineParser &parser = command.parser();
    for (std::size_t i = 0; i < options.size(); ++i) {
        const LinkSim::LinkField &field = LinkSim::linkFields().at(i);
        if (!parser.isSet(options[i]))
            continue;
        int value = 0;
        if (!parseInt(parser.value(options[i]), field.min, field.max, &value)) {
            *exitCode = command.fail(BadUsage, QStringLiteral("--%1 takes %2..%3")
                                                   .arg(QLatin1String(field.option))
                                                   .arg(field.min)
                                                   .arg(field.max));
            return false;
        }
        o->settings.overrides.insert(QLatin1String(field.define), value);
    }
    return true;
}

bool readRunOptions(CommandLine &command, std::vector<IntOption> &ints, int *exitCode)
{
    const QCommandLineParser &parser = command.parser();
    for (IntOption &entry : ints) {
        if (parser.isSet(entry.option) &&
            !parseInt(parser.value(entry.option), entry.min, entry.max, entry.target)) {
            *exitCode = command.fail(BadUsage, QStringLiteral("--%1 takes %2..%3")
                                                   .arg(entry.option.names().first())
                                                   .arg(entry.min)
                                                   .arg(entry.max));
            return false;
        }
    }
    return true;
}

// The options that take a path or a name.
struct TextOptions
{
    QCommandLineOption workdir{
        QStringLiteral("workdir"),
        QStringLiteral("Working directory: the core goes to DIR/<file>/temp/jesd204b, the "
                       "simulation to DIR/<file>/sim (default: the current directory)."),
        QStringLiteral("DIR")};
    QCommandLineOption dump{QStringLiteral("dump-lanes"),
                            QStringLiteral("Write the transmitted code groups to FILE, one line "
                                           "per character time."),
                            QStringLiteral("FILE")};
    QCommandLineOption vcd{QStringLiteral("vcd"),
                           QStringLiteral("Write the testbench's signals to FILE (VCD)."),
                           QStringLiteral("FILE")};
    QCommandLineOption simulator{QStringLiteral("simulator"),
                                 QStringLiteral("iverilog (default) or verilator."),
                                 QStringLiteral("NAME"), QStringLiteral("iverilog")};
    QCommandLineOption pattern{
        QStringLiteral("test-pattern"),
        QStringLiteral("rpat or jspat: the transmitter sends the pattern and the testbench "
                       "checks it after the receiver; a transmitting core needs its generator. "
                       "JSPAT is the model's stand-in (zeros through the link scrambler), not "
                       "the standard's sequence."),
        QStringLiteral("NAME")};
    QCommandLineOption samples{
        QStringLiteral("samples"),
        QStringLiteral("Put the transport modules around the link: every converter sends its own "
                       "sequence of samples (and control bits), and every sample is checked.")};
    QCommandLineOption timeout{QStringLiteral("timeout"),
                               QStringLiteral("Stop the simulation after SECONDS (default 600)."),
                               QStringLiteral("SECONDS")};
};

bool readTextOptions(CommandLine &command, const TextOptions &t, SimulateOptions *o, int *exitCode)
{
    const QCommandLineParser &parser = command.parser();
    QString error;
    int seconds = 600;
    if (!parseSimulator(parser.value(t.simulator), &o->simulator))
        error = QStringLiteral("--simulator takes iverilog or verilator");
    else if (parser.isSet(t.pattern) &&
             !parsePattern(parser.value(t.pattern), &o->settings.pattern))
        error = QStringLiteral("--test-pattern takes rpat or jspat");
    else if (parser.isSet(t.timeout) && !parseInt(parser.value(t.timeout), 1, 86400, &seconds))
        error = QStringLiteral("--timeout takes 1..86400 seconds");
    if (!error.isEmpty()) {
        *exitCode = command.fail(BadUsage, error);
        return false;
    }
    o->timeoutMs = seconds * 1000;
    const QDir here = QDir::current();
    o->workdir = QDir::cleanPath(here.absoluteFilePath(
        parser.isSet(t.workdir) ? parser.value(t.workdir) : QStringLiteral(".")));
    if (parser.isSet(t.dump))
        o->dumpFile = here.absoluteFilePath(parser.value(t.dump));
    if (parser.isSet(t.vcd))
        o->vcdFile = here.absoluteFilePath(parser.value(t.vcd));
    o->settings.dumpLanes = !o->dumpFile.isEmpty();
    o->settings.vcd = !o->vcdFile.isEmpty();
    o->settings.samples = parser.isSet(t.samples);
    return true;
}

// The record's field under each testbench define the options may set.
struct RecordDefine
{
    const char *define;
    int IPJESD204B::LinkRecord::*field;
};

const QList<RecordDefine> &recordDefines()
{
    using IPJESD204B::LinkRecord;
    static const QList<RecordDefine> defines{
        {"M", &LinkRecord::converters},     {"N", &LinkRecord::resolution},
        {"NP", &LinkRecord::bitsPerSample}, {"S", &LinkRecord::samples},
        {"CS", &LinkRecord::controlBits},   {"CF", &LinkRecord::controlWords},
        {"DID", &LinkRecord::deviceId},     {"BID", &LinkRecord::bankId},
    };
    return defines;
}

// The set (with the options' F, K and scrambling) against the JESD204B rules, with the
// converter's mode from its link record under the options' values; the run then sends the
// mode the record holds.
bool checkLink(CommandLine &command, SimulateOptions *o, int *exitCode)
{
    QString error;
    std::optional<IPJESD204B::LinkRecord> record =
        IPJESD204B::readLinkRecord(command.parameterFile(), &error);
    if (!error.isEmpty()) {
        *exitCode = command.fail(BadUsage, error);
        return false;
    }
    QMap<QString, int> &overrides = o->settings.overrides;
    StoredLink stored = storedLinkOf(o->params);
    stored.link.octetsPerFrame = overrides.value(QStringLiteral("F"), stored.link.octetsPerFrame);
    stored.link.framesPerMultiframe =
        overrides.value(QStringLiteral("K"), stored.link.framesPerMultiframe);
    stored.scrambling = overrides.value(QStringLiteral("SCR"), stored.scrambling) != 0;
    const int k = stored.link.framesPerMultiframe;
    if (k > 0 && o->settings.rbd >= k) {
        *exitCode = command.fail(BadUsage, QStringLiteral("--rbd %1: K = %2 allows 0..%3 frame "
                                                          "clocks after the LMFC boundary")
                                               .arg(o->settings.rbd)
                                               .arg(k)
                                               .arg(k - 1));
        return false;
    }
    if (record) {
        for (const RecordDefine &entry : recordDefines()) {
            const QString define = QLatin1String(entry.define);
            if (overrides.contains(define))
                (*record).*entry.field = overrides.value(define);
        }
        if (overrides.contains(QStringLiteral("HD")))
            record->highDensity = overrides.value(QStringLiteral("HD"));
    }
    const IPJESD204B::LinkPlan plan =
        IPJESD204B::planLink(storedLinkMode(stored, record.value_or(IPJESD204B::LinkRecord())));
    const QStringList problems =
        record ? plan.errors : IPJESD204B::configuredLinkProblems(stored.link);
    for (const QString &problem : problems)
        *exitCode = command.fail(BadUsage, problem);
    if (!problems.isEmpty())
        return false;
    if (record) {
        for (const RecordDefine &entry : recordDefines())
            overrides.insert(QLatin1String(entry.define), (*record).*entry.field);
        overrides.insert(QStringLiteral("N"), plan.mode.resolution);
        overrides.insert(QStringLiteral("HD"), plan.highDensity.value_or(0));
    }
    return true;
}

// Run options the core cannot serve, refused before anything is generated.
bool checkRunFits(CommandLine &command, SimulateOptions *o, int *exitCode)
{
    const IPSERDESIP::ParameterMap &params = o->params;
    QString error;
    const int lanes = storedLinkOf(params).lanes;
    if (command.parser().isSet(QStringLiteral("lane-skew")) && lanes < 2)
        error = QStringLiteral("--lane-skew needs two lanes or more; the core has %1").arg(lanes);
    if (error.isEmpty() && o->settings.delayVariation > 0 && o->settings.resyncs == 0)
        error = QStringLiteral("--delay-variation changes the delay at each re-synchronisation: "
                               "give --resyncs");
    const bool transmits = params.value(IPJESD204B::Key::Transmit).toBool() ||
                           params.value(IPJESD204B::Key::Both).toBool();
    const LinkSim::TestPattern pattern = o->settings.pattern;
    const QLatin1String generator = pattern == LinkSim::TestPattern::Rpat
                                        ? IPJESD204B::Key::RpatGenerator
                                        : IPJESD204B::Key::JspatGenerator;
    if (error.isEmpty() && transmits && pattern != LinkSim::TestPattern::None &&
        !params.value(generator).toBool())
        error = QStringLiteral("--test-pattern %1: the core's transmitter has no generator for "
                               "it (\"%2\" is off)")
                    .arg(pattern == LinkSim::TestPattern::Rpat ? QStringLiteral("rpat")
                                                               : QStringLiteral("jspat"),
                         generator);
    if (error.isEmpty())
        return true;
    *exitCode = command.fail(BadUsage, error);
    return false;
}

} // namespace

bool parseSimulateOptions(CommandLine &command, const QStringList &arguments, SimulateOptions *o,
                          int *exitCode)
{
    const TextOptions text;
    std::vector<IntOption> ints = runOptions(o);
    const std::vector<QCommandLineOption> links = linkOptions();
    QCommandLineParser &parser = command.parser();
    parser.addOptions({text.workdir, text.dump, text.vcd, text.simulator, text.pattern,
                       text.samples, text.timeout});
    for (const IntOption &entry : ints)
        parser.addOption(entry.option);
    for (const QCommandLineOption &option : links)
        parser.addOption(option);
    return command.parseWithParameterFile(arguments, &o->params, exitCode) &&
           readRunOptions(command, ints, exitCode) &&
           readLinkOptions(command, links, o, exitCode) &&
           readTextOptions(command, text, o, exitCode) && checkRunFits(command, o, exitCode) &&
           checkLink(command, o, exitCode);
}

} // namespace HostProgram
