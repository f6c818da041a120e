#include "ilascompare.h"

#include <QRegularExpression>

namespace IPJESD204B {

namespace {

struct FieldPlace
{
    const char *name;
    int octet;
    int shift;
};

// Where each field sits in the octets; ilasConfigOctets() writes the same layout.
FieldPlace placeOf(const LinkConfigField &field)
{
    static const FieldPlace places[] = {
        {"DID", 0, 0},   {"ADJCNT", 1, 4}, {"BID", 1, 0}, {"ADJDIR", 2, 6},    {"PHADJ", 2, 5},
        {"LID", 2, 0},   {"SCR", 3, 7},    {"L", 3, 0},   {"F", 4, 0},         {"K", 5, 0},
        {"M", 6, 0},     {"CS", 7, 6},     {"N", 7, 0},   {"SUBCLASSV", 8, 5}, {"N'", 8, 0},
        {"JESDV", 9, 5}, {"S", 9, 0},      {"HD", 10, 7}, {"CF", 10, 0},
    };
    for (const FieldPlace &place : places) {
        if (qstrcmp(place.name, field.name) == 0)
            return place;
    }
    Q_UNREACHABLE();
}

int fieldBits(const IlasOctets &octets, const LinkConfigField &field)
{
    const FieldPlace place = placeOf(field);
    return (octets[place.octet] >> place.shift) & ((1 << field.bits) - 1);
}

QString hexByte(int value)
{
    return QStringLiteral("0x") +
           QString::number(value & 0xFF, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

int fieldSum(const IlasOctets &octets)
{
    int sum = 0;
    for (const LinkConfigField &field : linkConfigFields())
        sum += fieldBits(octets, field);
    return sum & 0xFF;
}

int octetSum(const IlasOctets &octets)
{
    int sum = 0;
    for (int i = 0; i < IlasConfigOctets - 1; ++i)
        sum += octets[i];
    return sum & 0xFF;
}

QString checksumDifference(const IlasOctets &expected, const IlasOctets &received)
{
    const int got = received[IlasConfigOctets - 1];
    const int fields = fieldSum(received);
    if (got == fields) {
        return got == expected[IlasConfigOctets - 1]
                   ? QString()
                   : QStringLiteral("FCHK expected %1, received %2, the sum of the received "
                                    "fields")
                         .arg(hexByte(expected[IlasConfigOctets - 1]), hexByte(got));
    }
    QString text =
        QStringLiteral("FCHK received %1, the fields sum to %2").arg(hexByte(got), hexByte(fields));
    if (got == octetSum(received))
        text += QStringLiteral(": it is the sum of octets 0 to 12, another check sum convention");
    return text;
}

} // namespace

std::optional<IlasOctets> ilasOctetsFromText(const QString &text)
{
    QStringList tokens =
        text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    if (tokens.size() == 1 && tokens.first().size() == 2 * IlasConfigOctets) {
        const QString run = tokens.takeFirst();
        for (int i = 0; i < IlasConfigOctets; ++i)
            tokens << run.mid(2 * i, 2);
    }
    if (tokens.size() != IlasConfigOctets)
        return std::nullopt;
    static const QRegularExpression octet(QStringLiteral("^(?:0[xX])?([0-9A-Fa-f]{1,2})$"));
    IlasOctets octets{};
    for (int i = 0; i < IlasConfigOctets; ++i) {
        const QRegularExpressionMatch match = octet.match(tokens.at(i));
        if (!match.hasMatch())
            return std::nullopt;
        octets[i] = static_cast<quint8>(match.captured(1).toUInt(nullptr, 16));
    }
    return octets;
}

QStringList ilasDifferences(const IlasOctets &expected, const IlasOctets &received)
{
    QStringList differences;
    for (const LinkConfigField &field : linkConfigFields()) {
        const int want = fieldBits(expected, field);
        const int got = fieldBits(received, field);
        if (want == got)
            continue;
        differences << QStringLiteral("%1 expected %2 (octet %3), received %4 (%5)")
                           .arg(QLatin1String(field.name))
                           .arg(want + field.offset)
                           .arg(hexByte(want))
                           .arg(got + field.offset)
                           .arg(hexByte(got));
    }
    for (const int reserved : {11, 12}) {
        if (received[reserved] != 0)
            differences << QStringLiteral("octet %1 is reserved and zero, received %2")
                               .arg(reserved)
                               .arg(hexByte(received[reserved]));
    }
    const QString checksum = checksumDifference(expected, received);
    if (!checksum.isEmpty())
        differences << checksum;
    return differences;
}

} // namespace IPJESD204B
