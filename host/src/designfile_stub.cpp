// STUB: design file
#include "designfile.h"

namespace IPSERDESIP {
bool DesignFile::load(const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("design files are not supported yet");
    return false;
}
bool DesignFile::addInstance(const QString &, const Message &, QString *error)
{
    if (error)
        *error = QStringLiteral("design files are not supported yet");
    return false;
}
} // namespace IPSERDESIP
