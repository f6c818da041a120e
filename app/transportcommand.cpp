#include "commands.h"
#include "commandsupport.h"
#include "linkparameters.h"

#include <ipcore.h>
#include <parameterkeys.h>
#include <safefile.h>
#include <transportverilog.h>

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

namespace HostProgram {

namespace {

using IPJESD204B::LinkMode;
using IPJESD204B::valueOrAbsent;
namespace Key = IPJESD204B::Key;

struct ModeOption
{
    const char *name;
    const char *description;
    int LinkMode::*field;
    bool required;
};

const QList<ModeOption> &modeOptions()
{
    static const QList<ModeOption> options{
        {"m", "Converters (M).", &LinkMode::converters, true},
        {"s", "Samples per converter per frame (S).", &LinkMode::samples, true},
        {"np", "Bits per sample (N').", &LinkMode::bitsPerSample, true},
        {"n", "Converter resolution (N); N' - CS when not given.", &LinkMode::resolution, false},
        {"cs", "Control bits per sample (CS), default 0.", &LinkMode::controlBits, false},
        {"cf", "Control words per frame (CF), default 0.", &LinkMode::controlWords, false},
    };
    return options;
}

// The converter's mode from the options; L comes from the set. Empty on success.
QString readMode(const QCommandLineParser &parser, LinkMode *mode)
{
    mode->resolution = -1;
    for (const ModeOption &option : modeOptions()) {
        const QString name = QString::fromLatin1(option.name);
        if (!parser.isSet(name)) {
            if (option.required)
                return QStringLiteral("--%1 is required (--m, --s and --np give the converter's "
                                      "mode)")
                    .arg(name);
            continue;
        }
        bool ok = false;
        mode->*option.field = parser.value(name).toInt(&ok, 10);
        if (!ok)
            return QStringLiteral("--%1 takes a whole number, not '%2'")
                .arg(name, parser.value(name));
    }
    if (mode->resolution < 0)
        mode->resolution = mode->bitsPerSample - mode->controlBits;
    return QString();
}

// The one place the modules are written: committed together by the host's writer, below root.
bool writeTransportFiles(const QString &root, const QString &folder,
                         const QVector<IPJESD204B::TransportFile> &files, QString *error)
{
    HostFiles::WriteBatch batch;
    const HostFiles::GenerationScope scope(batch, root);
    if (!IPCore::makeDirs(folder, QString())) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (const IPJESD204B::TransportFile &file : files) {
        if (!IPCore::generateFile(QDir(folder).filePath(file.name), file.lines, nullptr,
                                  QString())) {
            *error = QStringLiteral("cannot write %1").arg(QDir(folder).filePath(file.name));
            return false;
        }
    }
    return batch.commit(error);
}

} // namespace

int runTransport(const QStringList &arguments)
{
    CommandLine command(
        QStringLiteral("transport"),
        QStringLiteral("Writes the transport modules of a core's directions for a converter's "
                       "mode: samples to the core's lane words (tx) and lane words to samples "
                       "(rx), to DIR/<file>/transport."));
    QCommandLineParser &parser = command.parser();
    for (const ModeOption &option : modeOptions())
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                          QStringLiteral("N")});
    parser.addOption({QStringLiteral("workdir"),
                      QStringLiteral("Working directory (default: the current directory)."),
                      QStringLiteral("DIR")});
    IPSERDESIP::ParameterMap params;
    int exitCode = Success;
    if (!command.parseWithParameterFile(arguments, &params, &exitCode))
        return exitCode;
    LinkMode mode;
    const QString usage = readMode(parser, &mode);
    if (!usage.isEmpty())
        return command.fail(BadUsage, usage);
    const StoredLink stored = storedLinkOf(params);
    mode.lanes = stored.lanes;
    const IPJESD204B::TransportMap map = IPJESD204B::transportMap(mode, stored.link.octetsPerFrame);
    if (!map.isValid())
        return command.fail(BadUsage, map.error);
    const bool both = valueOrAbsent(params, Key::Both).toBool();
    const int octetsPerClock = valueOrAbsent(params, Key::PcsWidth64).toBool() ? 8 : 4;
    const QString core = params.value(Key::File).toString();
    const QVector<IPJESD204B::TransportFile> files = IPJESD204B::transportFiles(
        map, octetsPerClock, core, both || valueOrAbsent(params, Key::Transmit).toBool(),
        both || valueOrAbsent(params, Key::Receive).toBool());
    const QString workdir = QDir::cleanPath(QDir::current().absoluteFilePath(
        parser.isSet(QStringLiteral("workdir")) ? parser.value(QStringLiteral("workdir"))
                                                : QStringLiteral(".")));
    const QString folder = QDir(workdir).filePath(core + QStringLiteral("/transport"));
    QString error;
    if (!writeTransportFiles(workdir, folder, files, &error))
        return command.fail(JobFailed, QStringLiteral("cannot write: ") + error);
    QTextStream out(stdout);
    for (const IPJESD204B::TransportFile &file : files)
        out << QDir(folder).filePath(file.name) << '\n';
    return Success;
}

} // namespace HostProgram
