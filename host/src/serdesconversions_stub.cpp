// STUB: serdes name conversions
#include "serdesfunctions.h"

namespace IPSERDESIP {
int FromLaneToInt(const QStringList &) { return 0; }
QString refsrcOptTransforSerdesName(const QString &) { return {}; }
QString FromPllToStringOption(const QString &) { return {}; }
} // namespace IPSERDESIP
