#pragma once

#include "linkmode.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <QVector>

// Where every bit of a frame travels: the transport-layer layout of a mode, octet by octet.
// A frame holds M converters x S samples, converter-major; each N'-bit sample is N data bits
// (most significant first), CS control bits, then tail bits. The frame's bits in that order
// are cut into L * F octets, lane l carrying octets l * F to l * F + F - 1.
namespace IPJESD204B {

enum class TransportKind { Data, Control, Tail };

// A run of bits of one sample inside one octet; msb and lsb count inside the field's kind
// (D[N-1:0], C[CS-1:0], T[tail-1:0]).
struct TransportField
{
    int converter = 0;
    int sample = 0;
    TransportKind kind = TransportKind::Data;
    int msb = 0;
    int lsb = 0;

    int width() const { return msb - lsb + 1; }
};

// The fields of one octet, from its bit 7 (first on the wire) down.
struct TransportOctet
{
    int lane = 0;
    int octet = 0;
    QVector<TransportField> fields;
};

struct TransportMap
{
    int lanes = 0;
    int octetsPerFrame = 0;
    int converters = 0;
    int samples = 0;
    int resolution = 0;
    int controlBits = 0;
    int bitsPerSample = 0;
    QVector<TransportOctet> octets; // lane by lane, octet by octet
    QString error;                  // why the mode has no map; empty when it has one

    bool isValid() const { return error.isEmpty(); }
    int tailBits() const { return bitsPerSample - resolution - controlBits; }
};

// The map of a mode with F octets per frame; CF > 0 and shapes whose bits do not fill the
// L * F octets are refused with one line in error.
TransportMap transportMap(const LinkMode &mode, int octetsPerFrame);

// "C0 S0 D[13:6]"; one bit as "D[5]".
QString transportFieldText(const TransportField &field);

// One line per octet: "lane 0 octet 0: C0 S0 D[13:6], C0 S0 D[5:0] ...".
QStringList transportMapReport(const TransportMap &map);

// [{"lane", "octet", "fields": [{"converter", "sample", "kind", "msb", "lsb"}]}], empty
// without a map.
QJsonArray transportMapToJson(const TransportMap &map);

} // namespace IPJESD204B
