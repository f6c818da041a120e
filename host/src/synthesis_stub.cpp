// STUB: synthesis step and reference clock naming
#include "serdesfunctions.h"

namespace IPSERDESIP {
bool waitForRunSyntheSis(const DEV::DeviceArg &, const QMap<QString, QVariant> &,
                         const QMap<QString, QVariant> &, const QStringList &, const QString &,
                         QString &, QObject *)
{
    return false;
}
QString FromRefOptionToRef(const QString &) { return {}; }
} // namespace IPSERDESIP
