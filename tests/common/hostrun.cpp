#include "hostrun.h"

#include "testpaths.h"

#include <QJsonDocument>
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

QJsonObject HostRun::json() const
{
    return QJsonDocument::fromJson(out).object();
}

std::unique_ptr<QProcess> startHost(const QStringList &arguments, const HostSetup &setup)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : setup.environment) {
        if (entry.contains(QLatin1Char('=')))
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        else
            env.remove(entry);
    }
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(setup.workingDirectory);
    if (!setup.standardOutputFile.isEmpty())
        process->setStandardOutputFile(setup.standardOutputFile);
    QStringList command = QStringList{TestPaths::hostProgram()} + arguments;
    if (setup.fileSizeLimit > 0)
        command = QStringList{"prlimit", QString("--fsize=%1").arg(setup.fileSizeLimit)} + command;
    const QString program = command.takeFirst();
    process->start(program, command);
    return process;
}

HostRun finishHost(QProcess &process, int timeoutMs)
{
    HostRun run;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

HostRun runHost(const QStringList &arguments, const HostSetup &setup)
{
    const std::unique_ptr<QProcess> process = startHost(arguments, setup);
    return finishHost(*process, setup.timeoutMs);
}

} // namespace TestSupport
