#pragma once

#include <parametermap.h>

#include <QString>
#include <QVariant>

// Reading one value of a parameter set, shared by generation and the dialog. A missing key
// reads as an empty text, false or 0 unless a default is given.
namespace IPJESD204B {
namespace ParameterValues {

inline QString text(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    return params.value(key).toString();
}

inline bool flag(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    return params.value(key).toBool();
}

// 64 bits so that "value minus one" of the smallest int cannot overflow.
inline qint64 integer(const IPSERDESIP::ParameterMap &params, const QString &key)
{
    return text(params, key).toInt(nullptr, 10);
}

// An absent key gives the default; a present one gives its text, even when empty.
inline QString textOr(const IPSERDESIP::ParameterMap &params, const QString &key,
                      const QString &absent)
{
    const auto found = params.constFind(key);
    return found == params.constEnd() ? absent : found.value().toString();
}

inline int integerOr(const IPSERDESIP::ParameterMap &params, const QString &key,
                     const QString &absent)
{
    return textOr(params, key, absent).toInt(nullptr, 10);
}

} // namespace ParameterValues
} // namespace IPJESD204B
