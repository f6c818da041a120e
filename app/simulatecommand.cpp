#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"
#include "simulateoptions.h"

#include <coreheaders.h>
#include <latencyreport.h>
#include <linksettings.h>
#include <simulatorrun.h>
#include <summaryline.h>
#include <transportsources.h>

#include <baseprotocol.h>
#include <ipcore.h>
#include <serdes.h>
#include <services/coregeneration.h>
#include <services/safefile.h>

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstring>

namespace HostProgram {

namespace {

// A lane dump or waveform larger than this is refused rather than copied.
constexpr qint64 MaxResultBytes = qint64(512) << 20;
constexpr int BuildTimeoutMs = 600 * 1000;

// Generates the core through the host's one door, as `generate` does; the folder of its
// headers, or empty with *exitCode set.
QString generateCore(const CommandLine &command, const SimulateOptions &o,
                     IPSERDESIP::BaseProtocol *protocol, int *exitCode)
{
    IPCore::CoreRequest request;
    request.params = o.params;
    request.workdir = o.workdir;
    HostFiles::WriteBatch files;
    IPCore::GeneratedCore core;
    QString error;
    switch (IPCore::generateCore(*protocol, request, files, &core, &error)) {
    case IPCore::CoreOutcome::Refused:
        *exitCode = command.fail(BadUsage, command.parameterFile() + QStringLiteral(": ") + error);
        return QString();
    case IPCore::CoreOutcome::Failed:
        *exitCode = command.fail(JobFailed, error);
        return QString();
    case IPCore::CoreOutcome::Generated:
        break;
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
// The logs are named where the run folder ends up (logDir).
int buildAndRun(const CommandLine &command, const SimulateOptions &o,
                const LinkSim::SimSources &sources, const QString &headerDir, const QString &simDir,
                const QString &logDir)
{
    const std::vector<LinkSim::Step> steps =
        LinkSim::simulationSteps(o.simulator, sources, headerDir, simDir, o.settings.vcd);
    const QString name = simulatorName(o.simulator);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const bool build = i + 1 < steps.size();
        const LinkSim::StepResult result =
            LinkSim::runStep(steps[i], simDir, build ? BuildTimeoutMs : o.timeoutMs);
        const QString log = QDir(logDir).filePath(steps[i].logName);
        if (result.stopSignal != 0)
            return command.fail(
                JobFailed,
                QStringLiteral("stopped by %1; %2 and what it started were ended "
                               "(log: %3)")
                    .arg(QString::fromLocal8Bit(::strsignal(result.stopSignal)), name, log));
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
        QTextStream out(stdout);
        for (const QString &line :
             LinkSim::latencyReport(result.output, storedLinkOf(o.params).link.laneRateMbps))
            out << line << '\n';
        out << summary.text << '\n';
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

// Checks the core against the model's limits and runs the testbench in a folder of its own,
// which then replaces DIR/<file>/sim. The core's folder is locked for the whole run.
// The transport modules the sample check puts around the link, written into the run's folder.
bool writeTransport(const LinkSim::CoreShape &shape, const LinkSim::RunSettings &settings,
                    const QString &runDir, LinkSim::SimSources *sources, QString *error)
{
    const QVector<IPJESD204B::TransportFile> files =
        LinkSim::testbenchTransport(shape, settings, error);
    if (files.isEmpty())
        return false;
    for (const IPJESD204B::TransportFile &file : files) {
        const QByteArray text = (file.lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        if (!HostFiles::writeFile(HostFiles::Target{runDir, file.name}, text, error))
            return false;
        sources->extra << QDir(runDir).filePath(file.name);
    }
    return true;
}

int simulate(const CommandLine &command, const SimulateOptions &o,
             const LinkSim::SimSources &sources, const QString &headerDir)
{
    // From here on a signal ends the simulator's group and the run in one line.
    const LinkSim::StopSignals stopSignals;
    LinkSim::CoreShape shape;
    QString error;
    if (!LinkSim::readCoreShape(headerDir, &shape, &error))
        return command.fail(JobFailed, error);
    error = LinkSim::checkRun(shape, o.settings);
    if (!error.isEmpty())
        return command.fail(BadUsage, error);
    const QString coreDir = QDir::cleanPath(QDir(headerDir).filePath(QStringLiteral("../..")));
    HostFiles::WriteBatch held;
    LinkSim::RunFolder run;
    if (!held.lock(HostFiles::folderLockPath(coreDir), 10000, &error) ||
        !run.create(coreDir, &error) ||
        !HostFiles::writeFile(HostFiles::Target{run.path(), QStringLiteral("tb_config.vh")},
                              (LinkSim::testbenchConfig(shape, o.settings).join(QLatin1Char('\n')) +
                               QLatin1Char('\n'))
                                  .toUtf8(),
                              &error))
        return command.fail(JobFailed, error);
    LinkSim::SimSources withTransport = sources;
    if (o.settings.samples &&
        !writeTransport(shape, o.settings, run.path(), &withTransport, &error))
        return command.fail(JobFailed, error);
    const QString simDir = QDir(coreDir).filePath(QStringLiteral("sim"));
    const int code = buildAndRun(command, o, withTransport, headerDir, run.path(), simDir);
    if (!run.moveTo(QStringLiteral("sim"), &error))
        return command.fail(JobFailed, error);
    return code;
}

} // namespace

int runSimulate(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("simulate"),
        QStringLiteral("Generates a core from a parameter set, builds it with the link model "
                       "and a self-checking testbench, runs a link in loopback and prints where "
                       "each lane's ILAS start arrived against the receiver's release point, "
                       "the smallest margin, what went wrong, and one summary line.\nExit "
                       "codes: 0 the data came through unchanged with a constant latency, 1 it "
                       "did not or the run failed, 2 bad usage, bad input or the simulator is "
                       "not installed."));
    SimulateOptions options;
    int exitCode = Success;
    if (!parseSimulateOptions(command, arguments, &options, &exitCode) ||
        !command.refuseOutputOverInput(options.dumpFile, {command.parameterFile()}, &exitCode) ||
        !command.refuseOutputOverInput(options.vcdFile, {command.parameterFile()}, &exitCode))
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
