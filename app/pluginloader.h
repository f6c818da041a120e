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

    // What the loader made of one library of the directory.
    struct Library
    {
        enum class State {
            NotPlugin,     // no Qt plug-in metadata, or Qt could not instantiate it
            NotPackage,    // a Qt plug-in whose root object is no protocol package
            Offering,      // a package whose protocols joined the set
            OffersNothing, // a package that offered no protocol
            Duplicate      // a package whose cores an earlier library already offers
        };
        QString file; // absolute path
        State state = State::NotPlugin;
        QString iid;       // of the metadata, read before the library is instantiated
        QString className; // of the metadata
        QStringList ids;   // the cores the library adds
        // Why it adds no core (or not all it offered); for a package that offered nothing,
        // the reason the package gives, if any.
        QString error;
        IPSERDESIP::ProtocolPackage *package = nullptr; // owned by the library
    };

    PluginSet();
    PluginSet(PluginSet &&) noexcept;
    PluginSet &operator=(PluginSet &&) noexcept;
    ~PluginSet();

    Status status() const { return m_status; }
    const std::vector<Library> &libraries() const { return m_libraries; }
    const std::vector<std::unique_ptr<IPSERDESIP::BaseProtocol>> &protocols() const
    {
        return m_protocols;
    }
    // The first package that offered no protocol; null when every package offers one.
    const Library *firstWithoutCore() const;
    // One "file: ignored, ..." line per library whose cores an earlier one already offers.
    QStringList duplicates() const;

    // The first protocol with this id; null when none.
    IPSERDESIP::BaseProtocol *findProtocol(const QString &id) const;
    IPSERDESIP::BaseProtocol *jesd204b() const { return findProtocol(jesd204bId()); }

private:
    friend PluginSet loadPlugins(const QString &dir, QString *error);

    // Loads one file of the directory and records what it is.
    void loadLibrary(const QFileInfo &entry);
    void adoptProtocols(const QList<IPSERDESIP::BaseProtocol *> &offered, Library *library);

    Status m_status = Status::NoPlugin;
    std::vector<std::unique_ptr<QPluginLoader>> m_loaders;
    std::vector<Library> m_libraries;
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
