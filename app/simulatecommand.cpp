#include "commands.h"
#include "commandsupport.h"

#include <coreheaders.h>
#include <linksettings.h>
#include <simulatorrun.h>
#include <summaryline.h>

#include <baseprotocol.h>
#include <ipcore.h>
#include <serdes.h>

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <limits>

namespace HostProgram {

namespace {

// A lane dump or waveform larger than this is refused rather than copied.
constexpr qint64 MaxResultBytes = qint64(512) << 20;
constexpr int BuildTimeoutMs = 600 * 1000;

struct SimulateOptions
{
    IPSERDESIP::ParameterMap params;
    QString workdir;
    LinkSim::RunSettings settings;
    LinkSim::Simulator simulator = LinkSim::Simulator::Icarus;
    QString dumpFile;
    QString vcdFile;
    int timeoutMs = 600 * 1000;
};

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

// Parses the options and reads the parameter set. False with *exitCode set.
bool parseOptions(CommandLine &command, const QStringList &arguments, SimulateOptions *o,
                  int *exitCode)
{
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption workdir(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory: the core goes to DIR/<file>/temp/jesd204b, the "
                       "simulation to DIR/<file>/sim (default: the current directory)."),
        QStringLiteral("DIR"));
    const QCommandLineOption dump(QStringLiteral("dump-lanes"),
                                  QStringLiteral("Write the transmitted code groups to FILE, one "
                                                 "line per character time."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption vcd(QStringLiteral("vcd"),
                                 QStringLiteral("Write the testbench's signals to FILE (VCD)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption simulator(QStringLiteral("simulator"),
                                       QStringLiteral("iverilog (default) or verilator."),
                                       QStringLiteral("NAME"), QStringLiteral("iverilog"));
    const QCommandLineOption pattern(
        QStringLiteral("test-pattern"),
        QStringLiteral("rpat or jspat: the transmitter sends the pattern (where the core has "
                       "its generator) and the receiver checks it instead of the data."),
        QStringLiteral("NAME"));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral("Stop the simulation after SECONDS (default 600)."),
        QStringLiteral("SECONDS"));
    std::vector<IntOption> ints = runOptions(o);
    const std::vector<QCommandLineOption> links = linkOptions();
    parser.addOptions({workdir, dump, vcd, simulator, pattern, timeout});
    for (const IntOption &entry : ints)
        parser.addOption(entry.option);
    for (const QCommandLineOption &option : links)
        parser.addOption(option);
    if (!command.parseWithParameterFile(arguments, &o->params, exitCode) ||
        !readRunOptions(command, ints, exitCode) || !readLinkOptions(command, links, o, exitCode))
        return false;
    int seconds = 600;
    if (!parseSimulator(parser.value(simulator), &o->simulator) ||
        (parser.isSet(pattern) && !parsePattern(parser.value(pattern), &o->settings.pattern)) ||
        (parser.isSet(timeout) && !parseInt(parser.value(timeout), 1, 86400, &seconds))) {
        *exitCode = command.fail(BadUsage, QStringLiteral("--simulator takes iverilog or "
                                                          "verilator, --test-pattern rpat or "
                                                          "jspat, --timeout 1..86400"));
        return false;
    }
    o->timeoutMs = seconds * 1000;
    const QDir here = QDir::current();
    o->workdir = QDir::cleanPath(
        here.absoluteFilePath(parser.isSet(workdir) ? parser.value(workdir) : QStringLiteral(".")));
    if (parser.isSet(dump))
        o->dumpFile = here.absoluteFilePath(parser.value(dump));
    if (parser.isSet(vcd))
        o->vcdFile = here.absoluteFilePath(parser.value(vcd));
    o->settings.dumpLanes = !o->dumpFile.isEmpty();
    o->settings.vcd = !o->vcdFile.isEmpty();
    return true;
}

// Generates the core's headers as `generate` does; their folder, or empty with *exitCode set.
QString generateCore(const CommandLine &command, const SimulateOptions &o,
                     IPSERDESIP::BaseProtocol *protocol, int *exitCode)
{
    IPSERDESIP::serdes::instance()->setWorkingDir(o.workdir);
    QStringList iniLines;
    QStringList reserved;
    QStringList moduleOptions;
    QString message;
    if (!protocol->generate(o.params, iniLines, reserved, moduleOptions, message, false)) {
        *exitCode = command.fail(JobFailed, message.isEmpty()
                                                ? QStringLiteral("generation of the core failed")
                                                : message);
        return QString();
    }
    return QDir(o.workdir).filePath(o.params.value(QStringLiteral("file")).toString() +
                                    QStringLiteral("/temp/jesd204b"));
}

// Copies a file the testbench wrote to where the user asked for it, through the one writer.
bool deliver(const CommandLine &command, const QString &from, const QString &to)
{
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxResultBytes) {
        command.fail(JobFailed, from + QStringLiteral(": ") +
                                    (file.isOpen() ? QStringLiteral("too large to copy")
                                                   : file.errorString()));
        return false;
    }
    QStringList lines = QString::fromUtf8(file.read(MaxResultBytes)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return IPCore::generateFile(to, lines, nullptr, QString());
}

QString simulatorName(LinkSim::Simulator simulator)
{
    return simulator == LinkSim::Simulator::Verilator ? QStringLiteral("verilator")
                                                      : QStringLiteral("iverilog");
}

// Builds and runs the testbench in simDir; prints the summary line and returns the exit code.
int buildAndRun(const CommandLine &command, const SimulateOptions &o,
                const LinkSim::SimSources &sources, const QString &headerDir, const QString &simDir)
{
    const std::vector<LinkSim::Step> steps =
        LinkSim::simulationSteps(o.simulator, sources, headerDir, simDir, o.settings.vcd);
    const QString name = simulatorName(o.simulator);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const bool build = i + 1 < steps.size();
        const LinkSim::StepResult result =
            LinkSim::runStep(steps[i], simDir, build ? BuildTimeoutMs : o.timeoutMs);
        const QString log = QDir(simDir).filePath(steps[i].logName);
        if (result.timedOut)
            return command.fail(JobFailed, QStringLiteral("%1 stopped after %2 s (log: %3)")
                                               .arg(build ? name + QStringLiteral(" build")
                                                          : QStringLiteral("the simulation"))
                                               .arg((build ? BuildTimeoutMs : o.timeoutMs) / 1000)
                                               .arg(log));
        if (build && result.exitCode != 0) {
            QTextStream(stderr) << LinkSim::lastLines(result.output, 20) << '\n';
            return command.fail(
                JobFailed,
                QStringLiteral("the testbench did not build with %1 (log: %2)").arg(name, log));
        }
        if (build)
            continue;
        const LinkSim::SummaryLine summary = LinkSim::findSummary(result.output);
        if (!summary.found()) {
            QTextStream(stderr) << LinkSim::lastLines(result.output, 20) << '\n';
            return command.fail(
                JobFailed,
                QStringLiteral("the simulation ended without a summary (log: %1)").arg(log));
        }
        QTextStream(stdout) << summary.text << '\n';
        const QDir dir(simDir);
        if ((!o.dumpFile.isEmpty() &&
             !deliver(command, dir.filePath(LinkSim::laneDumpName()), o.dumpFile)) ||
            (!o.vcdFile.isEmpty() &&
             !deliver(command, dir.filePath(LinkSim::waveformName()), o.vcdFile)))
            return JobFailed;
        return summary.passed() ? Success : JobFailed;
    }
    return JobFailed;
}

// Checks the core against the model's limits, writes the testbench configuration and runs.
int simulate(const CommandLine &command, const SimulateOptions &o,
             const LinkSim::SimSources &sources, const QString &headerDir)
{
    LinkSim::CoreShape shape;
    QString error;
    if (!LinkSim::readCoreShape(headerDir, &shape, &error))
        return command.fail(JobFailed, error);
    error = LinkSim::checkRun(shape, o.settings);
    if (!error.isEmpty())
        return command.fail(BadUsage, error);
    const QString simDir = QDir(headerDir).filePath(QStringLiteral("../../sim"));
    const QString cleanDir = QDir::cleanPath(simDir);
    if (!IPCore::makeDirs(cleanDir, QString()) ||
        !IPCore::generateFile(QDir(cleanDir).filePath(QStringLiteral("tb_config.vh")),
                              LinkSim::testbenchConfig(shape, o.settings), nullptr, QString()))
        return JobFailed;
    QFile::remove(QDir(cleanDir).filePath(LinkSim::laneDumpName()));
    QFile::remove(QDir(cleanDir).filePath(LinkSim::waveformName()));
    return buildAndRun(command, o, sources, headerDir, cleanDir);
}

} // namespace

int runSimulate(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("simulate"),
        QStringLiteral("Generates a core from a parameter set, builds it with the link model "
                       "and a self-checking testbench, runs a link in loopback and prints one "
                       "summary line.\nExit codes: 0 the data came through unchanged with a "
                       "constant latency, 1 it did not or the run failed, 2 bad usage, bad "
                       "input or the simulator is not installed."));
    SimulateOptions options;
    int exitCode = Success;
    if (!parseOptions(command, arguments, &options, &exitCode))
        return exitCode;
    QString missing;
    if (!LinkSim::simulatorInstalled(options.simulator, &missing))
        return command.fail(BadUsage,
                            QStringLiteral("%1 is not installed (not found on PATH)").arg(missing));

    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol)
        return exitCode;
    LinkSim::SimSources sources;
    QString error;
    if (!LinkSim::findSources(command.pluginDir(), &sources, &error))
        return command.fail(JobFailed, error);
    const QString headerDir = generateCore(command, options, protocol, &exitCode);
    if (headerDir.isEmpty())
        return exitCode;
    return simulate(command, options, sources, headerDir);
}

} // namespace HostProgram
