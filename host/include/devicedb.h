#pragma once

#include "hostexport.h"

#include <QList>
#include <QString>

namespace DEV {

// Descriptor of a target device: part-number id, device name and SERDES quad count.
// A default-constructed descriptor is null (no device known).
class IPSERDESHOST_EXPORT DeviceArg
{
public:
    DeviceArg() = default;
    DeviceArg(const QString &id, const QString &device, int quadCount);

    bool isNull() const { return m_id.isEmpty(); }
    QString device() const { return m_device; }
    QString id() const { return m_id; }
    int quadCount() const { return m_quadCount; }

    bool operator==(const DeviceArg &other) const;
    bool operator!=(const DeviceArg &other) const { return !(*this == other); }

private:
    QString m_id;
    QString m_device;
    int m_quadCount = 0;
};

// The device database shipped with the host (a JSON resource).
class IPSERDESHOST_EXPORT DeviceDb
{
public:
    DeviceDb();

    // Unknown ids give a null descriptor.
    DeviceArg findDevice(const QString &id) const;
    // Looks a device up by its name instead of its id; null when unknown.
    DeviceArg findDeviceByName(const QString &device) const;
    QList<DeviceArg> devices() const { return m_devices; }

private:
    QList<DeviceArg> m_devices;
};

} // namespace DEV
