#pragma once

#include <testpaths.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

namespace ParameterSets {

// The receive-only two-lane reference core, as its example file stores it.
inline QVariantMap receiveTwoLanes()
{
    QFile file(TestPaths::examplesDir() + QStringLiteral("/rx_2lane.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object().toVariantMap();
}

// The set with some keys changed; an invalid value removes the key.
inline QVariantMap with(QVariantMap params, const QVariantMap &changes)
{
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        if (it.value().isValid())
            params.insert(it.key(), it.value());
        else
            params.remove(it.key());
    }
    return params;
}

} // namespace ParameterSets
