#include "transportlayout.h"

#include <numeric>

namespace IPJESD204B {

TransportGeometry transportGeometry(int octetsPerFrame, int octetsPerClock)
{
    TransportGeometry g;
    g.octetsPerFrame = octetsPerFrame;
    g.octetsPerClock = octetsPerClock;
    const int period = std::lcm(octetsPerFrame, octetsPerClock);
    const int frames = period / octetsPerFrame;
    g.clocksPerPeriod = period / octetsPerClock;
    g.framesPerBeat = frames;
    for (int d = 1; d <= frames; ++d) {
        if (frames % d == 0 && d * octetsPerFrame >= octetsPerClock) {
            g.framesPerBeat = d;
            break;
        }
    }
    g.beatsPerPeriod = frames / g.framesPerBeat;
    return g;
}

namespace TransportText {

QString slice(const QString &name, int hi, int lo)
{
    return hi == lo ? QStringLiteral("%1[%2]").arg(name).arg(hi)
                    : QStringLiteral("%1[%2:%3]").arg(name).arg(hi).arg(lo);
}

QString number(int bits, int value)
{
    return QStringLiteral("%1'd%2").arg(bits).arg(value);
}

int bitsFor(int count)
{
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

QStringList header(const Layout &layout, const QString &what)
{
    const TransportMap &map = layout.map;
    const TransportGeometry &g = layout.geometry;
    const int perBeat = g.framesPerBeat * map.samples;
    QStringList lines{
        QStringLiteral("// %1, L=%2 M=%3 F=%4 S=%5 N=%6 N'=%7 CS=%8,")
            .arg(what)
            .arg(map.lanes)
            .arg(map.converters)
            .arg(map.octetsPerFrame)
            .arg(map.samples)
            .arg(map.resolution)
            .arg(map.bitsPerSample)
            .arg(map.controlBits),
        QStringLiteral("// %1 octets per lane and clock; %2 beat(s) of %3 frame(s) every %4 "
                       "clock(s).")
            .arg(g.octetsPerClock)
            .arg(g.beatsPerPeriod)
            .arg(g.framesPerBeat)
            .arg(g.clocksPerPeriod),
        QStringLiteral("// Sample t of a beat (0 first in time) of converter m:"),
        QStringLiteral("//   data    sample_data[(m*%1 + t)*%2 +: %2]")
            .arg(perBeat)
            .arg(map.resolution)};
    if (map.controlBits > 0)
        lines << QStringLiteral("//   control sample_ctrl[(m*%1 + t)*%2 +: %2]")
                     .arg(perBeat)
                     .arg(map.controlBits);
    lines << QStringLiteral("// Octet i of lane l in a clock: [(l*%1 + i)*8 +: 8], octet 0 first. "
                            "Tail bits")
                 .arg(g.octetsPerClock)
          << QStringLiteral("// are sent as zeros and ignored on receive.");
    return lines;
}

QString port(const char *direction, int width, const QString &name, bool last)
{
    const QString range = width > 1 ? QStringLiteral("[%1:0] ").arg(width - 1) : QString();
    return QStringLiteral("    %1 %2%3%4")
        .arg(QLatin1String(direction), range, name, last ? QString() : QStringLiteral(","));
}

QStringList phaseLines(const Layout &layout, const QString &marker)
{
    const int bits = layout.phaseBits();
    const int last = layout.geometry.clocksPerPeriod - 1;
    return {
        QStringLiteral("    reg  [%1:0] phase_q;").arg(bits - 1),
        QStringLiteral("    wire [%1:0] phase_now = %2 ? %3 : phase_q;")
            .arg(bits - 1)
            .arg(marker, number(bits, 0)),
        QStringLiteral("    wire [%1:0] phase_next = phase_now == %2 ? %3 : phase_now + %4;")
            .arg(bits - 1)
            .arg(number(bits, last), number(bits, 0), number(bits, 1)),
    };
}

QString caseLabel(const Layout &layout, int q)
{
    return q == layout.geometry.clocksPerPeriod - 1 ? QStringLiteral("default")
                                                    : number(layout.phaseBits(), q);
}

QString unusedLine(const BitUse &use)
{
    const QStringList terms = use.unusedTerms();
    return terms.isEmpty() ? QString()
                           : QStringLiteral("    wire unused_bits = ^{\n        %1};")
                                 .arg(terms.join(QStringLiteral(",\n        ")));
}

} // namespace TransportText
} // namespace IPJESD204B
