#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// The link configuration a transmitter sends in the second multiframe of its initial lane
// alignment sequence (ILAS), and the widths its fields allow.
namespace IPJESD204B {

// Field values as the parameters read: L, F, K, M, N, N', S are counts; the octets carry them
// minus one.
struct LinkConfig
{
    int deviceId = 0;            // DID
    int bankId = 0;              // BID
    int laneId = 0;              // LID
    int lanes = 1;               // L
    int octetsPerFrame = 1;      // F
    int framesPerMultiframe = 1; // K
    int converters = 1;          // M
    int controlBits = 0;         // CS
    int resolution = 1;          // N
    int bitsPerSample = 1;       // N'
    int samples = 1;             // S
    int controlWords = 0;        // CF
    int highDensity = 0;         // HD
    int subclass = 1;            // SUBCLASSV
    int version = 1;             // JESDV; 1 is JESD204B
    int scrambling = 0;          // SCR
    int adjustCount = 0;         // ADJCNT, subclass 2 only
    int adjustDirection = 0;     // ADJDIR
    int phaseAdjust = 0;         // PHADJ
};

struct LinkConfigField
{
    const char *name;
    int bits;
    int offset; // 1 when the octets carry the value minus one
    int LinkConfig::*value;
};
// Every field of the configuration, in octet order.
const QVector<LinkConfigField> &linkConfigFields();

// One text per field whose value does not fit its width, naming the legal range.
QStringList linkConfigFieldErrors(const LinkConfig &config);

constexpr int IlasConfigOctets = 14;
using IlasOctets = std::array<quint8, IlasConfigOctets>;

// Octets 0..13; the last, FCHK, is the sum of the field values (not of the octets) modulo 256.
// Fields that do not fit are cut to their width, so check them first.
IlasOctets ilasConfigOctets(const LinkConfig &config);

} // namespace IPJESD204B
