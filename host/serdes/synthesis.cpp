#include "devicedb.h"
#include "serdes.h"
#include "serdesfunctions.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

// The reference host cannot run a vendor synthesis tool. Its synthesis step proves that the
// job could run (device known, every source present) and leaves a manifest that names
// everything a synthesis run needs.
namespace IPSERDESIP {

namespace {

const QString ManifestSuffix = QStringLiteral("_synthesis.json");

// Quad PLL status ports of the top-level wrapper that a parameter set needs: one per quad in
// use, for the quad PLL it selects. The wrapper declares them as <CORE>_<quad>_<pll>_OK, the
// core's name in capitals.
QStringList pllStatusDefines(const ParameterMap &params, const QString &coreName)
{
    const QString pll = params.value(QStringLiteral("PLL_Selection")).toString();
    if (pll != QLatin1String("QPLL0") && pll != QLatin1String("QPLL1"))
        return {};
    const QStringList lanes = params.value(QStringLiteral("recordlanes")).toStringList();
    QStringList defines;
    for (const QString &quad : {QStringLiteral("Q0"), QStringLiteral("Q1")}) {
        const bool inUse = std::any_of(lanes.begin(), lanes.end(), [&quad](const QString &lane) {
            return lane.contains(quad);
        });
        if (inUse)
            defines << QStringLiteral("%1_%2_%3_OK").arg(coreName.toUpper(), quad, pll);
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
    if (!QDir().mkpath(genDir))
        return fail(message, QStringLiteral("cannot create %1").arg(genDir));
    const QString includeDir = QDir::cleanPath(QFileInfo(genDir).absoluteFilePath());

    QJsonObject manifest;
    manifest.insert(QStringLiteral("device"), device.device());
    manifest.insert(QStringLiteral("deviceId"), device.id());
    manifest.insert(QStringLiteral("module"), module);
    manifest.insert(QStringLiteral("sources"), sourcePaths);
    manifest.insert(QStringLiteral("includeDir"), includeDir);
    manifest.insert(QStringLiteral("defines"),
                    QJsonArray::fromStringList(pllStatusDefines(params, name)));

    const QString manifestPath = QDir(genDir).filePath(name + ManifestSuffix);
    QSaveFile out(manifestPath);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(QJsonDocument(manifest).toJson(QJsonDocument::Indented)) < 0 || !out.commit())
        return fail(message,
                    QStringLiteral("cannot write %1: %2").arg(manifestPath, out.errorString()));

    message = QStringLiteral("synthesis: %1 on %2 (%3 sources) ready, manifest %4")
                  .arg(module, device.device(), QString::number(sources.size()),
                       QDir::cleanPath(QFileInfo(manifestPath).absoluteFilePath()));
    return true;
}

} // namespace IPSERDESIP
