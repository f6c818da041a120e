#include "pluginloader.h"

#include <baseprotocol.h>
#include <logging/hostlogging.h>
#include <protocolpackage.h>
#include <services/packagestatus.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

#include <algorithm>

namespace HostProgram {

PluginSet::PluginSet() = default;
PluginSet::PluginSet(PluginSet &&) noexcept = default;
PluginSet &PluginSet::operator=(PluginSet &&) noexcept = default;
PluginSet::~PluginSet() = default;

IPSERDESIP::BaseProtocol *PluginSet::findProtocol(const QString &id) const
{
    const auto found = std::find_if(m_protocols.begin(), m_protocols.end(),
                                    [&id](const auto &protocol) { return protocol->id() == id; });
    return found == m_protocols.end() ? nullptr : found->get();
}

const PluginSet::Library *PluginSet::firstWithoutCore() const
{
    const auto found = std::find_if(m_libraries.begin(), m_libraries.end(), [](const Library &l) {
        return l.state == Library::State::OffersNothing;
    });
    return found == m_libraries.end() ? nullptr : &*found;
}

QStringList PluginSet::duplicates() const
{
    QStringList lines;
    for (const Library &library : m_libraries) {
        if (library.package && !library.error.isEmpty() &&
            library.state != Library::State::OffersNothing)
            lines << QStringLiteral("%1: %2").arg(library.file, library.error);
    }
    return lines;
}

// Keeps each offered protocol whose id no earlier library offers.
void PluginSet::adoptProtocols(const QList<IPSERDESIP::BaseProtocol *> &offered, Library *library)
{
    QStringList ignored;
    for (IPSERDESIP::BaseProtocol *protocol : offered) {
        std::unique_ptr<IPSERDESIP::BaseProtocol> owned(protocol);
        // A second copy of a library offers the same cores again; the first one counts.
        if (findProtocol(protocol->id())) {
            if (!ignored.contains(protocol->id()))
                ignored << protocol->id();
            continue;
        }
        library->ids << protocol->id();
        m_protocols.push_back(std::move(owned));
    }
    if (!ignored.isEmpty())
        library->error =
            QStringLiteral("ignored, the %1 core%2 already offered by an earlier plug-in")
                .arg(ignored.join(QStringLiteral(", ")),
                     ignored.size() > 1 ? QStringLiteral("s are") : QStringLiteral(" is"));
    library->state = !library->ids.isEmpty() ? Library::State::Offering
                     : ignored.isEmpty()     ? Library::State::OffersNothing
                                             : Library::State::Duplicate;
}

void PluginSet::loadLibrary(const QFileInfo &entry)
{
    Library library;
    library.file = entry.absoluteFilePath();
    if (!QLibrary::isLibrary(library.file)) {
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote()
            << "skipped" << library.file << "(not a library)";
        return;
    }
    auto loader = std::make_unique<QPluginLoader>(library.file);
    // The metadata says what the library is before any of its code runs.
    const QJsonObject metaData = loader->metaData();
    library.iid = metaData.value(QStringLiteral("IID")).toString();
    library.className = metaData.value(QStringLiteral("className")).toString();
    QObject *root = metaData.isEmpty() ? nullptr : loader->instance();
    auto *package = qobject_cast<IPSERDESIP::ProtocolPackage *>(root);
    if (!package) {
        library.state = root ? Library::State::NotPackage : Library::State::NotPlugin;
        library.error = root ? QStringLiteral("not a protocol package (%1)").arg(library.iid)
                             : loader->errorString();
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote()
            << QStringLiteral("refused %1: %2").arg(library.file, library.error);
        m_libraries.push_back(library);
        return;
    }
    library.package = package;
    // absolutePath() has no trailing separator; the protocols append "/..." to it.
    package->setDirectory(entry.absolutePath());
    adoptProtocols(package->protocols(), &library);
    if (library.state == Library::State::OffersNothing)
        library.error = IPSERDESIP::unavailableReasonOf(package);
    qCDebug(IPSERDESIP::Logging::lcPlugins).noquote()
        << "loaded" << library.file << "offering:"
        << (library.ids.isEmpty() ? QStringLiteral("no core") : library.ids.join(", "));
    m_libraries.push_back(library);
    m_loaders.push_back(std::move(loader));
}

PluginSet loadPlugins(const QString &dir, QString *error)
{
    PluginSet set;
    const QFileInfo dirInfo(dir);
    qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << "looking for plug-ins in" << dir;
    if (!dirInfo.isDir()) {
        set.m_status = PluginSet::Status::NoDirectory;
        if (error)
            *error = QStringLiteral("%1: no such directory").arg(dir);
        return set;
    }

    const QFileInfoList entries =
        QDir(dirInfo.absoluteFilePath())
            .entryInfoList(QDir::Files | QDir::Readable | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        set.loadLibrary(entry);

    const bool packages =
        std::any_of(set.m_libraries.begin(), set.m_libraries.end(),
                    [](const PluginSet::Library &library) { return library.package; });
    if (!packages) {
        set.m_status = PluginSet::Status::NoPlugin;
        if (error)
            *error = QStringLiteral("%1: no protocol plug-in found").arg(dir);
    } else {
        set.m_status = PluginSet::Status::Loaded;
    }
    return set;
}

QString defaultPluginDir()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString buildDir = bin.absoluteFilePath(QStringLiteral(JESD_DEFAULT_PLUGIN_DIR_BUILD));
    if (QFileInfo(buildDir).isDir())
        return QDir::cleanPath(buildDir);
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral(JESD_DEFAULT_PLUGIN_DIR_INSTALL)));
}

} // namespace HostProgram
