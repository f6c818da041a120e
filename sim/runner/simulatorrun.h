#pragma once

#include <csignal>

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
    int stopSignal = 0; // SIGTERM or SIGINT that ended the step
    int exitCode = -1;
    QByteArray output; // standard output and error, the last MaxOutputBytes of them
};

// While it lives, SIGTERM and SIGINT to this program are noted instead of ending it, so that a
// running step ends its simulator's group first and no later step starts. Scopes may nest.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

private:
    struct sigaction m_term
    {
    };
    struct sigaction m_int
    {
    };
};

// Runs a step in workDir as a process group of its own, ends the group after timeoutMs or on
// SIGTERM or SIGINT to this program, and writes its output to the step's log.
StepResult runStep(const Step &step, const QString &workDir, int timeoutMs);

// A folder the run made itself, so that no name the simulator writes through existed before.
// It moves over its final name when the run ends; one that is not moved is removed.
class RunFolder
{
public:
    RunFolder() = default;
    ~RunFolder();
    RunFolder(const RunFolder &) = delete;
    RunFolder &operator=(const RunFolder &) = delete;

    // Makes the folder below `parent` (a real folder, not a link), first removing the run
    // folders earlier runs left there; the caller holds the lock of `parent`.
    bool create(const QString &parent, QString *error);
    QString path() const { return m_path; }
    // Swaps the folder with parent/name (whatever held that name is removed, a link unfollowed).
    bool moveTo(const QString &name, QString *error);

private:
    static void removeDeadRuns(const QString &parent);

    QString m_parent;
    QString m_path;
};

// The last lines of a step's output, for a report on standard error.
QString lastLines(const QByteArray &output, int count);

} // namespace LinkSim
