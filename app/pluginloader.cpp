#include "pluginloader.h"

#include <baseprotocol.h>
#include <hostlogging.h>
#include <protocolpackage.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

namespace {

// A package says why it offers no protocol in a warning; the handler takes a plain function,
// so the warnings of one load go to this list.
QStringList *loadReportsTarget = nullptr;

void recordLoadReport(QtMsgType type, const QMessageLogContext & /*context*/, const QString &text)
{
    if (loadReportsTarget && type != QtDebugMsg && type != QtInfoMsg)
        *loadReportsTarget << text;
}

// Sends the warnings into *reports while it lives.
class LoadReportCapture
{
public:
    explicit LoadReportCapture(QStringList *reports)
    {
        loadReportsTarget = reports;
        m_previous = qInstallMessageHandler(recordLoadReport);
    }
    ~LoadReportCapture()
    {
        qInstallMessageHandler(m_previous);
        loadReportsTarget = nullptr;
    }
    LoadReportCapture(const LoadReportCapture &) = delete;
    LoadReportCapture &operator=(const LoadReportCapture &) = delete;

private:
    QtMessageHandler m_previous = nullptr;
};

} // namespace

// Keeps each offered protocol whose id no earlier library offers; returns the ids kept.
QStringList PluginSet::adoptProtocols(const QString &file,
                                      const QList<IPSERDESIP::BaseProtocol *> &offered)
{
    QStringList ids;
    for (IPSERDESIP::BaseProtocol *protocol : offered) {
        std::unique_ptr<IPSERDESIP::BaseProtocol> owned(protocol);
        // A second copy of a library offers the same cores again; the first one counts.
        if (findProtocol(protocol->id())) {
            const QString line = QStringLiteral("%1: ignored, the %2 core is already "
                                                "offered by an earlier plug-in")
                                     .arg(file, protocol->id());
            if (!m_duplicates.contains(line))
                m_duplicates << line;
            continue;
        }
        ids << protocol->id();
        m_protocols.push_back(std::move(owned));
    }
    return ids;
}

void PluginSet::loadLibrary(const QFileInfo &entry)
{
    const QString file = entry.absoluteFilePath();
    if (!QLibrary::isLibrary(file)) {
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << "skipped" << file << "(not a library)";
        return;
    }
    auto loader = std::make_unique<QPluginLoader>(file);
    QObject *root = loader->instance();
    if (!root) {
        m_skipped << QStringLiteral("%1: %2").arg(file, loader->errorString());
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << "refused" << m_skipped.last();
        return;
    }
    auto *package = qobject_cast<IPSERDESIP::ProtocolPackage *>(root);
    if (!package) {
        m_skipped << QStringLiteral("%1: not a protocol package").arg(file);
        qCDebug(IPSERDESIP::Logging::lcPlugins).noquote() << "refused" << m_skipped.last();
        return;
    }
    // absolutePath() has no trailing separator; the protocols append "/..." to it.
    package->setDirectory(entry.absolutePath());
    QList<IPSERDESIP::BaseProtocol *> offered;
    {
        const LoadReportCapture capture(&m_loadReports);
        offered = package->protocols();
    }
    const QStringList ids = adoptProtocols(file, offered);
    qCDebug(IPSERDESIP::Logging::lcPlugins).noquote()
        << "loaded" << file
        << "offering:" << (ids.isEmpty() ? QStringLiteral("no core") : ids.join(", "));
    m_packages.push_back({file, package});
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

    if (set.m_packages.empty()) {
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
