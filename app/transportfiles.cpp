#include "transportfiles.h"

#include "linkparameters.h"

#include <ipcore.h>
#include <parameterkeys.h>

#include <QDir>
#include <QRegularExpression>

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

} // namespace

void addTransportModeOptions(QCommandLineParser &parser)
{
    for (const ModeOption &option : modeOptions())
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                          QStringLiteral("N")});
}

bool transportFilesOf(const QCommandLineParser &parser, const IPSERDESIP::ParameterMap &params,
                      QVector<IPJESD204B::TransportFile> *files, QString *error)
{
    LinkMode mode;
    *error = readMode(parser, &mode);
    if (!error->isEmpty())
        return false;
    const QString core = params.value(Key::File).toString();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    if (!identifier.match(core).hasMatch()) {
        *error = QStringLiteral("the set's \"file\" '%1' does not name a Verilog module").arg(core);
        return false;
    }
    const StoredLink stored = storedLinkOf(params);
    mode.lanes = stored.lanes;
    const IPJESD204B::TransportMap map = IPJESD204B::transportMap(mode, stored.link.octetsPerFrame);
    if (!map.isValid()) {
        *error = map.error;
        return false;
    }
    const bool both = valueOrAbsent(params, Key::Both).toBool();
    const int octetsPerClock = valueOrAbsent(params, Key::PcsWidth64).toBool() ? 8 : 4;
    *files = IPJESD204B::transportFiles(map, octetsPerClock, core,
                                        both || valueOrAbsent(params, Key::Transmit).toBool(),
                                        both || valueOrAbsent(params, Key::Receive).toBool());
    return true;
}

QString transportFolder(const QString &workdir, const IPSERDESIP::ParameterMap &params)
{
    return QDir(workdir).filePath(params.value(Key::File).toString() +
                                  QStringLiteral("/transport"));
}

bool stageTransportFiles(const QString &folder, const QVector<IPJESD204B::TransportFile> &files,
                         QString *error)
{
    if (!IPCore::makeDirs(folder, QString())) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (const IPJESD204B::TransportFile &file : files) {
        const QString path = QDir(folder).filePath(file.name);
        if (!IPCore::generateFile(path, file.lines, nullptr, QString())) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace HostProgram
