#include "linkplan.h"

#include "configuredlink.h"
#include "decimaltext.h"

namespace IPJESD204B {

namespace {

QString joined(const QVector<int> &values)
{
    QStringList texts;
    for (const int value : values)
        texts << QString::number(value);
    return texts.join(QStringLiteral(", "));
}

QString fractionText(const Ratio &value)
{
    const auto num = static_cast<long long>(value.numerator());
    const auto den = static_cast<long long>(value.denominator());
    return den == 1 ? QString::number(num) : QStringLiteral("%1/%2").arg(num).arg(den);
}

QString gbps(const Ratio &mbps)
{
    return decimalText(mbps / 1000) + QStringLiteral(" Gbps");
}

// "M * S * N' / (8 * L) = 2 * 1 * 16 / (8 * 3)", with the control words when there are any.
QString octetsPerFrameFormula(const LinkMode &mode)
{
    if (mode.controlWords == 0)
        return QStringLiteral("M * S * N' / (8 * L) = %1 * %2 * %3 / (8 * %4)")
            .arg(mode.converters)
            .arg(mode.samples)
            .arg(mode.bitsPerSample)
            .arg(mode.lanes);
    return QStringLiteral("(M * S + CF) * N' / (8 * L) = (%1 * %2 + %3) * %4 / (8 * %5)")
        .arg(mode.converters)
        .arg(mode.samples)
        .arg(mode.controlWords)
        .arg(mode.bitsPerSample)
        .arg(mode.lanes);
}

// The configuration the plan's lanes announce; values the plan could not derive stand at the
// lowest their field holds, so that only the values given are judged for width.
LinkConfig configOf(const LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    LinkConfig config;
    config.deviceId = mode.deviceId;
    config.bankId = mode.bankId;
    config.lanes = mode.lanes;
    // F beyond its width breaks the octets-per-frame rule, which names the legal range.
    const int f = plan.octetsPerFrame.value_or(1);
    config.octetsPerFrame = f <= MaxOctetsPerFrame ? f : 1;
    // K beyond its width already breaks the multiframe rule, which names the legal range.
    config.framesPerMultiframe = plan.framesPerMultiframe.value_or(1);
    config.converters = mode.converters;
    config.controlBits = mode.controlBits;
    config.resolution = mode.resolution;
    config.bitsPerSample = mode.bitsPerSample;
    config.samples = mode.samples;
    config.controlWords = mode.controlWords;
    config.highDensity = mode.highDensity.value_or(plan.highDensity.value_or(0));
    // A subclass beyond the defined ones breaks the subclass rule.
    config.subclass = mode.subclass >= 0 && mode.subclass <= 7 ? mode.subclass : CoreSubclass;
    config.scrambling = mode.scrambling ? 1 : 0;
    return config;
}

void checkSampleSize(LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    if (mode.controlWords == 0 && mode.resolution + mode.controlBits > mode.bitsPerSample) {
        plan.errors << QStringLiteral("Sample size: N = %1 and CS = %2 control bits need %3 bits, "
                                      "more than N' = %4; N' must be at least %3")
                           .arg(mode.resolution)
                           .arg(mode.controlBits)
                           .arg(mode.resolution + mode.controlBits)
                           .arg(mode.bitsPerSample);
    }
    if (mode.controlWords > 0 && mode.resolution > mode.bitsPerSample) {
        plan.errors << QStringLiteral("Sample size: N = %1 is more than N' = %2; N' must be at "
                                      "least %1")
                           .arg(mode.resolution)
                           .arg(mode.bitsPerSample);
    }
    const long long controlBits = 1LL * mode.converters * mode.samples * mode.controlBits;
    if (mode.controlWords > 0 && mode.bitsPerSample > 0 &&
        1LL * mode.controlWords * mode.bitsPerSample < controlBits) {
        plan.errors << QStringLiteral("Control words: CF = %1 words of N' = %2 bits cannot hold "
                                      "the M * S * CS = %3 control bits of a frame; CF must be at "
                                      "least %4")
                           .arg(mode.controlWords)
                           .arg(mode.bitsPerSample)
                           .arg(controlBits)
                           .arg((controlBits + mode.bitsPerSample - 1) / mode.bitsPerSample);
    }
}

void deriveOctetsPerFrame(LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    const Ratio exact = octetsPerFrameExact(mode);
    if (!exact.isValid())
        return;
    const QString formula = octetsPerFrameFormula(mode);
    if (!exact.isInteger()) {
        const QVector<int> lanes = lanesWithWholeF(mode);
        plan.errors << QStringLiteral("Octets per frame: F = %1 = %2 is not whole; %3")
                           .arg(formula, fractionText(exact),
                                lanes.isEmpty()
                                    ? QStringLiteral("no lane count from 1 to 32 makes it whole")
                                    : QStringLiteral("L = %1 make it whole").arg(joined(lanes)));
        return;
    }
    const int derived = static_cast<int>(exact.toInt());
    if (mode.octetsPerFrame && *mode.octetsPerFrame != derived) {
        plan.errors << QStringLiteral("Octets per frame: F = %1 was given, but %2 = %3; F must "
                                      "be %3")
                           .arg(*mode.octetsPerFrame)
                           .arg(formula)
                           .arg(derived);
    }
    plan.octetsPerFrame = derived;
}

void deriveHighDensity(LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    if (!plan.octetsPerFrame)
        return;
    const int f = *plan.octetsPerFrame;
    const bool required = sampleSpansLanes(f, mode.bitsPerSample);
    if (!mode.highDensity) {
        plan.highDensity = required ? 1 : 0;
        return;
    }
    if (*mode.highDensity == 0 && required) {
        plan.errors << QStringLiteral("High density: a sample of N' = %1 bits spans lanes, "
                                      "since a lane carries 8 * F = %2 bits per frame, no "
                                      "multiple of N'; HD = 0 is not allowed, HD must be 1")
                           .arg(mode.bitsPerSample)
                           .arg(8 * f);
    }
    if (*mode.highDensity == 0 || *mode.highDensity == 1)
        plan.highDensity = *mode.highDensity;
}

void deriveFramesPerMultiframe(LinkPlan &plan)
{
    if (!plan.octetsPerFrame)
        return;
    const int f = *plan.octetsPerFrame;
    const KRange range = framesPerMultiframeRange(f);
    plan.framesPerMultiframeRange = range;
    if (range.isEmpty()) {
        plan.errors << QStringLiteral("Frames per multiframe: no K meets 17 <= F * K <= 1024 and "
                                      "K <= 32 with F = %1")
                           .arg(f);
        return;
    }
    const std::optional<int> given = plan.mode.framesPerMultiframe;
    // A K out of range is the rule table's to report; the plan derives nothing from it.
    if (given && !range.contains(*given))
        return;
    plan.framesPerMultiframe = given.value_or(range.max);
}

QString laneRateRangeError(const LinkMode &mode, const Ratio &rate)
{
    const long long bits = frameBits(mode);
    QVector<int> lanes;
    for (const int l : lanesWithWholeF(mode)) {
        if (laneRateInRange(laneRateMbps(bits, mode.samples, l, mode.sampleRateMsps)))
            lanes.append(l);
    }
    const Ratio lowest = mode.sampleRateMsps * (minLaneRateMbps() / rate);
    const Ratio highest = mode.sampleRateMsps * (maxLaneRateMbps() / rate);
    QString text = QStringLiteral("Lane rate: %1 with L = %2 is outside the core's range of %3 to "
                                  "%4; ")
                       .arg(gbps(rate))
                       .arg(mode.lanes)
                       .arg(decimalText(minLaneRateMbps() / 1000), gbps(maxLaneRateMbps()));
    if (!lanes.isEmpty())
        text += QStringLiteral("L = %1 keep it in range with a whole F, or ").arg(joined(lanes));
    return text + QStringLiteral("Fs from %1 to %2 MSPS with L = %3")
                      .arg(decimalText(lowest), decimalText(highest))
                      .arg(mode.lanes);
}

void deriveClocks(LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    if (!mode.sampleRateMsps.isValid() || mode.sampleRateMsps.isZero()) {
        plan.errors << QStringLiteral("Sample rate: Fs must be a positive number of MSPS");
        return;
    }
    if (mode.lanes <= 0 || mode.samples <= 0 || frameBits(mode) <= 0)
        return;
    plan.laneRateMbps =
        laneRateMbps(frameBits(mode), mode.samples, mode.lanes, mode.sampleRateMsps);
    plan.deviceClocks = deviceClocks(plan.laneRateMbps);
    plan.frameClockMHz = frameClockMHz(mode.sampleRateMsps, mode.samples);
    if (plan.framesPerMultiframe) {
        plan.lmfcMHz = lmfcMHz(plan.frameClockMHz, *plan.framesPerMultiframe);
        plan.sysref = sysrefOptions(plan.lmfcMHz);
    }
}

void checkSysrefDivisor(LinkPlan &plan)
{
    const std::optional<int> n = plan.mode.sysrefDivisor;
    if (!n)
        return;
    if (*n < 1) {
        plan.errors << QStringLiteral("SYSREF: LMFC / %1 is no SYSREF; n must be a whole number "
                                      "of at least %2")
                           .arg(*n)
                           .arg(SafeSysrefDivisor);
    } else if (*n == 1 && plan.lmfcMHz.isValid()) {
        plan.warnings << QStringLiteral("SYSREF: LMFC / 1 = %1 MHz is legal but aligns at "
                                        "random in practice; LMFC / %2 = %3 MHz is safe")
                             .arg(decimalText(plan.lmfcMHz))
                             .arg(SafeSysrefDivisor)
                             .arg(decimalText(plan.lmfcMHz / SafeSysrefDivisor));
    }
}

// The rule table on the plan's values; rules on F * K wait for a whole F.
void judgeRules(LinkPlan &plan)
{
    const LinkMode &mode = plan.mode;
    ConfiguredLink link;
    link.octetsPerFrame = plan.octetsPerFrame.value_or(0);
    link.framesPerMultiframe =
        mode.framesPerMultiframe.value_or(plan.framesPerMultiframe.value_or(0));
    link.laneRateMbps = plan.laneRateMbps;
    link.bufferOctets = mode.bufferOctets;
    link.pcsBits = plan.pcsBits;
    link.subclass = mode.subclass;
    const QString laneRateTitle = QStringLiteral("Lane rate");
    for (const QString &problem : configuredLinkProblems(link)) {
        const QString title = ruleTitle(problem);
        if (title == laneRateTitle)
            plan.errors << laneRateRangeError(mode, plan.laneRateMbps);
        else if (plan.octetsPerFrame || title == QLatin1String("Subclass"))
            plan.errors << problem;
    }
}

void buildIlas(LinkPlan &plan)
{
    LinkConfig config = configOf(plan);
    for (int lane = 0; lane < plan.mode.lanes; ++lane) {
        config.laneId = lane;
        plan.ilas.append({lane, ilasConfigOctets(config)});
    }
}

} // namespace

QString elasticBufferError(int bufferOctets, int octetsPerFrame, int framesPerMultiframe)
{
    const int multiframe = octetsPerFrame * framesPerMultiframe;
    if (bufferOctets >= multiframe)
        return {};
    QString text = QStringLiteral("Elastic buffer: %1 octets do not hold one multiframe of F * K "
                                  "= %2 * %3 = %4 octets; the buffer must have at least %4 octets")
                       .arg(bufferOctets)
                       .arg(octetsPerFrame)
                       .arg(framesPerMultiframe)
                       .arg(multiframe);
    const int largestK = octetsPerFrame > 0 ? bufferOctets / octetsPerFrame : 0;
    if (largestK >= framesPerMultiframeRange(octetsPerFrame).min)
        text += QStringLiteral(", or K at most %1").arg(largestK);
    return text;
}

LinkPlan planLink(const LinkMode &mode)
{
    LinkPlan plan;
    plan.mode = mode;
    plan.pcsBits = mode.pcsBits.value_or(32);
    checkSampleSize(plan);
    deriveOctetsPerFrame(plan);
    deriveHighDensity(plan);
    deriveFramesPerMultiframe(plan);
    deriveClocks(plan);
    judgeRules(plan);
    checkSysrefDivisor(plan);
    plan.errors = linkConfigFieldErrors(configOf(plan)) + plan.errors;
    if (plan.isValid())
        buildIlas(plan);
    return plan;
}

} // namespace IPJESD204B
