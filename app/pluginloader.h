#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QFileInfo;
class QPluginLoader;

namespace IPSERDESIP {
class BaseProtocol;
class ProtocolPackage;
} // namespace IPSERDESIP

namespace HostProgram {

// The protocol id of the JESD204B core as its description file states it.
inline QString jesd204bId()
{
    return QStringLiteral("jesd204b");
}

// The plug-ins found in one directory, their packages and the protocols they handed out.
// The set owns the protocols; the libraries stay loaded for the life of the process, so a
// package or protocol pointer stays valid as long as the set does.
class PluginSet
{
public:
    enum class Status {
        Loaded,      // at least one package was loaded (it may offer no protocol)
        NoDirectory, // the directory does not exist
        NoPlugin     // the directory holds no loadable protocol package
    };

    struct Package
    {
        QString file;                          // absolute path of the library
        IPSERDESIP::ProtocolPackage *instance; // owned by the library
    };

    PluginSet();
    PluginSet(PluginSet &&) noexcept;
    PluginSet &operator=(PluginSet &&) noexcept;
    ~PluginSet();

    Status status() const { return m_status; }
    const std::vector<Package> &packages() const { return m_packages; }
    const std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> &protocols() const
    {
        return m_protocols;
    }
    // Libraries that were skipped, one "file: reason" line each.
    QStringList skipped() const { return m_skipped; }
    // What the packages reported while they loaded (why a core is not offered).
    QStringList loadReports() const { return m_loadReports; }
    // One line per library ignored because an earlier one already offers its cores.
    QStringList duplicates() const { return m_duplicates; }

    // The first protocol with this id; null when none.
    IPSERDESIP::BaseProtocol *findProtocol(const QString &id) const;
    IPSERDESIP::BaseProtocol *jesd204b() const { return findProtocol(jesd204bId()); }

private:
    friend PluginSet loadPlugins(const QString &dir, QString *error);

    // Loads one file of the directory: a protocol package joins the set, anything else is
    // skipped with its reason.
    void loadLibrary(const QFileInfo &entry);
    QStringList adoptProtocols(const QString &file,
                               const QList<IPSERDESIP::BaseProtocol *> &offered);

    Status m_status = Status::NoPlugin;
    std::vector<std::unique_ptr<QPluginLoader>> m_loaders;
    std::vector<Package> m_packages;
    QStringList m_skipped;
    QStringList m_loadReports;
    QStringList m_duplicates;
    // Declared after the loaders so the protocols are destroyed first.
    std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> m_protocols;
};

// Loads every protocol package in dir (not recursive), fills each package's directory with
// the library's directory and collects its protocols. When the status is not Loaded, *error
// (if given) holds a one-line explanation naming the directory.
PluginSet loadPlugins(const QString &dir, QString *error = nullptr);

// Where the build or the installation put the JESD204B plug-in, seen from this program.
QString defaultPluginDir();

} // namespace HostProgram
