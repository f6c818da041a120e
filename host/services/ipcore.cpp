#include "ipcore.h"

#include "baseprotocol.h"
#include "devicedb.h"
#include "idecore.h"
#include "protocolpackage.h"
#include <logging/hostlogging.h>
#include <services/inputfile.h>
#include <services/safefile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextCodec>

#include <algorithm>
#include <memory>

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
    // The caller only learns that the map is empty; the debug log says why.
    QString error;
    IPSERDESIP::ParameterMap info = processIPInfoSpec(path, &error);
    if (!error.isEmpty())
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << error;
    return info;
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
    const QString problem = commonInfoProblem(info);
    // An empty map was already explained by the reader.
    if (!problem.isEmpty() && !info.isEmpty())
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << problem;
    return problem.isEmpty();
}

QString commonInfoProblem(const IPSERDESIP::ParameterMap &info)
{
    const bool filled = isFilledString(info.value(QStringLiteral("ipcore.id"))) &&
                        isFilledString(info.value(QStringLiteral("ipcore.name"))) &&
                        isFilledString(info.value(QStringLiteral("ipcore.version")));
    return filled ? QString()
                  : QStringLiteral("the description file needs \"ipcore.id\", \"ipcore.name\" "
                                   "and \"ipcore.version\" as filled texts");
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
    QString problem;
    bool made = false;
    if (HostFiles::GenerationScope *scope = HostFiles::GenerationScope::current()) {
        // Under a generation every folder below the working folder is a real one.
        HostFiles::Target target;
        made = HostFiles::targetBelow(scope->root(), dir, &target, &problem) &&
               scope->batch().makeFolders(target, &problem);
    } else {
        made = !dir.isEmpty() && (QFileInfo(dir).isDir() || QDir().mkpath(dir));
    }
    if (made)
        return true;
    const QString title = ipName.isEmpty() ? QStringLiteral("Error") : ipName;
    QString text = QStringLiteral("Cannot create the directory %1").arg(dir);
    if (!problem.isEmpty())
        text += QStringLiteral(": ") + problem;
    Core::MessageSink::report(title, text, Core::ViewManager::dialogParent());
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
    // One pass over the whole text: the line ends are encoded like every other character (two
    // bytes in UTF-16), and a byte-order mark is written once, only where the encoding needs it
    // to tell the order ("UTF-16", "UTF-32"; not UTF-8 nor UTF-16LE).
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    const QByteArray name = codec->name().toUpper();
    const bool needsMark = name == "UTF-16" || name == "UTF-32";
    const std::unique_ptr<QTextEncoder> encoder(
        codec->makeEncoder(needsMark ? QTextCodec::DefaultConversion : QTextCodec::IgnoreHeader));
    const QByteArray bytes = text.isEmpty() ? QByteArray() : encoder->fromUnicode(text);

    QString problem;
    const bool written = HostFiles::writeGenerated(path, bytes, &problem);
    if (!written)
        reportFileError(path, problem, parent);
    return written;
}

} // namespace IPCore

namespace IPSERDESIP {

ProtocolPackage::ProtocolPackage() = default;
ProtocolPackage::~ProtocolPackage() = default;

BaseProtocol::BaseProtocol() = default;
BaseProtocol::~BaseProtocol() = default;

} // namespace IPSERDESIP
