#include "plansysref.h"

#include "linkparameters.h"
#include "pluginloader.h"

#include <decimaltext.h>
#include <linkrecord.h>
#include <services/inputfile.h>
#include <sysref.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace HostProgram {

namespace {

using IPJESD204B::decimalText;

QString linkName(const SysrefLink &link)
{
    return link.name.isEmpty() ? QStringLiteral("this link") : link.name;
}

// Why the instance's link is unknown; empty when *lmfc holds it.
QString instanceLink(const QDir &folder, const QString &instance, Ratio *lmfc)
{
    const QString file = instance.section(QLatin1Char(':'), 0, -2);
    if (file.isEmpty() || file == QLatin1String(".") || file == QLatin1String("..") ||
        file.contains(QLatin1Char('/')) || file.contains(QLatin1Char('\\')))
        return QStringLiteral("its name gives no parameter set");
    const QString setPath = folder.filePath(file + QStringLiteral(".json"));
    QString error;
    const std::optional<IPJESD204B::LinkRecord> record =
        IPJESD204B::readLinkRecord(setPath, &error);
    if (!error.isEmpty())
        return error;
    if (!record)
        return QStringLiteral("no link record %1")
            .arg(QFileInfo(IPJESD204B::linkRecordPath(setPath)).fileName());
    QByteArray contents;
    *lmfc = IPSERDESIP::readInputFile(setPath, &contents, &error)
                ? storedLmfcMHz(
                      storedLinkOf(QJsonDocument::fromJson(contents).object().toVariantMap()).link)
                : Ratio();
    return lmfc->isValid() ? QString()
                           : QStringLiteral("%1 gives no lane rate, F and K")
                                 .arg(QFileInfo(setPath).fileName());
}

} // namespace

QVector<Ratio> lmfcsOf(const QVector<SysrefLink> &links)
{
    QVector<Ratio> lmfcs;
    for (const SysrefLink &link : links)
        lmfcs << link.lmfcMHz;
    return lmfcs;
}

Ratio storedLmfcMHz(const IPJESD204B::ConfiguredLink &link)
{
    if (!link.laneRateMbps.isValid() || link.laneRateMbps.isZero() || link.octetsPerFrame <= 0 ||
        link.framesPerMultiframe <= 0)
        return {};
    return link.laneRateMbps /
           (10LL * link.octetsPerFrame * static_cast<long long>(link.framesPerMultiframe));
}

DesignLinks designLinks(const QString &designPath, const QString &except)
{
    DesignLinks design;
    QByteArray contents;
    QString error;
    if (!IPSERDESIP::readInputFile(designPath, &contents, &error))
        return design;
    const QDir folder = QFileInfo(designPath).absoluteDir();
    const QJsonArray instances =
        QJsonDocument::fromJson(contents).object().value(QStringLiteral("instances")).toArray();
    for (const QJsonValue &entry : instances) {
        const QJsonObject instance = entry.toObject();
        const QString name = instance.value(QStringLiteral("name")).toString();
        if (name == except || instance.value(QStringLiteral("protocol"))
                                      .toString()
                                      .compare(jesd204bId(), Qt::CaseInsensitive) != 0)
            continue;
        SysrefLink link{name, {}};
        const QString why = instanceLink(folder, name, &link.lmfcMHz);
        if (why.isEmpty())
            design.links << link;
        else
            design.leftOut << QStringLiteral("Design link %1: %2, left out").arg(name, why);
    }
    return design;
}

QString noCommonSysrefText(const QVector<SysrefLink> &links, const Ratio &deviceClockMHz)
{
    const IPJESD204B::CommonSysref common =
        IPJESD204B::commonSysref(lmfcsOf(links), deviceClockMHz);
    if (common.breaker < 0)
        return QString();
    const SysrefLink &breaker = links.at(common.breaker);
    return QStringLiteral("SYSREF: the %1 links share none from device clock %2 MHz / %3 = %4 "
                          "MHz up; %5 (LMFC %6 MHz) breaks it, leaving %7 MHz / n")
        .arg(links.size())
        .arg(decimalText(deviceClockMHz))
        .arg(IPJESD204B::MaxSysrefClockDivider)
        .arg(decimalText(common.slowestMHz), linkName(breaker), decimalText(breaker.lmfcMHz),
             decimalText(
                 IPJESD204B::commonSysrefBaseMHz(lmfcsOf(links.mid(0, common.breaker + 1)))));
}

QStringList commonSysrefLines(const QVector<SysrefLink> &links, const Ratio &deviceClockMHz)
{
    QStringList lines;
    for (const SysrefLink &link : links.mid(1))
        lines << QStringLiteral("Design link %1: LMFC %2 MHz")
                     .arg(link.name, decimalText(link.lmfcMHz));
    const QString none = noCommonSysrefText(links, deviceClockMHz);
    if (!none.isEmpty())
        return lines << none;
    QStringList frequencies;
    for (const IPJESD204B::SysrefOption &option :
         IPJESD204B::commonSysref(lmfcsOf(links), deviceClockMHz).options)
        frequencies << decimalText(option.frequencyMHz);
    return lines << QStringLiteral("SYSREF common to the %1 links (MHz): %2")
                        .arg(links.size())
                        .arg(frequencies.join(QStringLiteral(", ")));
}

QString designSysrefWarning(const QString &designPath, const QString &instance,
                            const IPSERDESIP::ParameterMap &params)
{
    const IPJESD204B::ConfiguredLink link = storedLinkOf(params).link;
    const Ratio lmfc = storedLmfcMHz(link);
    if (!lmfc.isValid())
        return QString();
    const long long octetsPerClock = link.pcsBits.value_or(32) / 8;
    QVector<SysrefLink> links{{QString(), lmfc}};
    links += designLinks(designPath, instance).links;
    return noCommonSysrefText(links, link.laneRateMbps / (10 * octetsPerClock));
}

} // namespace HostProgram
