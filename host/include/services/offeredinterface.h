#pragma once

#include <QObject>

namespace IPSERDESIP {

// The interface T (declared with Q_DECLARE_INTERFACE) that an object offers itself or through
// one of its direct children; null when neither does. A protocol or a package offers its
// optional services this way, so that its own class and meta-object stay as they are.
template <typename T> const T *offeredInterface(const QObject *object)
{
    if (!object)
        return nullptr;
    if (const T *own = qobject_cast<T *>(object))
        return own;
    for (const QObject *child : object->children()) {
        if (const T *found = qobject_cast<T *>(child))
            return found;
    }
    return nullptr;
}

} // namespace IPSERDESIP
