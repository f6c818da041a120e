#include "parameterfile.h"

#include <services/inputfile.h>
#include <services/safefile.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <cmath>
#include <limits>

namespace HostProgram {

namespace {

const QString VersionKey = QStringLiteral("version");
const QString Version = QStringLiteral("1.0");

QString quoted(const QString &key)
{
    return QLatin1Char('"') + key + QLatin1Char('"');
}

bool fromJsonValue(const QString &key, const QJsonValue &value, QVariant *out, QString *error)
{
    switch (value.type()) {
    case QJsonValue::String:
        *out = value.toString();
        return true;
    case QJsonValue::Bool:
        *out = value.toBool();
        return true;
    case QJsonValue::Double: {
        // JSON has one number type; only whole numbers in int range are parameters.
        const double number = value.toDouble();
        if (!std::isfinite(number) || std::trunc(number) != number) {
            *error = QStringLiteral("%1 holds %2, which is not an integer")
                         .arg(quoted(key), QString::number(number, 'g', 17));
            return false;
        }
        if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
            *error = QStringLiteral("%1 holds %2, which is outside the integer range")
                         .arg(quoted(key), QString::number(number, 'f', 0));
            return false;
        }
        *out = static_cast<int>(number);
        return true;
    }
    case QJsonValue::Array: {
        QStringList list;
        const QJsonArray array = value.toArray();
        for (const QJsonValue &element : array) {
            if (!element.isString()) {
                *error = QStringLiteral("%1 is an array with an element that is not a string")
                             .arg(quoted(key));
                return false;
            }
            list << element.toString();
        }
        *out = list;
        return true;
    }
    case QJsonValue::Null:
        *error = QStringLiteral("%1 is null; a parameter holds a string, a boolean, an integer "
                                "or an array of strings")
                     .arg(quoted(key));
        return false;
    case QJsonValue::Object:
        *error = QStringLiteral("%1 is an object; a parameter holds a string, a boolean, an "
                                "integer or an array of strings")
                     .arg(quoted(key));
        return false;
    case QJsonValue::Undefined:
        break;
    }
    *error = QStringLiteral("%1 has a value of unknown type").arg(quoted(key));
    return false;
}

} // namespace

bool parameterSetFromJson(const QJsonObject &object, IPSERDESIP::ParameterMap *params,
                          QString *error, VersionCheck versionCheck)
{
    IPSERDESIP::ParameterMap read;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        QVariant value;
        if (!fromJsonValue(it.key(), it.value(), &value, error))
            return false;
        read.insert(it.key(), value);
    }
    const auto version = read.constFind(VersionKey);
    if (versionCheck == VersionCheck::Refuse && version != read.constEnd() &&
        (version->userType() != QMetaType::QString || version->toString() != Version)) {
        const QJsonValue found = object.value(VersionKey);
        *error =
            QStringLiteral("%1 is %2; only parameter sets of version %3 can be read")
                .arg(quoted(VersionKey),
                     found.isString() ? quoted(found.toString()) : QStringLiteral("not a string"),
                     quoted(Version));
        return false;
    }
    *params = read;
    return true;
}

bool readParameterFile(const QString &path, IPSERDESIP::ParameterMap *params, QString *error,
                       VersionCheck versionCheck)
{
    const auto fail = [&path, error](const QString &reason) {
        *error = path + QStringLiteral(": ") + reason;
        return false;
    };
    QByteArray contents;
    QString reason;
    if (!IPSERDESIP::readInputFile(path, &contents, &reason))
        return fail(reason);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(contents, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(QStringLiteral("invalid JSON at offset %1: %2")
                        .arg(QString::number(parseError.offset), parseError.errorString()));
    if (!document.isObject())
        return fail(QStringLiteral("not a JSON object; a parameter set is an object of keys and "
                                   "values"));
    if (!parameterSetFromJson(document.object(), params, &reason, versionCheck))
        return fail(reason);
    return true;
}

bool parameterSetToJson(const IPSERDESIP::ParameterMap &params, QJsonObject *object, QString *error)
{
    QJsonObject json;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        const QVariant &value = it.value();
        switch (value.userType()) {
        case QMetaType::QString:
            json.insert(it.key(), value.toString());
            break;
        case QMetaType::Bool:
            json.insert(it.key(), value.toBool());
            break;
        case QMetaType::Int:
            json.insert(it.key(), value.toInt());
            break;
        case QMetaType::QStringList:
            json.insert(it.key(), QJsonArray::fromStringList(value.toStringList()));
            break;
        default:
            *error = QStringLiteral("%1 holds a %2, which a parameter file cannot store")
                         .arg(quoted(it.key()),
                              QString::fromLatin1(value.isValid() ? value.typeName() : "nothing"));
            return false;
        }
    }
    *object = json;
    return true;
}

bool writeParameterFile(const QString &path, const IPSERDESIP::ParameterMap &params, QString *error,
                        HostFiles::WriteBatch *batch)
{
    QJsonObject object;
    QString reason;
    if (!parameterSetToJson(params, &object, &reason)) {
        *error = path + QStringLiteral(": ") + reason;
        return false;
    }
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    const HostFiles::Target target = HostFiles::fileTarget(path);
    if (batch ? !batch->stage(target, bytes, &reason)
              : !HostFiles::writeFile(target, bytes, &reason)) {
        *error = path + QStringLiteral(": cannot write: ") + reason;
        return false;
    }
    return true;
}

} // namespace HostProgram
