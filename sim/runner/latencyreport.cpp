#include "latencyreport.h"

#include <ilascompare.h>

#include <QMap>

namespace LinkSim {

namespace {

using Fields = QMap<QString, QString>;

// "TAG key=value ..." lines of the output in order, by tag.
QList<QPair<QString, Fields>> taggedLines(const QByteArray &output)
{
    QList<QPair<QString, Fields>> lines;
    for (const QString &line : QString::fromUtf8(output).split(QLatin1Char('\n'))) {
        const QStringList words = line.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || !words.first().startsWith(QLatin1String("JESD204B_")) ||
            words.first() == QLatin1String("JESD204B_SIM"))
            continue;
        Fields fields;
        for (const QString &word : words.mid(1))
            fields.insert(word.section(QLatin1Char('='), 0, 0), word.section(QLatin1Char('='), 1));
        lines.append({words.first(), fields});
    }
    return lines;
}

class Octets
{
public:
    explicit Octets(const IPSERDESIP::Ratio &laneRateMbps) : m_rate(laneRateMbps) {}
    // "24 octets (48.8 ns)"; without a lane rate "24 octets".
    QString operator()(long long octets) const
    {
        const QString count = QStringLiteral("%1 octets").arg(octets);
        if (!m_rate.isValid() || m_rate.isZero())
            return count;
        const IPSERDESIP::Ratio ns = IPSERDESIP::Ratio::fromInt(octets * 10000) / m_rate;
        return count + QStringLiteral(" (%1 ns)").arg(ns.toDouble(), 0, 'f', 1);
    }

private:
    IPSERDESIP::Ratio m_rate;
};

QString laneLine(const Fields &lane, const Octets &octets)
{
    const int margin = lane.value(QStringLiteral("margin")).toInt();
    QString line =
        QStringLiteral("lane %1: ILAS start %2 octets after the LMFC boundary, %3 "
                       "before the release point (octet %4)")
            .arg(lane.value(QStringLiteral("lane")), lane.value(QStringLiteral("arrival")),
                 octets(margin), lane.value(QStringLiteral("release")));
    if (lane.value(QStringLiteral("overflow")) == QLatin1String("1"))
        line += QStringLiteral(": elastic buffer overflow, the lane would hold %1 octets at the "
                               "release, its buffer %2")
                    .arg(margin + lane.value(QStringLiteral("octets_per_clock")).toInt())
                    .arg(lane.value(QStringLiteral("buffer")));
    return line;
}

} // namespace

QStringList latencyReport(const QByteArray &output, const IPSERDESIP::Ratio &laneRateMbps)
{
    const Octets octets(laneRateMbps);
    QStringList report;
    QStringList after; // crossings and refused fields, below the lanes and the margin
    int smallest = -1;
    QString latest;
    bool overflow = false;
    for (const auto &tagged : taggedLines(output)) {
        const Fields &f = tagged.second;
        if (tagged.first == QLatin1String("JESD204B_LANE")) {
            report << laneLine(f, octets);
            const int margin = f.value(QStringLiteral("margin")).toInt();
            if (smallest < 0 || margin < smallest) {
                smallest = margin;
                latest = f.value(QStringLiteral("lane"));
            }
            overflow = overflow || f.value(QStringLiteral("overflow")) == QLatin1String("1");
        } else if (tagged.first == QLatin1String("JESD204B_CROSSED")) {
            after << QStringLiteral("link-up %1: the channel delay grew by %2, beyond the margin "
                                    "of %3: the release point was crossed, the latency is %4 "
                                    "core clocks instead of %5")
                         .arg(f.value(QStringLiteral("linkup")),
                              octets(f.value(QStringLiteral("delay")).toInt()),
                              octets(f.value(QStringLiteral("margin")).toInt()),
                              f.value(QStringLiteral("latency")), f.value(QStringLiteral("first")));
        } else if (tagged.first == QLatin1String("JESD204B_ILAS")) {
            const auto expected =
                IPJESD204B::ilasOctetsFromText(f.value(QStringLiteral("expected")));
            const auto received =
                IPJESD204B::ilasOctetsFromText(f.value(QStringLiteral("received")));
            if (!expected || !received)
                continue;
            for (const QString &difference : IPJESD204B::ilasDifferences(*expected, *received))
                after << QStringLiteral("lane %1: %2")
                             .arg(f.value(QStringLiteral("lane")), difference);
        }
    }
    if (smallest >= 0)
        report << QStringLiteral("margin: %1 between the latest lane (%2) and the release point")
                      .arg(octets(smallest), latest);
    if (overflow)
        report << QStringLiteral("elastic buffer overflow: the lanes' skew exceeds what the "
                                 "buffer holds; the link does not come up");
    return report + after;
}

} // namespace LinkSim
