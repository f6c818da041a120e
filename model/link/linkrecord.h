#pragma once

#include "linkmode.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// The converter's side of a link, which a core's parameter set does not hold. The set keeps
// L, F, K, scrambling and the lane rate; the link record beside it keeps the rest of the mode,
// so every step after planning reads the converter's values instead of asking for them again.
//
// The file is a JSON object with the standard's parameter names:
//   {"format": "jesd204b-link", "version": 1,
//    "M": 4, "N": 14, "N'": 16, "S": 1, "CS": 0, "CF": 0, "HD": 0,
//    "DID": 0, "BID": 0, "SUBCLASSV": 1}
// "M", "N'" are required; the others default as below. "HD" absent means derived from F and N'.
namespace IPJESD204B {

struct LinkRecord
{
    int converters = 1;             // M
    int resolution = 0;             // N; 0 reads as N' - CS
    int bitsPerSample = 16;         // N'
    int samples = 1;                // S
    int controlBits = 0;            // CS
    int controlWords = 0;           // CF
    std::optional<int> highDensity; // HD, derived when unset
    int deviceId = 0;               // DID
    int bankId = 0;                 // BID
    int subclass = 1;               // SUBCLASSV

    bool operator==(const LinkRecord &other) const;
};

// The converter fields of a planned mode, and those fields put into a mode (L, F, K,
// scrambling and Fs stay as the mode has them).
LinkRecord linkRecordOf(const LinkMode &mode);
void applyLinkRecord(const LinkRecord &record, LinkMode *mode);

QJsonObject linkRecordToJson(const LinkRecord &record);
// False with *error naming the key for a missing, non-integer or out-of-field value.
bool linkRecordFromJson(const QJsonObject &object, LinkRecord *record, QString *error);

// The record's file for a parameter set: "tx.json" -> "tx.link.json", in the set's folder.
QString linkRecordPath(const QString &setPath);
QByteArray linkRecordBytes(const LinkRecord &record);

// The record kept beside a set; unset without error when there is none, unset with *error
// (naming the file) when it cannot be read.
std::optional<LinkRecord> readLinkRecord(const QString &setPath, QString *error);

} // namespace IPJESD204B
