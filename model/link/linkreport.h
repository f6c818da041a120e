#pragma once

#include "linkplan.h"

#include <QJsonObject>
#include <QStringList>

// A link plan for people and for programs. Exact values become doubles only here.
namespace IPJESD204B {

// Keys: "F", "HD", "K", "kMin", "kMax", "laneRateGbps", "frameClockMHz", "lmfcMHz",
// "sysrefMHz" (array, LMFC / 2 .. LMFC / 16), "deviceClockMHz" (object keyed by PCS width,
// "32" and "64"), "ilas" (array of {"lane", "octets"}), "clocking" (array), "errors",
// "warnings". A value the plan could not derive is null.
QJsonObject linkPlanToJson(const LinkPlan &plan);

// One line per derived value, decimals exact where they end (decimalText); lines whose value a
// broken rule left undefined are left out.
QStringList linkPlanReport(const LinkPlan &plan);

// The ILAS configuration octets in hex, "55 0A 00 ... A6".
QString ilasHexText(const IlasOctets &octets);

} // namespace IPJESD204B
