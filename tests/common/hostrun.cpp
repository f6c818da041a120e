#include "hostrun.h"

#include "testpaths.h"

#include <QProcess>

namespace TestSupport {

QStringList HostRun::outLines() const
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList HostRun::errLines() const
{
    return QString::fromUtf8(err).split(QLatin1Char('\n'));
}

HostRun runHost(const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(TestPaths::hostProgram(), arguments);
    HostRun run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace TestSupport
