#include "simulatorrun.h"

#include <ipcore.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace LinkSim {

namespace {

// A simulator that prints more than this is looping; its output is cut at the front.
constexpr int MaxOutputBytes = 16 << 20;

const QStringList modelSources{QStringLiteral("jesd204b_core.v"), QStringLiteral("jesd204b_lmfc.v"),
                               QStringLiteral("jesd204b_tx_link.v"),
                               QStringLiteral("jesd204b_rx_link.v"),
                               QStringLiteral("jesd204b_cfg_regs.v")};
const QStringList testbenchSources{QStringLiteral("jesd204b_tb_channel.v"),
                                   QStringLiteral("jesd204b_tb.v")};

QStringList sourceFiles(const SimSources &sources)
{
    QStringList files{sources.wrapper};
    for (const QString &name : modelSources)
        files << QDir(sources.modelDir).filePath(name);
    for (const QString &name : testbenchSources)
        files << QDir(sources.testbenchDir).filePath(name);
    return files + sources.extra;
}

QStringList programsOf(Simulator simulator)
{
    if (simulator == Simulator::Verilator)
        return {QStringLiteral("verilator")};
    return {QStringLiteral("iverilog"), QStringLiteral("vvp")};
}

void keepTail(QByteArray *output)
{
    if (output->size() > MaxOutputBytes)
        output->remove(0, output->size() - MaxOutputBytes);
}

} // namespace

bool findSources(const QString &pluginDir, SimSources *sources, QString *error)
{
    const QDir dir(pluginDir);
    sources->wrapper = dir.filePath(QStringLiteral("data/jesd204b_top.v"));
    sources->modelDir = dir.filePath(QStringLiteral("sim/model"));
    sources->testbenchDir = dir.filePath(QStringLiteral("sim/tb"));
    QStringList missing;
    for (const QString &file : sourceFiles(*sources)) {
        if (!QFileInfo(file).isFile())
            missing << file;
    }
    if (missing.isEmpty())
        return true;
    *error =
        QStringLiteral("simulation sources not found: %1").arg(missing.join(QStringLiteral(", ")));
    return false;
}

bool simulatorInstalled(Simulator simulator, QString *missing)
{
    for (const QString &program : programsOf(simulator)) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            *missing = program;
            return false;
        }
    }
    return true;
}

std::vector<Step> simulationSteps(Simulator simulator, const SimSources &sources,
                                  const QString &headerDir, const QString &workDir, bool trace)
{
    const QStringList includes{QStringLiteral("-I") + workDir, QStringLiteral("-I") + headerDir,
                               QStringLiteral("-I") + sources.modelDir,
                               QStringLiteral("-I") + sources.testbenchDir};
    if (simulator == Simulator::Icarus) {
        QStringList build{QStringLiteral("-g2005"), QStringLiteral("-o"), QStringLiteral("tb.vvp"),
                          QStringLiteral("-s"), QStringLiteral("jesd204b_tb")};
        build << includes << sourceFiles(sources);
        return {{QStandardPaths::findExecutable(QStringLiteral("iverilog")), build,
                 QStringLiteral("build.log")},
                {QStandardPaths::findExecutable(QStringLiteral("vvp")),
                 {QStringLiteral("-n"), QStringLiteral("tb.vvp")},
                 QStringLiteral("run.log")}};
    }
    // The model is lint-clean under -Wall; the testbench's style warnings stay out of the log.
    QStringList build{
        QStringLiteral("--binary"),   QStringLiteral("-j"),           QStringLiteral("2"),
        QStringLiteral("-O2"),        QStringLiteral("--top-module"), QStringLiteral("jesd204b_tb"),
        QStringLiteral("-Wno-fatal"), QStringLiteral("-Wno-lint"),    QStringLiteral("-Wno-style"),
        QStringLiteral("-Mdir"),      QStringLiteral("obj_dir"),      QStringLiteral("-o"),
        QStringLiteral("tb")};
    if (trace)
        build << QStringLiteral("--trace");
    build << includes << sourceFiles(sources);
    return {{QStandardPaths::findExecutable(QStringLiteral("verilator")), build,
             QStringLiteral("build.log")},
            {QDir(workDir).filePath(QStringLiteral("obj_dir/tb")), {}, QStringLiteral("run.log")}};
}

StepResult runStep(const Step &step, const QString &workDir, int timeoutMs)
{
    StepResult result;
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(step.program, step.arguments);
    result.started = process.waitForStarted(timeoutMs);
    if (result.started) {
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && !clock.hasExpired(timeoutMs)) {
            process.waitForReadyRead(200);
            result.output += process.readAll();
            keepTail(&result.output);
        }
        if (process.state() != QProcess::NotRunning) {
            result.timedOut = true;
            process.kill();
            process.waitForFinished(5000);
        }
        result.output += process.readAll();
        keepTail(&result.output);
        if (!result.timedOut && process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
    } else {
        result.output = process.errorString().toUtf8();
    }
    const QStringList lines = QString::fromUtf8(result.output).split(QLatin1Char('\n'));
    IPCore::generateFile(QDir(workDir).filePath(step.logName), lines, nullptr, QString());
    return result;
}

QString lastLines(const QByteArray &output, int count)
{
    QStringList lines = QString::fromUtf8(output).trimmed().split(QLatin1Char('\n'));
    if (lines.size() > count)
        lines = lines.mid(lines.size() - count);
    return lines.join(QLatin1Char('\n'));
}

} // namespace LinkSim
