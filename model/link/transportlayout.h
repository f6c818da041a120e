#pragma once

#include "transportverilog.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

// The pieces both transport modules are written from.
namespace IPJESD204B {
namespace TransportText {

QString slice(const QString &name, int hi, int lo);

QString number(int bits, int value);

// Bits of the generated signals that no expression reads; Verilator's lint leaves signals
// named "unused*" alone, so they are gathered into one.
class BitUse
{
public:
    void declare(const QString &name, int width) { m_used.insert(name, QVector<bool>(width)); }
    // Names not declared (outputs) are not tracked.
    void mark(const QString &name, int hi, int lo)
    {
        const auto it = m_used.find(name);
        for (int b = lo; it != m_used.end() && b <= hi; ++b)
            (*it)[b] = true;
    }
    QStringList unusedTerms() const
    {
        QStringList terms;
        for (auto it = m_used.cbegin(); it != m_used.cend(); ++it) {
            const QVector<bool> &bits = it.value();
            for (int hi = bits.size() - 1; hi >= 0; --hi) {
                if (bits[hi])
                    continue;
                int lo = hi;
                while (lo > 0 && !bits[lo - 1])
                    --lo;
                terms << (bits.size() == 1 ? it.key() : slice(it.key(), hi, lo));
                hi = lo;
            }
        }
        return terms;
    }

private:
    QMap<QString, QVector<bool>> m_used;
};

// Where a field of frame `frame` of a beat sits on the flat sample buses: converter-major,
// then sample in time (frame * S + s), N data or CS control bits each.
struct SampleBus
{
    const TransportMap &map;
    const TransportGeometry &geometry;
    QString data;
    QString control;

    int sampleIndex(const TransportField &field, int frame) const
    {
        return field.converter * geometry.framesPerBeat * map.samples + frame * map.samples +
               field.sample;
    }
    QString slice(const TransportField &field, int frame, BitUse *use) const
    {
        const bool isData = field.kind == TransportKind::Data;
        const int base = sampleIndex(field, frame) * (isData ? map.resolution : map.controlBits);
        const QString &name = isData ? data : control;
        use->mark(name, base + field.msb, base + field.lsb);
        return TransportText::slice(name, base + field.msb, base + field.lsb);
    }
    int dataWidth() const
    {
        return map.converters * geometry.framesPerBeat * map.samples * map.resolution;
    }
    int controlWidth() const
    {
        return map.converters * geometry.framesPerBeat * map.samples * map.controlBits;
    }
};

int bitsFor(int count);

struct Layout
{
    const TransportMap &map;
    TransportGeometry geometry;
    int wordBits() const { return 8 * map.lanes * geometry.octetsPerClock; }
    int phaseBits() const { return bitsFor(geometry.clocksPerPeriod); }
    // The beat starting within clock word q, or -1.
    int beatStarting(int q) const
    {
        const int p = geometry.octetsPerClock;
        const int first = (q * p + geometry.beatOctets() - 1) / geometry.beatOctets();
        return first * geometry.beatOctets() < (q + 1) * p ? first : -1;
    }
    // The beat whose last octet lies in clock word q, or -1.
    int beatEnding(int q) const
    {
        const int p = geometry.octetsPerClock;
        const int last = ((q + 1) * p) / geometry.beatOctets() - 1;
        return last >= 0 && (last + 1) * geometry.beatOctets() > q * p ? last : -1;
    }
};

QStringList header(const Layout &layout, const QString &what);

QString port(const char *direction, int width, const QString &name, bool last = false);

// The phase register shared by both directions: 0 in the clock the core marks as a
// multiframe start, counting clocks of the period otherwise.
QStringList phaseLines(const Layout &layout, const QString &marker);

QString caseLabel(const Layout &layout, int q);

QString unusedLine(const BitUse &use);

} // namespace TransportText
} // namespace IPJESD204B
