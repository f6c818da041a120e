#pragma once

#include "hostexport.h"
#include "parametermap.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;

namespace DEV {
class DeviceArg;
}

namespace IPSERDESIP {

// Synthesis step: checks the device and the named sources in the data directory, writes a
// synthesis manifest into the generation directory and summarises in `message`.
IPSERDESHOST_EXPORT bool waitForRunSyntheSis(const DEV::DeviceArg &device,
                                             const ParameterMap &params, const ParameterMap &ipInfo,
                                             const QStringList &sources, const QString &name,
                                             QString &message, QObject *caller);

// Encodes a lane set as an integer; equal sets give equal integers, in any order.
IPSERDESHOST_EXPORT int FromLaneToInt(const QStringList &lanes);

// Reference clock display name to the host's reference clock name (blanks become "_").
IPSERDESHOST_EXPORT QString FromRefOptionToRef(const QString &displayName);

// Reference clock display name to the serdes model's source name.
IPSERDESHOST_EXPORT QString refsrcOptTransforSerdesName(const QString &displayName);

// PLL name as a line source names it ("QPLL0", "Q0_QPLL1", "CPLL", ...) to the option form.
IPSERDESHOST_EXPORT QString FromPllToStringOption(const QString &pll);

} // namespace IPSERDESIP
