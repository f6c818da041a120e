#include "linksettings.h"

#include "transportsources.h"

namespace LinkSim {

const std::vector<LinkField> &linkFields()
{
    static const std::vector<LinkField> fields{
        {"f", "F", 1, 256, "octets per frame (default: the set's)"},
        {"k", "K", 1, 32, "frames per multiframe (default: the set's)"},
        {"scrambling", "SCR", 0, 1, "scrambling off (0) or on (1) (default: the set's)"},
        {"m", "M", 1, 256, "converters"},
        {"n", "N", 1, 32, "converter resolution"},
        {"np", "NP", 1, 32, "bits per sample (N')"},
        {"s", "S", 1, 32, "samples per converter and frame"},
        {"cs", "CS", 0, 3, "control bits per sample"},
        {"cf", "CF", 0, 31, "control words per frame"},
        {"hd", "HD", 0, 1, "high-density format"},
        {"did", "DID", 0, 255, "device id"},
        {"bid", "BID", 0, 15, "bank id"},
    };
    return fields;
}

QMap<QString, int> defaultLinkParams(int f, int lanes)
{
    const int np = (f * lanes) % 2 == 0 ? 16 : 8;
    int s = 1;
    int m = 8 * f * lanes / (np * s);
    while (m > 256 && m % 2 == 0 && s < 32) {
        s *= 2;
        m /= 2;
    }
    return {{QStringLiteral("M"), m},
            {QStringLiteral("N"), np},
            {QStringLiteral("NP"), np},
            {QStringLiteral("S"), s},
            {QStringLiteral("CS"), 0},
            {QStringLiteral("CF"), 0},
            {QStringLiteral("HD"), np > 8 * f ? 1 : 0},
            {QStringLiteral("DID"), 0},
            {QStringLiteral("BID"), 0}};
}

QMap<QString, int> effectiveLinkParams(const CoreShape &shape, const QMap<QString, int> &overrides)
{
    QMap<QString, int> framing = overrides;
    if (shape.fixed) {
        framing.remove(QStringLiteral("F"));
        framing.remove(QStringLiteral("SCR"));
    }
    const int f = framing.value(QStringLiteral("F"), shape.f);
    QMap<QString, int> params = defaultLinkParams(f, shape.lanes);
    params.insert(QStringLiteral("F"), f);
    params.insert(QStringLiteral("K"), shape.k);
    params.insert(QStringLiteral("SCR"), shape.scrambling ? 1 : 0);
    for (auto it = framing.cbegin(); it != framing.cend(); ++it)
        params.insert(it.key(), it.value());
    return params;
}

QString checkRun(const CoreShape &shape, const RunSettings &settings)
{
    const QMap<QString, int> params = effectiveLinkParams(shape, settings.overrides);
    const int f = params.value(QStringLiteral("F"));
    const int k = params.value(QStringLiteral("K"));
    const int p = shape.octetsPerClock();
    if (f * k < 17 || (f * k) % p != 0)
        return QStringLiteral("F=%1 K=%2: the model needs F*K of at least 17 and a multiple of "
                              "%3 (octets per lane and clock)")
            .arg(f)
            .arg(k)
            .arg(p);
    if (settings.samples && settings.pattern != TestPattern::None)
        return QStringLiteral("--samples checks the converters' samples; it does not go with "
                              "--test-pattern");
    QString error;
    if (settings.samples && testbenchTransport(shape, settings, &error).isEmpty())
        return error;
    if (settings.injectLane >= shape.lanes)
        return QStringLiteral("--inject-error %1: the core has %2 lanes")
            .arg(settings.injectLane)
            .arg(shape.lanes);
    return QString();
}

QStringList testbenchConfig(const CoreShape &shape, const RunSettings &settings)
{
    QStringList lines{QStringLiteral("// Written by ipcore-host simulate.")};
    const auto define = [&lines](const QString &name, const QString &value) {
        lines << QStringLiteral("`define TB_%1 %2").arg(name, value);
    };
    const auto number = [&define](const QString &name, int value) {
        define(name, QStringLiteral("(%1)").arg(value));
    };
    number(QStringLiteral("FRAMES"), settings.frames);
    number(QStringLiteral("SKEW"), settings.laneSkew);
    number(QStringLiteral("RESYNCS"), settings.resyncs);
    number(QStringLiteral("INJECT"), settings.injectLane);
    number(QStringLiteral("RBD"), settings.rbd);
    number(QStringLiteral("DELAY_VAR"), settings.delayVariation);
    if (settings.txDeviceId >= 0)
        number(QStringLiteral("TX_DID"), settings.txDeviceId);
    number(QStringLiteral("TEST_MODE"), static_cast<int>(settings.pattern));
    const QMap<QString, int> params = effectiveLinkParams(shape, settings.overrides);
    for (const LinkField &field : linkFields())
        number(QLatin1String(field.define), params.value(QLatin1String(field.define)));
    if (settings.samples) {
        define(QStringLiteral("SAMPLES"), QString());
        number(QStringLiteral("SB"), samplesPerBeat(shape, settings));
        if (params.value(QStringLiteral("CS")) > 0)
            define(QStringLiteral("SAMPLE_CS"), QString());
    }
    if (settings.dumpLanes)
        define(QStringLiteral("DUMP"), QLatin1Char('"') + laneDumpName() + QLatin1Char('"'));
    if (settings.vcd)
        define(QStringLiteral("VCD"), QLatin1Char('"') + waveformName() + QLatin1Char('"'));
    return lines;
}

} // namespace LinkSim
