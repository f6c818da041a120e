#include "configuredlink.h"

#include "decimaltext.h"
#include "linkclocks.h"
#include "linkmode.h"
#include "linkplan.h"

namespace IPJESD204B {

namespace {

bool frameSizeKnown(const ConfiguredLink &link)
{
    return link.octetsPerFrame >= 1 && link.octetsPerFrame <= MaxOctetsPerFrame;
}

QString octetsPerFrame(const ConfiguredLink &link)
{
    if (frameSizeKnown(link))
        return {};
    return QStringLiteral("Octets per frame: F = %1 is outside 1 to %2")
        .arg(link.octetsPerFrame)
        .arg(MaxOctetsPerFrame);
}

QString framesPerMultiframe(const ConfiguredLink &link)
{
    const int f = link.octetsPerFrame;
    const int k = link.framesPerMultiframe;
    const KRange range = framesPerMultiframeRange(f);
    if (!frameSizeKnown(link) || range.contains(k))
        return {};
    return QStringLiteral("Frames per multiframe: K = %1 is out of range for F = %2; 17 <= F * K "
                          "<= 1024 and K <= 32 allow K = %3 to %4")
        .arg(k)
        .arg(f)
        .arg(range.min)
        .arg(range.max);
}

// A multiframe is judged further only with F and K in range: a K out of range is reported
// on its own, not again as words or buffer octets.
bool multiframeKnown(const ConfiguredLink &link)
{
    return frameSizeKnown(link) &&
           framesPerMultiframeRange(link.octetsPerFrame).contains(link.framesPerMultiframe);
}

// The core finds the multiframe edges on its PCS words, so a multiframe that ends inside a
// word cannot be tracked at that width.
QString pcsWords(const ConfiguredLink &link)
{
    if (!link.pcsBits || !multiframeKnown(link))
        return {};
    const int word = *link.pcsBits / 8;
    const int octets = link.octetsPerFrame * link.framesPerMultiframe;
    if (octets % word == 0)
        return {};
    return QStringLiteral("PCS width: a multiframe of F * K = %1 octets is no whole number of "
                          "%2-octet words of the %3-bit PCS, so the core cannot track it")
        .arg(octets)
        .arg(word)
        .arg(*link.pcsBits);
}

QString elasticBuffer(const ConfiguredLink &link)
{
    if (!link.bufferOctets || !multiframeKnown(link))
        return {};
    return elasticBufferError(*link.bufferOctets, link.octetsPerFrame, link.framesPerMultiframe);
}

QString subclass(const ConfiguredLink &link)
{
    if (!link.subclass || *link.subclass == CoreSubclass)
        return {};
    const int value = *link.subclass;
    const QString what = value >= 0 && value <= 2 ? QStringLiteral("the core works in subclass 1")
                                                  : QStringLiteral("JESD204B defines 0 to 2");
    return QStringLiteral("Subclass: SUBCLASSV = %1 is not allowed; %2").arg(value).arg(what);
}

QString laneRate(const ConfiguredLink &link)
{
    if (!link.laneRateMbps.isValid() || laneRateInRange(link.laneRateMbps))
        return {};
    return QStringLiteral("Lane rate: %1 Gbps is outside the core's range of %2 to %3 Gbps")
        .arg(decimalText(link.laneRateMbps / 1000), decimalText(minLaneRateMbps() / 1000),
             decimalText(maxLaneRateMbps() / 1000));
}

} // namespace

const QVector<LinkRule> &linkRules()
{
    static const QVector<LinkRule> rules{
        {"Octets per frame", octetsPerFrame},
        {"Frames per multiframe", framesPerMultiframe},
        {"PCS width", pcsWords},
        {"Elastic buffer", elasticBuffer},
        {"Subclass", subclass},
        {"Lane rate", laneRate},
    };
    return rules;
}

QStringList configuredLinkProblems(const ConfiguredLink &link)
{
    QStringList problems;
    for (const LinkRule &rule : linkRules()) {
        const QString problem = rule.judge(link);
        if (!problem.isEmpty())
            problems << problem;
    }
    return problems;
}

QString ruleTitle(const QString &problem)
{
    return problem.section(QLatin1Char(':'), 0, 0);
}

} // namespace IPJESD204B
