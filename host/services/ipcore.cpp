#include "ipcore.h"

#include "baseprotocol.h"
#include "devicedb.h"
#include "idecore.h"
#include "inputfile.h"
#include "protocolpackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTextCodec>

#include <algorithm>

namespace IPCore {

namespace {

QVariant arrayValue(const QJsonArray &array)
{
    const bool allStrings =
        std::all_of(array.begin(), array.end(), [](const QJsonValue &v) { return v.isString(); });
    if (!allStrings)
        return array.toVariantList();
    QStringList list;
    for (const QJsonValue &v : array)
        list << v.toString();
    return list;
}

void flatten(const QJsonObject &object, const QString &prefix, IPSERDESIP::ParameterMap &out)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = prefix.isEmpty() ? it.key() : prefix + QLatin1Char('.') + it.key();
        const QJsonValue value = it.value();
        if (value.isObject())
            flatten(value.toObject(), key, out);
        else if (value.isArray())
            out.insert(key, arrayValue(value.toArray()));
        else if (!value.isNull()) // null reads like a missing key
            out.insert(key, value.toVariant());
    }
}

bool isFilledString(const QVariant &value)
{
    return value.userType() == QMetaType::QString && !value.toString().trimmed().isEmpty();
}

void reportFileError(const QString &path, const QString &problem, QWidget *parent)
{
    Core::MessageSink::report(QStringLiteral("Error"),
                              QStringLiteral("Cannot write %1: %2").arg(path, problem), parent);
}

} // namespace

IPSERDESIP::ParameterMap processIPInfoSpec(const QString &path)
{
    QString ignored;
    return processIPInfoSpec(path, &ignored);
}

IPSERDESIP::ParameterMap processIPInfoSpec(const QString &path, QString *error)
{
    QByteArray contents;
    QString reason;
    if (!IPSERDESIP::readInputFile(path, &contents, &reason)) {
        *error = QStringLiteral("%1: %2").arg(path, reason);
        return {};
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(contents, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("%1: invalid JSON at offset %2: %3")
                     .arg(path, QString::number(parseError.offset), parseError.errorString());
        return {};
    }
    if (!doc.isObject()) {
        *error = QStringLiteral("%1: a description file is a JSON object").arg(path);
        return {};
    }
    IPSERDESIP::ParameterMap info;
    flatten(doc.object(), QString(), info);
    return info;
}

bool checkCommonInfo(const IPSERDESIP::ParameterMap &info)
{
    return isFilledString(info.value(QStringLiteral("ipcore.id"))) &&
           isFilledString(info.value(QStringLiteral("ipcore.name"))) &&
           isFilledString(info.value(QStringLiteral("ipcore.version")));
}

bool isSupported(const DEV::DeviceArg &device, const QStringList &unsupported,
                 const QStringList &supported)
{
    if (device.isNull() || unsupported.contains(device.device()))
        return false;
    return supported.isEmpty() || supported.contains(device.device());
}

bool makeDirs(const QString &dir, const QString &ipName)
{
    if (!dir.isEmpty() && (QFileInfo(dir).isDir() || QDir().mkpath(dir)))
        return true;
    const QString title = ipName.isEmpty() ? QStringLiteral("Error") : ipName;
    Core::MessageSink::report(title, QStringLiteral("Cannot create the directory %1").arg(dir),
                              Core::ViewManager::dialogParent());
    return false;
}

bool generateFile(const QString &path, const QStringList &lines, QWidget *parent,
                  const QString &encoding)
{
    QTextCodec *codec = encoding.isEmpty() ? QTextCodec::codecForName("UTF-8")
                                           : QTextCodec::codecForName(encoding.toLatin1());
    if (!codec) {
        reportFileError(path, QStringLiteral("unknown encoding \"%1\"").arg(encoding), parent);
        return false;
    }
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += codec->fromUnicode(line);
        bytes += '\n';
    }

    // QSaveFile writes beside the target and renames on commit, so a failure at any point
    // leaves the previous file as it was. The explicit flush matters: commit() does not notice
    // a failure of the buffered data it flushes itself, and would put a truncated file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        reportFileError(path, file.errorString(), parent);
        return false;
    }
    return true;
}

} // namespace IPCore

namespace IPSERDESIP {

ProtocolPackage::ProtocolPackage() = default;
ProtocolPackage::~ProtocolPackage() = default;

BaseProtocol::BaseProtocol() = default;
BaseProtocol::~BaseProtocol() = default;

} // namespace IPSERDESIP
