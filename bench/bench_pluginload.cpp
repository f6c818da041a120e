// From the plug-in file to a loaded protocol: QPluginLoader, the package instance and
// protocols() (which reads the core description). A process maps a plug-in once, so each
// iteration runs in a fresh child of the benchmark (fork) and times its first load there. The
// baseline is the same first load of one of Qt's own small plug-ins, so the ratio shows what
// this plug-in adds to loading.
#include "medianreporter.h"

#include <baseprotocol.h>
#include <protocolpackage.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <benchmark/benchmark.h>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QString PluginFile = QStringLiteral(JESD_PLUGIN_DIR "/libjesd204b.so");

// Loads the plug-in and takes its protocols; false when that does not give a loaded protocol.
bool loadProtocol()
{
    QPluginLoader loader(PluginFile);
    auto *package = qobject_cast<IPSERDESIP::ProtocolPackage *>(loader.instance());
    if (!package)
        return false;
    package->setDirectory(QStringLiteral(JESD_PLUGIN_DIR));
    const QList<IPSERDESIP::BaseProtocol *> offered = package->protocols();
    const std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> owned(offered.begin(),
                                                                       offered.end());
    return owned.size() == 1 && !owned.front()->id().isEmpty();
}

bool loadQtPlugin()
{
    QPluginLoader loader(QLibraryInfo::location(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/imageformats/libqico.so"));
    return loader.instance() != nullptr;
}

// Runs the load in a child process; its time in nanoseconds, or -1 when it failed.
qint64 firstLoadInChild(bool (*load)())
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QElapsedTimer timer;
        timer.start();
        const qint64 elapsed = load() ? timer.nsecsElapsed() : -1;
        const bool written = write(fds[1], &elapsed, sizeof elapsed) == sizeof elapsed;
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    qint64 elapsed = -1;
    if (child < 0 || read(fds[0], &elapsed, sizeof elapsed) != sizeof elapsed)
        elapsed = -1;
    close(fds[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return elapsed;
}

void runFirstLoads(benchmark::State &state, bool (*load)())
{
    for (auto _ : state) {
        const qint64 nanoseconds = firstLoadInChild(load);
        if (nanoseconds < 0) {
            state.SkipWithError("the plug-in did not load");
            break;
        }
        state.SetIterationTime(double(nanoseconds) / 1e9);
    }
}

void pluginToProtocol(benchmark::State &state)
{
    runFirstLoads(state, loadProtocol);
}

void qtPlugin(benchmark::State &state)
{
    runFirstLoads(state, loadQtPlugin);
}

BENCHMARK(pluginToProtocol)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(9);
BENCHMARK(qtPlugin)->UseManualTime()->Unit(benchmark::kMillisecond)->Repetitions(9);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MedianReporter reporter;
    reporter.runAll(&argc, argv);
    reporter.printRatio("pluginToProtocol", "qtPlugin", "ms");
    reporter.printBudget("pluginToProtocol", "plug-in load to a loaded protocol", 5.0);
    return 0;
}
