#include "simulatorrun.h"

#include <services/safefile.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LinkSim {

namespace {

// A simulator that prints more than this is looping; its output is cut at the front.
constexpr int MaxOutputBytes = 16 << 20;

const QStringList modelSources{
    QStringLiteral("jesd204b_core.v"),    QStringLiteral("jesd204b_core_tx.v"),
    QStringLiteral("jesd204b_core_rx.v"), QStringLiteral("jesd204b_core_drp.v"),
    QStringLiteral("jesd204b_lmfc.v"),    QStringLiteral("jesd204b_tx_link.v"),
    QStringLiteral("jesd204b_rx_link.v"), QStringLiteral("jesd204b_cfg_regs.v")};
// The top first: the modules after it read the options it includes.
const QStringList testbenchSources{
    QStringLiteral("jesd204b_tb.v"), QStringLiteral("jesd204b_tb_channel.v"),
    QStringLiteral("jesd204b_tb_monitor.v"), QStringLiteral("jesd204b_tb_latency.v"),
    QStringLiteral("jesd204b_tb_samples.v")};

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

// Runs the program as the leader of a process group of its own, so that whatever it starts
// can be ended with it.
class GroupProcess : public QProcess
{
protected:
    void setupChildProcess() override { ::setpgid(0, 0); }
};

volatile std::sig_atomic_t stopSignal = 0;

void noteStop(int signal)
{
    stopSignal = signal;
}

void endGroup(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.waitForFinished(5000);
}

const QString runFolderPrefix = QStringLiteral(".sim-run-");

void keepTail(QByteArray *output)
{
    if (output->size() > MaxOutputBytes)
        output->remove(0, output->size() - MaxOutputBytes);
}

} // namespace

StopSignals::StopSignals()
{
    struct sigaction action
    {
    };
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &m_term);
    ::sigaction(SIGINT, &action, &m_int);
}

StopSignals::~StopSignals()
{
    ::sigaction(SIGTERM, &m_term, nullptr);
    ::sigaction(SIGINT, &m_int, nullptr);
}

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
    const StopSignals watch;
    // A signal that came before this step ends the run here.
    if (stopSignal != 0) {
        result.stopSignal = int(stopSignal);
        return result;
    }
    GroupProcess process;
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(step.program, step.arguments);
    result.started = process.waitForStarted(timeoutMs);
    if (result.started) {
        QElapsedTimer clock;
        clock.start();
        while (process.state() != QProcess::NotRunning && !clock.hasExpired(timeoutMs) &&
               stopSignal == 0) {
            process.waitForReadyRead(200);
            result.output += process.readAll();
            keepTail(&result.output);
        }
        if (process.state() != QProcess::NotRunning) {
            result.timedOut = stopSignal == 0;
            result.stopSignal = int(stopSignal);
            endGroup(process);
        }
        result.output += process.readAll();
        keepTail(&result.output);
        if (!result.timedOut && result.stopSignal == 0 &&
            process.exitStatus() == QProcess::NormalExit)
            result.exitCode = process.exitCode();
    } else {
        result.output = process.errorString().toUtf8();
    }
    QString problem;
    HostFiles::writeFile(HostFiles::Target{workDir, step.logName}, result.output, &problem);
    return result;
}

bool RunFolder::create(const QString &parent, QString *error)
{
    struct stat st
    {
    };
    const QByteArray parentName = QFile::encodeName(parent);
    if (::lstat(parentName.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *error = QStringLiteral("%1 is not a folder").arg(parent);
        return false;
    }
    removeDeadRuns(parent);
    QByteArray name = QFile::encodeName(QDir(parent).filePath(runFolderPrefix + "XXXXXX"));
    if (!::mkdtemp(name.data())) {
        *error = QStringLiteral("cannot create a run folder in %1: %2")
                     .arg(parent, qt_error_string(errno));
        return false;
    }
    // mkdtemp makes it private; the folder the run leaves is an ordinary one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(name.constData(), 0777 & ~mask);
    m_parent = parent;
    m_path = QFile::decodeName(name);
    return true;
}

RunFolder::~RunFolder()
{
    if (!m_path.isEmpty())
        QDir(m_path).removeRecursively();
}

bool RunFolder::moveTo(const QString &name, QString *error)
{
    const QString target = QDir(m_parent).filePath(name);
    const QByteArray from = QFile::encodeName(m_path);
    const QByteArray to = QFile::encodeName(target);
    // Whatever held the name (an earlier run's folder, or a link) is swapped out, never entered.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        QFileInfo old(m_path);
        if (old.isSymLink() || !old.isDir())
            QFile::remove(m_path);
        else
            QDir(m_path).removeRecursively();
        m_path.clear();
        return true;
    }
    if (errno == ENOENT && ::rename(from.constData(), to.constData()) == 0) {
        m_path.clear();
        return true;
    }
    *error = QStringLiteral("cannot move the run into %1: %2").arg(target, qt_error_string(errno));
    return false;
}

void RunFolder::removeDeadRuns(const QString &parent)
{
    QDirIterator it(parent, {runFolderPrefix + QLatin1Char('*')},
                    QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    while (it.hasNext())
        QDir(it.next()).removeRecursively();
}

QString lastLines(const QByteArray &output, int count)
{
    QStringList lines = QString::fromUtf8(output).trimmed().split(QLatin1Char('\n'));
    if (lines.size() > count)
        lines = lines.mid(lines.size() - count);
    return lines.join(QLatin1Char('\n'));
}

} // namespace LinkSim
