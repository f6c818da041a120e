#pragma once

#include "linkconfig.h"

#include <QString>
#include <QStringList>

#include <optional>

// A received ILAS link configuration against the one a lane should send, field by field, as
// read from a converter's registers or captured on the lane.
namespace IPJESD204B {

// 14 octets in hex, separated by blanks or commas ("55 0A 00 ...", "0x55,0x0A,..."), or 28 hex
// digits in one run; unset for anything else.
std::optional<IlasOctets> ilasOctetsFromText(const QString &text);

// One text per difference, in octet order: a field as "F expected 2 (octet 0x01), received 1
// (0x00)", a reserved octet that is not zero, and a check sum that does not hold. A received
// FCHK that is the sum of octets 0 to 12 instead of the fields' sum is named as such. Empty
// when every octet matches.
QStringList ilasDifferences(const IlasOctets &expected, const IlasOctets &received);

} // namespace IPJESD204B
