#include "designparser.h"
#include "designbounds.h"

#include "devicedb.h"
#include "idecore.h"

#include <QJsonArray>

namespace IPSERDESIP {

using namespace Names;

// Numbers are accepted where a decimal is expected, but texts keep every digit exact.
QString decimalText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 12);
    return {};
}

DesignParser::DesignParser(const DEV::DeviceArg &device, DesignData *design) : m_design(design)
{
    m_design->device = device;
    m_design->pllTable = PllTable::builtin();
}

bool DesignParser::parse(const QJsonObject &root)
{
    static const QStringList known{QStringLiteral("description"), QStringLiteral("device"),
                                   QStringLiteral("pllTable"),    QStringLiteral("lanes"),
                                   QStringLiteral("plls"),        QStringLiteral("refClocks"),
                                   QStringLiteral("instances"),   QStringLiteral("globalData")};
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (!known.contains(it.key()))
            return fail(
                it.key(),
                QStringLiteral("unknown entry (known: %1)").arg(known.join(QStringLiteral(", "))));
    }
    return readDevice(root.value(QStringLiteral("device"))) &&
           readPllTable(root.value(QStringLiteral("pllTable"))) &&
           readList(root, QStringLiteral("refClocks"), &DesignParser::readRefClock) &&
           readList(root, QStringLiteral("lanes"), &DesignParser::readLane) &&
           readList(root, QStringLiteral("plls"), &DesignParser::readPll) &&
           readList(root, QStringLiteral("instances"), &DesignParser::readInstance) &&
           readGlobalData(root.value(QStringLiteral("globalData")));
}

bool DesignParser::fail(const QString &entry, const QString &reason)
{
    m_error = QStringLiteral("%1: %2").arg(entry, reason);
    return false;
}

bool DesignParser::readList(const QJsonObject &root, const QString &key, EntryReader reader)
{
    const QJsonValue value = root.value(key);
    if (value.isUndefined())
        return true;
    if (!value.isArray())
        return fail(key, QStringLiteral("expected a list"));
    const QJsonArray list = value.toArray();
    if (list.size() > MaxDesignListEntries)
        return fail(key, QStringLiteral("%1 entries; a design list holds at most %2")
                             .arg(list.size())
                             .arg(MaxDesignListEntries));
    for (int i = 0; i < list.size(); ++i) {
        const QString entry = QStringLiteral("%1[%2]").arg(key).arg(i);
        if (!list.at(i).isObject())
            return fail(entry, QStringLiteral("expected an object"));
        if (!(this->*reader)(list.at(i).toObject(), entry))
            return false;
    }
    return true;
}

bool DesignParser::onlyKeys(const QJsonObject &object, const QString &entry,
                            const QStringList &keys)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!keys.contains(it.key()))
            return fail(
                entry + QLatin1Char('.') + it.key(),
                QStringLiteral("unknown field (known: %1)").arg(keys.join(QStringLiteral(", "))));
    }
    return true;
}

bool DesignParser::readOwner(const QJsonObject &object, const QString &entry, QString *owner)
{
    const QJsonValue value = object.value(QStringLiteral("owner"));
    if (value.isUndefined()) {
        *owner = anonymousOwner();
        return true;
    }
    if (!value.isString() || value.toString().isEmpty())
        return fail(entry + QStringLiteral(".owner"), QStringLiteral("expected a name"));
    *owner = value.toString();
    return true;
}

bool DesignParser::readSourceName(const QJsonValue &value, const QString &entry, QString *name)
{
    const RefRef ref = parseRefSource(value.toString());
    if (!value.isString() || !ref.isValid() || (ref.kind != RefRef::Mclk && ref.quad >= quads()))
        return fail(entry, QStringLiteral("\"%1\" is no reference clock of this device")
                               .arg(value.toVariant().toString()));
    *name = refSourceName(value.toString());
    return true;
}

bool DesignParser::readDevice(const QJsonValue &value)
{
    if (value.isUndefined())
        return true;
    const DEV::DeviceArg device = Core::IdeCore::deviceDataBase()->findDevice(value.toString());
    if (!value.isString() || device.isNull())
        return fail(QStringLiteral("device"),
                    QStringLiteral("unknown device id \"%1\" (see ipcore-host devices)")
                        .arg(value.toVariant().toString()));
    m_design->device = device;
    return true;
}

} // namespace IPSERDESIP
