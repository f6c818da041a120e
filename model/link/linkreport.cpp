#include "linkreport.h"

#include "decimaltext.h"

#include <QJsonArray>

namespace IPJESD204B {

namespace {

QJsonValue number(const std::optional<int> &value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue number(const Ratio &value)
{
    return value.isValid() ? QJsonValue(value.toDouble()) : QJsonValue();
}

QJsonArray textArray(const QStringList &texts)
{
    QJsonArray array;
    for (const QString &text : texts)
        array.append(text);
    return array;
}

QJsonArray ilasArray(const QVector<LaneIlas> &lanes)
{
    QJsonArray array;
    for (const LaneIlas &lane : lanes) {
        QJsonArray octets;
        for (const quint8 octet : lane.octets)
            octets.append(static_cast<int>(octet));
        array.append(
            QJsonObject{{QStringLiteral("lane"), lane.lane}, {QStringLiteral("octets"), octets}});
    }
    return array;
}

QString sysrefLine(const QVector<SysrefOption> &options)
{
    QStringList parts;
    for (const SysrefOption &option : options)
        parts << QStringLiteral("LMFC/%1 %2")
                     .arg(option.divisor)
                     .arg(decimalText(option.frequencyMHz));
    return QStringLiteral("SYSREF (MHz): ") + parts.join(QStringLiteral(", "));
}

QString hexOctet(quint8 octet)
{
    return QStringLiteral("%1").arg(octet, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString ilasHexText(const IlasOctets &octets)
{
    QStringList bytes;
    for (const quint8 octet : octets)
        bytes << hexOctet(octet);
    return bytes.join(QLatin1Char(' '));
}

QJsonObject linkPlanToJson(const LinkPlan &plan)
{
    QJsonObject object;
    object.insert(QStringLiteral("F"), number(plan.octetsPerFrame));
    object.insert(QStringLiteral("HD"), number(plan.highDensity));
    object.insert(QStringLiteral("K"), number(plan.framesPerMultiframe));
    const KRange range = plan.framesPerMultiframeRange;
    object.insert(QStringLiteral("kMin"), range.isEmpty() ? QJsonValue() : QJsonValue(range.min));
    object.insert(QStringLiteral("kMax"), range.isEmpty() ? QJsonValue() : QJsonValue(range.max));
    object.insert(QStringLiteral("laneRateGbps"),
                  number(plan.laneRateMbps.isValid() ? plan.laneRateMbps / 1000 : Ratio()));
    object.insert(QStringLiteral("frameClockMHz"), number(plan.frameClockMHz));
    object.insert(QStringLiteral("lmfcMHz"), number(plan.lmfcMHz));
    QJsonArray sysref;
    for (const SysrefOption &option : plan.sysref)
        sysref.append(option.frequencyMHz.toDouble());
    object.insert(QStringLiteral("sysrefMHz"), sysref);
    QJsonObject device;
    for (const DeviceClock &clock : plan.deviceClocks)
        device.insert(QString::number(clock.pcsBits), clock.frequencyMHz.toDouble());
    object.insert(QStringLiteral("deviceClockMHz"), device);
    object.insert(QStringLiteral("ilas"), ilasArray(plan.ilas));
    object.insert(QStringLiteral("clocking"), QJsonArray());
    object.insert(QStringLiteral("errors"), textArray(plan.errors));
    object.insert(QStringLiteral("warnings"), textArray(plan.warnings));
    return object;
}

QStringList linkPlanReport(const LinkPlan &plan)
{
    QStringList lines;
    if (plan.octetsPerFrame)
        lines << QStringLiteral("F (octets per frame): %1").arg(*plan.octetsPerFrame);
    if (plan.highDensity)
        lines << QStringLiteral("HD (high density): %1").arg(*plan.highDensity);
    const KRange range = plan.framesPerMultiframeRange;
    if (!range.isEmpty())
        lines << QStringLiteral("K range: %1 to %2").arg(range.min).arg(range.max);
    if (plan.framesPerMultiframe)
        lines << QStringLiteral("K (frames per multiframe): %1").arg(*plan.framesPerMultiframe);
    if (plan.laneRateMbps.isValid())
        lines << QStringLiteral("Lane rate: %1 Gbps").arg(decimalText(plan.laneRateMbps / 1000));
    if (plan.frameClockMHz.isValid())
        lines << QStringLiteral("Frame clock: %1 MHz").arg(decimalText(plan.frameClockMHz));
    if (plan.lmfcMHz.isValid())
        lines << QStringLiteral("LMFC: %1 MHz").arg(decimalText(plan.lmfcMHz));
    if (!plan.sysref.isEmpty())
        lines << sysrefLine(plan.sysref);
    for (const DeviceClock &clock : plan.deviceClocks) {
        lines << QStringLiteral("Device clock, %1-bit PCS: %2 MHz")
                     .arg(clock.pcsBits)
                     .arg(decimalText(clock.frequencyMHz));
    }
    for (const LaneIlas &lane : plan.ilas) {
        lines << QStringLiteral("ILAS lane %1: %2 (FCHK %3)")
                     .arg(lane.lane)
                     .arg(ilasHexText(lane.octets))
                     .arg(hexOctet(lane.octets.back()));
    }
    return lines;
}

} // namespace IPJESD204B
