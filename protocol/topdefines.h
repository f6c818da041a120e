#pragma once

#include <parametermap.h>

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// The Verilog define lists that configure the core's sources. Each line starts with the grave
// accent and carries no terminator.
namespace IPJESD204B {

// "top_define.vh": the one line that names the top module.
QStringList topLevelDefines(const IPSERDESIP::ParameterMap &params);
// "jesd204b_top_defines.vh": core mode, lanes, buffer, link defaults, fixed configuration,
// PCS width and configuration clock.
QStringList coreDefines(const IPSERDESIP::ParameterMap &params);

} // namespace IPJESD204B
