#include "devicedb.h"
#include "generatoroptions.h"
#include "serdes.h"
#include "serdesfunctions.h"
#include "serdesnames.h"
#include <services/safefile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// The reference host cannot run a vendor synthesis tool. Its synthesis step proves that the
// job could run (device known, every source present) and leaves a manifest that names
// everything a synthesis run needs.
namespace IPSERDESIP {

namespace {

const QString ManifestSuffix = QStringLiteral("_synthesis.json");

// The SERDES configuration the core wrote beside the manifest is bounded like every input.
constexpr qint64 MaxIniBytes = 1 << 20;

// Quad PLL status ports of the core's top-level wrapper that its SERDES configuration needs:
// one per quad whose lanes run from a quad PLL, read from the option lines the core wrote into
// <name>.ini. The wrapper declares them as <NAME>_<quad>_<pll>_OK, the core's name in capitals.
// Under a generation the file is still staged, and the staged bytes are what the run wrote.
QStringList pllStatusDefines(const QString &genDir, const QString &coreName)
{
    const QString path = QDir(genDir).filePath(coreName + QStringLiteral(".ini"));
    QByteArray bytes;
    const HostFiles::GenerationScope *scope = HostFiles::GenerationScope::current();
    if (!scope || !scope->batch().staged(path, &bytes)) {
        QFile ini(path);
        if (ini.size() > MaxIniBytes || !ini.open(QIODevice::ReadOnly))
            return {};
        bytes = ini.readAll();
    }
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList defines;
    for (const LaneOptions &lane : parseOptions(lines).lanes) {
        const Names::PllKind kind =
            Names::pllKindFromText(lane.values.value(QStringLiteral("pll_sel")));
        if (kind != Names::PllKind::Qpll0 && kind != Names::PllKind::Qpll1)
            continue;
        const QString define = QStringLiteral("%1_Q%2_%3_OK")
                                   .arg(coreName.toUpper())
                                   .arg(lane.quad)
                                   .arg(Names::pllKindName(kind));
        if (!defines.contains(define))
            defines << define;
    }
    return defines;
}

bool fail(QString &message, const QString &reason)
{
    message = QStringLiteral("synthesis: ") + reason;
    return false;
}

} // namespace

bool waitForRunSyntheSis(const DEV::DeviceArg &device, const ParameterMap &params,
                         const ParameterMap &ipInfo, const QStringList &sources,
                         const QString &name, QString &message, QObject * /*caller*/)
{
    if (device.isNull())
        return fail(message, QStringLiteral("no target device is set"));

    const QString dataDir = ipInfo.value(QStringLiteral("ipcore.dir.data")).toString();
    QJsonArray sourcePaths;
    for (const QString &source : sources) {
        const QFileInfo file(QDir(dataDir).filePath(source));
        if (dataDir.isEmpty() || !file.isFile())
            return fail(message,
                        QStringLiteral("source %1 not found in %2")
                            .arg(source, dataDir.isEmpty() ? QStringLiteral("(no data directory)")
                                                           : dataDir));
        sourcePaths.append(file.absoluteFilePath());
    }

    const QString module = params.value(QStringLiteral("module")).toString();
    const QString genDir = serdes::instance()->workingDir() + QLatin1Char('/') +
                           params.value(QStringLiteral("file")).toString() +
                           QStringLiteral("/temp/") + name;
    QString problem;
    HostFiles::GenerationScope *scope = HostFiles::GenerationScope::current();
    HostFiles::Target genTarget;
    const bool made = scope ? HostFiles::targetBelow(scope->root(), genDir, &genTarget, &problem) &&
                                  scope->batch().makeFolders(genTarget, &problem)
                            : QDir().mkpath(genDir);
    if (!made)
        return fail(message, QStringLiteral("cannot create %1%2")
                                 .arg(genDir, problem.isEmpty() ? QString() : ": " + problem));
    const QString includeDir = QDir::cleanPath(QFileInfo(genDir).absoluteFilePath());

    QJsonObject manifest;
    manifest.insert(QStringLiteral("device"), device.device());
    manifest.insert(QStringLiteral("deviceId"), device.id());
    manifest.insert(QStringLiteral("module"), module);
    manifest.insert(QStringLiteral("sources"), sourcePaths);
    manifest.insert(QStringLiteral("includeDir"), includeDir);
    manifest.insert(QStringLiteral("defines"),
                    QJsonArray::fromStringList(pllStatusDefines(genDir, name)));

    const QString manifestPath = QDir(genDir).filePath(name + ManifestSuffix);
    const QByteArray bytes = QJsonDocument(manifest).toJson(QJsonDocument::Indented);
    HostFiles::Target target;
    const bool written =
        scope ? HostFiles::targetBelow(scope->root(), manifestPath, &target, &problem) &&
                    scope->batch().stage(target, bytes, &problem)
              : HostFiles::writeFile(HostFiles::fileTarget(manifestPath), bytes, &problem);
    if (!written)
        return fail(message, QStringLiteral("cannot write %1: %2").arg(manifestPath, problem));

    message = QStringLiteral("synthesis: %1 on %2 (%3 sources) ready, manifest %4")
                  .arg(module, device.device(), QString::number(sources.size()),
                       QDir::cleanPath(QFileInfo(manifestPath).absoluteFilePath()));
    return true;
}

} // namespace IPSERDESIP
