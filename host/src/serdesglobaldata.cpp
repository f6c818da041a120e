#include "serdes.h"

namespace IPSERDESIP {

void serdes::setData(const QString &key, const QVariant &value)
{
    m_globalData.insert(key, value);
}

QVariant serdes::getData(const QString &key) const
{
    return m_globalData.value(key);
}

void serdes::removeData(const QString &key)
{
    m_globalData.remove(key);
}

void serdes::setGlobalResetEnableParam(QStringList &options) const
{
    const QVariant enable = m_globalData.value(QStringLiteral("GLOBAL_RESET_ENABLE"));
    const bool off = enable.isValid() && !enable.toBool();
    options.append(off ? QStringLiteral("global_reset_enable false")
                       : QStringLiteral("global_reset_enable true"));
}

} // namespace IPSERDESIP
