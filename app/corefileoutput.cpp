#include "corefileoutput.h"

#include "commandsupport.h"
#include "parametergate.h"
#include "transportfiles.h"

#include <corefiles.h>
#include <ipcore.h>
#include <linkrecord.h>
#include <parameterkeys.h>
#include <parametervalues.h>

#include <QDir>

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

// The transport modules beside the core for the mode of the set's link record; none without a
// record, and a comment with the reason when the mode has no layout.
bool transportBeside(const QString &setPath, const IPSERDESIP::ParameterMap &params,
                     const CoreShape &core, QStringList *lines, QString *error)
{
    const std::optional<LinkRecord> record = readLinkRecord(setPath, error);
    if (!error->isEmpty())
        return false;
    if (!record)
        return true;
    LinkMode mode;
    applyLinkRecord(*record, &mode);
    TransportMap map;
    QString reason;
    *lines = transportMapOf(mode, params, &map, &reason)
                 ? transportInstances(map, core, text(params, Key::File))
                 : QStringList{QString(), QStringLiteral("// ") + reason};
    return true;
}

} // namespace

bool coreTemplateFiles(const QString &setPath, const IPSERDESIP::ParameterMap &params,
                       QVector<HostFile> *files, QString *error)
{
    const CoreShape core = coreShapeOf(params);
    QStringList transport;
    if (!transportBeside(setPath, params, core, &transport, error))
        return false;
    *files = {{core.module + QStringLiteral("_inst.v"), instantiationTemplate(core, transport)},
              {core.module + QStringLiteral(".sdc"), timingConstraints(core)}};
    return true;
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

bool admitStoredCore(CommandLine &command, const QStringList &arguments, StoredCore *core,
                     int *exitCode)
{
    const QCommandLineOption workdirOption(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory (default: the current directory)."),
        QStringLiteral("DIR"));
    command.parser().addOption(workdirOption);
    *exitCode = Success;
    if (!command.parseWithParameterFile(arguments, &core->params, exitCode))
        return false;
    PluginSet plugins;
    IPSERDESIP::BaseProtocol *protocol = loadJesd204b(command, &plugins, exitCode);
    if (!protocol || !checkParameterSet(command, protocol, core->params, {},
                                        IPSERDESIP::ParameterCheck::Rules::All, exitCode))
        return false;
    const QCommandLineParser &parser = command.parser();
    core->workdir = QDir::cleanPath(QDir::current().absoluteFilePath(
        parser.isSet(workdirOption) ? parser.value(workdirOption) : QDir::currentPath()));
    return true;
}

} // namespace HostProgram
