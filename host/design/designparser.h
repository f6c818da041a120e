#pragma once

#include "designdata.h"

#include <QHash>
#include <QPair>

class QJsonValue;

namespace IPSERDESIP {

// Numbers are accepted where a decimal is expected, but texts keep every digit exact.
QString decimalText(const QJsonValue &value);

// Reads a design's JSON into a DesignData, entry by entry, and stops at the first entry that
// does not hold; error() then names it.
class DesignParser
{
public:
    DesignParser(const DEV::DeviceArg &device, DesignData *design);

    bool parse(const QJsonObject &root);
    QString error() const { return m_error; }

private:
    using EntryReader = bool (DesignParser::*)(const QJsonObject &, const QString &);

    bool fail(const QString &entry, const QString &reason);
    int quads() const { return m_design->device.isNull() ? 2 : m_design->device.quadCount(); }

    // Shared by the sections.
    bool readList(const QJsonObject &root, const QString &key, EntryReader reader);
    bool onlyKeys(const QJsonObject &object, const QString &entry, const QStringList &keys);
    bool readOwner(const QJsonObject &object, const QString &entry, QString *owner);
    bool readSourceName(const QJsonValue &value, const QString &entry, QString *name);

    // The sections, in the order they are read.
    bool readDevice(const QJsonValue &value);
    bool readPllTable(const QJsonValue &value);
    bool readRefClock(const QJsonObject &object, const QString &entry);
    bool readLane(const QJsonObject &object, const QString &entry);
    bool readLineSource(const QJsonObject &object, const QString &entry, const QString &key,
                        bool used, QString *source);
    bool readPll(const QJsonObject &object, const QString &entry);
    bool readInstance(const QJsonObject &object, const QString &entry);
    bool readOwnedKeys(const QJsonValue &value, const QString &entry, ProtocolInstance *instance);
    bool readGlobalData(const QJsonValue &value);

    DesignData *m_design;
    QString m_error;
    // Per reference clock: the first frequency given, as written and as a number.
    QHash<QString, QPair<QString, Ratio>> m_clockFrequency;
    qint64 m_totalUseCount = 0;
};

} // namespace IPSERDESIP
