#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace LinkSim {

enum class Simulator { Icarus, Verilator };

// The Verilog the testbench is built from: the wrapper from the plug-in's data folder, the
// model and the testbench from the plug-in's sim folder.
struct SimSources
{
    QString wrapper;
    QString modelDir;
    QString testbenchDir;
    QStringList extra; // generated modules the testbench instantiates
};

// The sources under an installed or built plug-in folder; false with *error when a part is
// missing.
bool findSources(const QString &pluginDir, SimSources *sources, QString *error);

// The programs a simulator needs, the first missing one named in *missing.
bool simulatorInstalled(Simulator simulator, QString *missing);

struct Step
{
    QString program; // as found on PATH, or relative to the work folder
    QStringList arguments;
    QString logName; // log file in the work folder
};

// Build and run steps for a testbench over headerDir in workDir (which holds tb_config.vh).
std::vector<Step> simulationSteps(Simulator simulator, const SimSources &sources,
                                  const QString &headerDir, const QString &workDir, bool trace);

struct StepResult
{
    bool started = false;
    bool timedOut = false;
    int exitCode = -1;
    QByteArray output; // standard output and error, the last MaxOutputBytes of them
};

// Runs a step in workDir, stops it after timeoutMs, and writes its output to the step's log.
StepResult runStep(const Step &step, const QString &workDir, int timeoutMs);

// The last lines of a step's output, for a report on standard error.
QString lastLines(const QByteArray &output, int count);

} // namespace LinkSim
