#pragma once

#include <QMap>
#include <QString>
#include <QVariant>

namespace IPSERDESIP {

// The string-keyed variant map that every configuration record travels in: a core's parameter
// set, a description file's IP info map, the SERDES model's global data.
using ParameterMap = QMap<QString, QVariant>;

} // namespace IPSERDESIP
