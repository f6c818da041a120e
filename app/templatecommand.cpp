#include "commands.h"
#include "commandsupport.h"
#include "corefileoutput.h"
#include "parametergate.h"

#include <corefiles.h>
#include <ipcore.h>
#include <parameterkeys.h>
#include <parametervalues.h>
#include <safefile.h>

#include <QDir>
#include <QTextStream>

namespace HostProgram {

namespace {

using namespace IPJESD204B;
using namespace IPJESD204B::ParameterValues;

Ratio rateOf(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    return Ratio::fromDecimal(text(params, key));
}

CoreShape coreShapeOf(const IPSERDESIP::ParameterMap &params)
{
    CoreShape core;
    core.module = text(params, Key::Module);
    const bool both = flag(params, Key::Both);
    core.transmit = both || flag(params, Key::Transmit);
    core.receive = both || flag(params, Key::Receive);
    core.drp = flag(params, Key::DrpPorts);
    core.pcsBits = flag(params, Key::PcsWidth64) ? 64 : 32;
    core.lanes = static_cast<int>(integer(params, Key::NumberOfLanes));
    core.octetsPerFrame = static_cast<int>(integer(params, Key::DefaultF));
    core.framesPerMultiframe = static_cast<int>(integer(params, Key::DefaultK));
    core.scrambling = text(params, Key::ScramblingOn) == QLatin1String("Scrambling ON");
    core.laneRateMbps = rateOf(params, Key::LineRate) * 1000;
    core.refClockMHz = rateOf(params, Key::RefClkFrequency);
    core.refClockSource = text(params, Key::RefClkSource);
    core.configClockMHz = rateOf(params, Key::ClockFrequency);
    return core;
}

} // namespace

QVector<HostFile> coreTemplateFiles(const IPSERDESIP::ParameterMap &params)
{
    const CoreShape core = coreShapeOf(params);
    return {{core.module + QStringLiteral("_inst.v"), instantiationTemplate(core)},
            {core.module + QStringLiteral(".sdc"), timingConstraints(core)}};
}

QString coreFolder(const QString &workdir, const IPSERDESIP::ParameterMap &params)
{
    return QDir(workdir).filePath(text(params, Key::File) + QStringLiteral("/temp/jesd204b"));
}

bool stageHostFiles(const QString &folder, const QVector<HostFile> &files)
{
    if (!IPCore::makeDirs(folder, QStringLiteral("jesd204b")))
        return false;
    for (const HostFile &file : files) {
        QStringList lines = file.text.split(QLatin1Char('\n'));
        lines.removeLast(); // generateFile ends every line itself
        if (!IPCore::generateFile(QDir(folder).filePath(file.name), lines, nullptr, {}))
            return false;
    }
    return true;
}

int runTemplate(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("template"),
        QStringLiteral("Writes the instantiation template (<module>_inst.v) and the timing "
                       "constraints (<module>.sdc) of a parameter set's core into "
                       "DIR/<file>/temp/jesd204b."));
    const QCommandLineOption workdirOption(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory (default: the current directory)."),
        QStringLiteral("DIR"));
    command.parser().addOption(workdirOption);
    IPSERDESIP::ParameterMap params;
    int exitCode = Success;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;
    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, &exitCode);
    if (!protocol || !checkParameterSet(command, protocol, params, {},
                                        IPSERDESIP::ParameterCheck::Rules::All, &exitCode))
        return exitCode;
    const QString workdir = QDir::cleanPath(QDir::current().absoluteFilePath(
        command.parser().isSet(workdirOption) ? command.parser().value(workdirOption)
                                              : QDir::currentPath()));
    const QString folder = coreFolder(workdir, params);
    const QVector<HostFile> files = coreTemplateFiles(params);
    HostFiles::WriteBatch batch;
    QString reason;
    {
        const HostFiles::GenerationScope scope(batch, workdir);
        if (!stageHostFiles(folder, files))
            return command.fail(JobFailed, QStringLiteral("cannot write into ") + folder);
    }
    if (!batch.commit(&reason))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + reason);
    QTextStream out(stdout);
    for (const HostFile &file : files)
        out << QDir(folder).filePath(file.name) << '\n';
    return Success;
}

} // namespace HostProgram
