#include "linkrecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace IPJESD204B {

namespace {

constexpr char Format[] = "jesd204b-link";
constexpr int FormatVersion = 1;
// A link record holds a handful of numbers; anything much larger is no record.
constexpr qint64 MaxRecordBytes = 64 * 1024;

struct RecordField
{
    const char *key;
    int min;
    int max;
    bool required;
    int LinkRecord::*value;
};

// The ranges are those of the link configuration fields.
const QVector<RecordField> &recordFields()
{
    static const QVector<RecordField> fields{
        {"M", 1, 256, true, &LinkRecord::converters},
        {"N", 1, 32, false, &LinkRecord::resolution},
        {"N'", 1, 32, true, &LinkRecord::bitsPerSample},
        {"S", 1, 32, false, &LinkRecord::samples},
        {"CS", 0, 3, false, &LinkRecord::controlBits},
        {"CF", 0, 31, false, &LinkRecord::controlWords},
        {"DID", 0, 255, false, &LinkRecord::deviceId},
        {"BID", 0, 15, false, &LinkRecord::bankId},
        {"SUBCLASSV", 0, 2, false, &LinkRecord::subclass},
    };
    return fields;
}

bool readInteger(const QJsonObject &object, const char *key, int min, int max, int *value,
                 QString *error)
{
    const QJsonValue json = object.value(QLatin1String(key));
    const double number = json.toDouble(-1);
    if (!json.isDouble() || number != static_cast<int>(number) || number < min || number > max) {
        *error = QStringLiteral("\"%1\" must be a whole number from %2 to %3")
                     .arg(QLatin1String(key))
                     .arg(min)
                     .arg(max);
        return false;
    }
    *value = static_cast<int>(number);
    return true;
}

} // namespace

bool LinkRecord::operator==(const LinkRecord &other) const
{
    for (const RecordField &field : recordFields()) {
        if (this->*field.value != other.*field.value)
            return false;
    }
    return highDensity == other.highDensity;
}

LinkRecord linkRecordOf(const LinkMode &mode)
{
    LinkRecord record;
    record.converters = mode.converters;
    record.resolution = mode.resolution;
    record.bitsPerSample = mode.bitsPerSample;
    record.samples = mode.samples;
    record.controlBits = mode.controlBits;
    record.controlWords = mode.controlWords;
    record.highDensity = mode.highDensity;
    record.deviceId = mode.deviceId;
    record.bankId = mode.bankId;
    record.subclass = mode.subclass;
    return record;
}

void applyLinkRecord(const LinkRecord &record, LinkMode *mode)
{
    mode->converters = record.converters;
    mode->bitsPerSample = record.bitsPerSample;
    mode->controlBits = record.controlBits;
    mode->resolution =
        record.resolution > 0 ? record.resolution : record.bitsPerSample - record.controlBits;
    mode->samples = record.samples;
    mode->controlWords = record.controlWords;
    mode->highDensity = record.highDensity;
    mode->deviceId = record.deviceId;
    mode->bankId = record.bankId;
    mode->subclass = record.subclass;
}

QJsonObject linkRecordToJson(const LinkRecord &record)
{
    QJsonObject object{{QStringLiteral("format"), QLatin1String(Format)},
                       {QStringLiteral("version"), FormatVersion}};
    for (const RecordField &field : recordFields()) {
        // N = 0 stands for N' - CS, which readers derive themselves.
        if (field.value != &LinkRecord::resolution || record.resolution > 0)
            object.insert(QLatin1String(field.key), record.*field.value);
    }
    if (record.highDensity)
        object.insert(QStringLiteral("HD"), *record.highDensity);
    return object;
}

bool linkRecordFromJson(const QJsonObject &object, LinkRecord *record, QString *error)
{
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(Format) ||
        object.value(QStringLiteral("version")).toInt(-1) != FormatVersion) {
        *error = QStringLiteral("not a link record (\"format\" \"%1\", \"version\" %2)")
                     .arg(QLatin1String(Format))
                     .arg(FormatVersion);
        return false;
    }
    LinkRecord read;
    for (const RecordField &field : recordFields()) {
        if (!field.required && !object.contains(QLatin1String(field.key)))
            continue;
        if (!readInteger(object, field.key, field.min, field.max, &(read.*field.value), error))
            return false;
    }
    if (object.contains(QStringLiteral("HD"))) {
        int hd = 0;
        if (!readInteger(object, "HD", 0, 1, &hd, error))
            return false;
        read.highDensity = hd;
    }
    *record = read;
    return true;
}

QString linkRecordPath(const QString &setPath)
{
    const QFileInfo set(setPath);
    const QString base = set.suffix().isEmpty() ? set.fileName() : set.completeBaseName();
    return set.dir().filePath(base + QStringLiteral(".link.json"));
}

QByteArray linkRecordBytes(const LinkRecord &record)
{
    return QJsonDocument(linkRecordToJson(record)).toJson(QJsonDocument::Indented);
}

std::optional<LinkRecord> readLinkRecord(const QString &setPath, QString *error)
{
    const QString path = linkRecordPath(setPath);
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    QString reason;
    LinkRecord record;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    } else if (file.size() > MaxRecordBytes) {
        reason = QStringLiteral("larger than a link record can be");
    } else {
        QJsonParseError parse{};
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
        if (!document.isObject())
            reason = parse.error != QJsonParseError::NoError ? parse.errorString()
                                                             : QStringLiteral("not a JSON object");
        else if (linkRecordFromJson(document.object(), &record, &reason))
            return record;
    }
    *error = path + QStringLiteral(": ") + reason;
    return std::nullopt;
}

} // namespace IPJESD204B
