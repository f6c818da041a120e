#include "transportmap.h"

#include <QJsonObject>

namespace IPJESD204B {

namespace {

// Kind and bit index inside the kind of bit b (0 = first) of an N'-bit sample.
TransportField sampleBit(const TransportMap &map, int b)
{
    TransportField field;
    if (b < map.resolution) {
        field.kind = TransportKind::Data;
        field.msb = map.resolution - 1 - b;
    } else if (b < map.resolution + map.controlBits) {
        field.kind = TransportKind::Control;
        field.msb = map.controlBits - 1 - (b - map.resolution);
    } else {
        field.kind = TransportKind::Tail;
        field.msb = map.bitsPerSample - 1 - b;
    }
    field.lsb = field.msb;
    return field;
}

TransportOctet octetOf(const TransportMap &map, int frameOctet)
{
    TransportOctet octet;
    octet.lane = frameOctet / map.octetsPerFrame;
    octet.octet = frameOctet % map.octetsPerFrame;
    for (int z = 8 * frameOctet; z < 8 * frameOctet + 8; ++z) {
        const int index = z / map.bitsPerSample;
        TransportField bit = sampleBit(map, z % map.bitsPerSample);
        bit.converter = index / map.samples;
        bit.sample = index % map.samples;
        if (!octet.fields.isEmpty()) {
            TransportField &last = octet.fields.last();
            if (last.converter == bit.converter && last.sample == bit.sample &&
                last.kind == bit.kind && last.lsb == bit.msb + 1) {
                last.lsb = bit.lsb;
                continue;
            }
        }
        octet.fields.append(bit);
    }
    return octet;
}

QString shapeError(const LinkMode &mode, int octetsPerFrame)
{
    if (mode.controlWords > 0)
        return QStringLiteral("Transport layer: control words (CF > 0) are not supported");
    if (mode.lanes <= 0 || mode.converters <= 0 || mode.samples <= 0 || mode.resolution <= 0 ||
        mode.controlBits < 0 || octetsPerFrame <= 0 ||
        mode.resolution + mode.controlBits > mode.bitsPerSample)
        return QStringLiteral("Transport layer: N + CS must fit in N', and L, M, S, N and F "
                              "must be positive");
    if (frameBits(mode) != 8LL * mode.lanes * octetsPerFrame)
        return QStringLiteral("Transport layer: M * S * N' = %1 bits do not fill L * F = %2 "
                              "octets")
            .arg(frameBits(mode))
            .arg(mode.lanes * octetsPerFrame);
    return QString();
}

} // namespace

TransportMap transportMap(const LinkMode &mode, int octetsPerFrame)
{
    TransportMap map;
    map.error = shapeError(mode, octetsPerFrame);
    if (!map.isValid())
        return map;
    map.lanes = mode.lanes;
    map.octetsPerFrame = octetsPerFrame;
    map.converters = mode.converters;
    map.samples = mode.samples;
    map.resolution = mode.resolution;
    map.controlBits = mode.controlBits;
    map.bitsPerSample = mode.bitsPerSample;
    for (int k = 0; k < map.lanes * octetsPerFrame; ++k)
        map.octets.append(octetOf(map, k));
    return map;
}

QString transportFieldText(const TransportField &field)
{
    static const char letters[] = {'D', 'C', 'T'};
    const QString range = field.msb == field.lsb
                              ? QString::number(field.msb)
                              : QStringLiteral("%1:%2").arg(field.msb).arg(field.lsb);
    return QStringLiteral("C%1 S%2 %3[%4]")
        .arg(field.converter)
        .arg(field.sample)
        .arg(QLatin1Char(letters[static_cast<int>(field.kind)]))
        .arg(range);
}

QStringList transportMapReport(const TransportMap &map)
{
    if (!map.isValid())
        return {map.error};
    QStringList lines;
    for (const TransportOctet &octet : map.octets) {
        QStringList fields;
        for (const TransportField &field : octet.fields)
            fields << transportFieldText(field);
        lines << QStringLiteral("lane %1 octet %2: %3")
                     .arg(octet.lane)
                     .arg(octet.octet)
                     .arg(fields.join(QStringLiteral(", ")));
    }
    return lines;
}

QJsonArray transportMapToJson(const TransportMap &map)
{
    static const char *const kinds[] = {"data", "control", "tail"};
    QJsonArray octets;
    for (const TransportOctet &octet : map.octets) {
        QJsonArray fields;
        for (const TransportField &field : octet.fields)
            fields.append(QJsonObject{
                {QStringLiteral("converter"), field.converter},
                {QStringLiteral("sample"), field.sample},
                {QStringLiteral("kind"), QLatin1String(kinds[static_cast<int>(field.kind)])},
                {QStringLiteral("msb"), field.msb},
                {QStringLiteral("lsb"), field.lsb}});
        octets.append(QJsonObject{{QStringLiteral("lane"), octet.lane},
                                  {QStringLiteral("octet"), octet.octet},
                                  {QStringLiteral("fields"), fields}});
    }
    return octets;
}

} // namespace IPJESD204B
