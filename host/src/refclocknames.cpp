#include "serdesfunctions.h"

namespace IPSERDESIP {

QString FromRefOptionToRef(const QString &displayName)
{
    QString name = displayName;
    return name.replace(QLatin1Char(' '), QLatin1Char('_'));
}

} // namespace IPSERDESIP
