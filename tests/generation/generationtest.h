#pragma once

#include <testpaths.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

// The set with some keys changed; an invalid value removes the key.
inline QVariantMap withChanges(QVariantMap params, const QVariantMap &changes)
{
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        if (it.value().isValid())
            params.insert(it.key(), it.value());
        else
            params.remove(it.key());
    }
    return params;
}

// The receive-only two-lane reference core as its example file stores it.
inline QVariantMap receiveTwoLanes(const QVariantMap &changes = {})
{
    QFile file(TestPaths::examplesDir() + QStringLiteral("/rx_2lane.json"));
    file.open(QIODevice::ReadOnly);
    return withChanges(QJsonDocument::fromJson(file.readAll()).object().toVariantMap(), changes);
}

// Define lists, SERDES option lines, resource reports and the generation driver.
class GenerationTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void definesWorkedExample();
    void moduleOptionsWorkedExample();
    void laneBlockWorkedExample();
    void lines_data();
    void lines();

    void resources_data();
    void resources();
    void emptySetAndEmptyFileName();
    void secondCallAppends();
    void deviceAndProtocolForm();

private:
    std::unique_ptr<QTemporaryDir> m_work;
};
