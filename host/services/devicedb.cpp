#include "devicedb.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace DEV {

namespace {

const QString DatabaseResource = QStringLiteral(":/devices/devices.json");

QList<DeviceArg> readDatabase(const QString &path)
{
    QList<DeviceArg> devices;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return devices;
    const QJsonArray entries =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const QString id = entry.value(QStringLiteral("id")).toString();
        const QString device = entry.value(QStringLiteral("device")).toString();
        const int quads = entry.value(QStringLiteral("quads")).toInt();
        // An entry the SERDES model could not serve is left out rather than guessed at.
        if (id.isEmpty() || device.isEmpty() || quads < 1 || quads > 2)
            continue;
        devices.append(DeviceArg(id, device, quads));
    }
    return devices;
}

} // namespace

DeviceDb::DeviceDb() : m_devices(readDatabase(DatabaseResource)) {}

DeviceArg DeviceDb::findDevice(const QString &id) const
{
    const auto found = std::find_if(m_devices.cbegin(), m_devices.cend(),
                                    [&id](const DeviceArg &d) { return d.id() == id; });
    return found == m_devices.cend() ? DeviceArg() : *found;
}

DeviceArg DeviceDb::findDeviceByName(const QString &device) const
{
    const auto found = std::find_if(m_devices.cbegin(), m_devices.cend(),
                                    [&device](const DeviceArg &d) { return d.device() == device; });
    return found == m_devices.cend() ? DeviceArg() : *found;
}

} // namespace DEV

namespace DEV {

DeviceArg::DeviceArg(const QString &id, const QString &device, int quadCount)
    : m_id(id), m_device(device), m_quadCount(quadCount)
{}

bool DeviceArg::operator==(const DeviceArg &other) const
{
    return m_id == other.m_id && m_device == other.m_device && m_quadCount == other.m_quadCount;
}

} // namespace DEV
