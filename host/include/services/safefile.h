#pragma once

#include "hostexport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// The host's one way to write a file. A file is written whole to a temporary file (beside its
// target, or in the private staging folder of a generation), flushed to the disk, and only then
// renamed over the target, so a failure at any point leaves the earlier file as it was. Below the
// folder a caller names, no symbolic link is ever followed and nothing that is not a regular file
// is replaced. Failures carry the system's reason.
namespace HostFiles {

// The system calls whose failure the writer handles after its checks; tests inject faults here.
class IPSERDESHOST_EXPORT FileOps
{
public:
    virtual ~FileOps();
    virtual long write(int fd, const char *data, unsigned long size) const;
    virtual int sync(int fd) const;
    virtual int rename(int fromDirFd, const char *from, int toDirFd, const char *to) const;

    static const FileOps &system();
};

// Where a file goes: `folder` is used as the caller gives it (it may be a link the user chose);
// `relative` is the path below it, whose every part must be a real folder or file.
struct IPSERDESHOST_EXPORT Target
{
    QString folder;
    QString relative;

    QString path() const;
};

// An explicit file name: its own folder as given, the name below it.
IPSERDESHOST_EXPORT Target fileTarget(const QString &path);

// `path` as a target below `folder`; false with *error when it leads outside the folder.
IPSERDESHOST_EXPORT bool targetBelow(const QString &folder, const QString &path, Target *target,
                                     QString *error);

// Files written together: each is staged in full first, then all are renamed into place under
// the batch's locks; if one rename fails the others are rolled back to their earlier files.
// Whatever is not committed is removed when the batch ends, folders it created included.
class IPSERDESHOST_EXPORT WriteBatch
{
public:
    explicit WriteBatch(const FileOps &ops = FileOps::system());
    ~WriteBatch();
    WriteBatch(const WriteBatch &) = delete;
    WriteBatch &operator=(const WriteBatch &) = delete;

    // Holds `lockPath` (a QLockFile) until the batch ends, waiting at most timeoutMs for another
    // process that holds it. Taking a lock the batch already holds is a no-op.
    bool lock(const QString &lockPath, int timeoutMs, QString *error);
    // Creates the missing folders of `target.relative` (all of it) below `target.folder`.
    bool makeFolders(const Target &target, QString *error);
    // Writes the bytes to a temporary file beside the target; the folders must exist.
    bool stage(const Target &target, const QByteArray &bytes, QString *error);
    // The bytes staged for a path (as Target::path() spells it), if any.
    bool staged(const QString &path, QByteArray *bytes) const;
    bool commit(QString *error);
    bool isEmpty() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// While it lives, the host's generation services (IPCore::makeDirs, IPCore::generateFile and the
// synthesis step) write below `root` only, through `batch`, holding a lock on every folder they
// write into; the batch stages their files in a private folder it makes in the folder of the
// first one. Scopes do not nest: the innermost one is current.
class IPSERDESHOST_EXPORT GenerationScope
{
public:
    GenerationScope(WriteBatch &batch, const QString &root, int lockTimeoutMs = 10000);
    ~GenerationScope();
    GenerationScope(const GenerationScope &) = delete;
    GenerationScope &operator=(const GenerationScope &) = delete;

    static GenerationScope *current();
    WriteBatch &batch() const { return m_batch; }
    QString root() const { return m_root; }
    int lockTimeoutMs() const { return m_lockTimeoutMs; }

private:
    WriteBatch &m_batch;
    QString m_root;
    int m_lockTimeoutMs;
    GenerationScope *m_outer;
};

// One file on its own: staged and committed at once.
IPSERDESHOST_EXPORT bool writeFile(const Target &target, const QByteArray &bytes, QString *error,
                                   const FileOps &ops = FileOps::system());

// A file of a generation: staged in the current generation scope's batch, below its root and
// under the lock of its folder, or written on its own when no generation runs.
IPSERDESHOST_EXPORT bool writeGenerated(const QString &path, const QByteArray &bytes,
                                        QString *error);

// The input that `output` already is, compared by device and inode so that another name, a hard
// link or a symbolic link to an input is found too; empty when it is none of them (or does not
// exist yet).
IPSERDESHOST_EXPORT QString inputAt(const QString &output, const QStringList &inputs);

// A private folder (mkdtemp, mode 0700) for a run's scratch files, removed with what it holds
// when the object ends. It is made in the first folder where that succeeds: $TMPDIR when set,
// then /tmp. A folder where none can be made (missing, no folder, not writable) is passed over
// for the next, never for "/"; when none is left, errorString() names each one tried with the
// system's reason.
class IPSERDESHOST_EXPORT ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString filePath(const QString &name) const;
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
};

// The name of the lock file a folder's writers share.
IPSERDESHOST_EXPORT QString folderLockPath(const QString &folder);

} // namespace HostFiles
