#include "transportfiles.h"

#include "linkparameters.h"

#include <ipcore.h>
#include <linkrecord.h>
#include <parameterkeys.h>

#include <QDir>
#include <QRegularExpression>

namespace HostProgram {

namespace {

using IPJESD204B::LinkMode;
using IPJESD204B::valueOrAbsent;
namespace Key = IPJESD204B::Key;

// The converter's shape the modules need; L, F and the PCS width come from the set.
constexpr const char *ShapeOptions[] = {"m", "s", "np", "n", "cs", "cf"};

// The mode from the link record beside the set, with the options over it; without a record
// --m, --s and --np are required. Empty on success.
QString readMode(const QCommandLineParser &parser, const QString &setPath, LinkMode *mode)
{
    QString error;
    const std::optional<IPJESD204B::LinkRecord> record =
        IPJESD204B::readLinkRecord(setPath, &error);
    if (!error.isEmpty())
        return error;
    if (record)
        IPJESD204B::applyLinkRecord(*record, mode);
    bool resolutionGiven = record && record->resolution > 0;
    for (const char *name : ShapeOptions) {
        const QString option = QString::fromLatin1(name);
        if (!parser.isSet(option)) {
            if (!record && (option == QLatin1String("m") || option == QLatin1String("s") ||
                            option == QLatin1String("np")))
                return QStringLiteral("--%1 is required (--m, --s and --np give the converter's "
                                      "mode)")
                    .arg(option);
            continue;
        }
        const ModeOption &bounds = modeOption(name);
        if (!readModeValue(bounds, parser.value(option), &(mode->*bounds.field), &error))
            return error;
        resolutionGiven = resolutionGiven || option == QLatin1String("n");
    }
    if (!resolutionGiven)
        mode->resolution = mode->bitsPerSample - mode->controlBits;
    return QString();
}

} // namespace

void addTransportModeOptions(QCommandLineParser &parser)
{
    for (const char *name : ShapeOptions) {
        const ModeOption &option = modeOption(name);
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                          QStringLiteral("N")});
    }
}

bool transportMapOf(const LinkMode &mode, const IPSERDESIP::ParameterMap &params,
                    IPJESD204B::TransportMap *map, QString *error)
{
    const QString core = params.value(Key::File).toString();
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    if (!identifier.match(core).hasMatch()) {
        *error = QStringLiteral("the set's \"file\" '%1' does not name a Verilog module").arg(core);
        return false;
    }
    const StoredLink stored = storedLinkOf(params);
    LinkMode laid = mode;
    laid.lanes = stored.lanes;
    *map = IPJESD204B::transportMap(laid, stored.link.octetsPerFrame);
    *error = map->error;
    return map->isValid();
}

bool transportFilesOf(const QCommandLineParser &parser, const QString &setPath,
                      const IPSERDESIP::ParameterMap &params,
                      QVector<IPJESD204B::TransportFile> *files, QString *error)
{
    LinkMode mode;
    *error = readMode(parser, setPath, &mode);
    IPJESD204B::TransportMap map;
    if (!error->isEmpty() || !transportMapOf(mode, params, &map, error))
        return false;
    const bool both = valueOrAbsent(params, Key::Both).toBool();
    const int octetsPerClock = valueOrAbsent(params, Key::PcsWidth64).toBool() ? 8 : 4;
    *files = IPJESD204B::transportFiles(map, octetsPerClock, params.value(Key::File).toString(),
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
