#include "linkconfig.h"

namespace IPJESD204B {

namespace {

int encoded(const LinkConfigField &field, const LinkConfig &config)
{
    const int mask = (1 << field.bits) - 1;
    return (config.*field.value - field.offset) & mask;
}

const LinkConfigField &fieldNamed(const char *name)
{
    for (const LinkConfigField &field : linkConfigFields()) {
        if (qstrcmp(field.name, name) == 0)
            return field;
    }
    Q_UNREACHABLE();
}

} // namespace

const QVector<LinkConfigField> &linkConfigFields()
{
    static const QVector<LinkConfigField> fields = {
        {"DID", 8, 0, &LinkConfig::deviceId},      {"ADJCNT", 4, 0, &LinkConfig::adjustCount},
        {"BID", 4, 0, &LinkConfig::bankId},        {"ADJDIR", 1, 0, &LinkConfig::adjustDirection},
        {"PHADJ", 1, 0, &LinkConfig::phaseAdjust}, {"LID", 5, 0, &LinkConfig::laneId},
        {"SCR", 1, 0, &LinkConfig::scrambling},    {"L", 5, 1, &LinkConfig::lanes},
        {"F", 8, 1, &LinkConfig::octetsPerFrame},  {"K", 5, 1, &LinkConfig::framesPerMultiframe},
        {"M", 8, 1, &LinkConfig::converters},      {"CS", 2, 0, &LinkConfig::controlBits},
        {"N", 5, 1, &LinkConfig::resolution},      {"SUBCLASSV", 3, 0, &LinkConfig::subclass},
        {"N'", 5, 1, &LinkConfig::bitsPerSample},  {"JESDV", 3, 0, &LinkConfig::version},
        {"S", 5, 1, &LinkConfig::samples},         {"HD", 1, 0, &LinkConfig::highDensity},
        {"CF", 5, 0, &LinkConfig::controlWords},
    };
    return fields;
}

QStringList linkConfigFieldErrors(const LinkConfig &config)
{
    QStringList errors;
    for (const LinkConfigField &field : linkConfigFields()) {
        const int value = config.*field.value;
        const int lowest = field.offset;
        const int highest = (1 << field.bits) - 1 + field.offset;
        if (value >= lowest && value <= highest)
            continue;
        const QString stored = field.offset ? QStringLiteral("%1-1").arg(QLatin1String(field.name))
                                            : QLatin1String(field.name);
        errors << QStringLiteral("Field width: %1 = %2 does not fit the link configuration, where "
                                 "%3 has %4 bits; %1 must be %5 to %6")
                      .arg(QLatin1String(field.name))
                      .arg(value)
                      .arg(stored)
                      .arg(field.bits)
                      .arg(lowest)
                      .arg(highest);
    }
    return errors;
}

IlasOctets ilasConfigOctets(const LinkConfig &config)
{
    const auto v = [&config](const char *name) { return encoded(fieldNamed(name), config); };
    IlasOctets octets{};
    octets[0] = v("DID");
    octets[1] = v("ADJCNT") << 4 | v("BID");
    octets[2] = v("ADJDIR") << 6 | v("PHADJ") << 5 | v("LID");
    octets[3] = v("SCR") << 7 | v("L");
    octets[4] = v("F");
    octets[5] = v("K");
    octets[6] = v("M");
    octets[7] = v("CS") << 6 | v("N");
    octets[8] = v("SUBCLASSV") << 5 | v("N'");
    octets[9] = v("JESDV") << 5 | v("S");
    octets[10] = v("HD") << 7 | v("CF");
    // Octets 11 and 12 are reserved and zero, so they add nothing to the check sum.
    int sum = 0;
    for (const LinkConfigField &field : linkConfigFields())
        sum += encoded(field, config);
    octets[13] = static_cast<quint8>(sum & 0xFF);
    return octets;
}

} // namespace IPJESD204B
