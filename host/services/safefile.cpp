#include "safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HostFiles {

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// An open file descriptor that closes itself.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd &&other) noexcept : m_fd(other.release()) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = other.release();
        }
        return *this;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

// Why an entry that had to be a plain folder or file is not; empty when it is none of these.
QString kindProblem(int dirFd, const QByteArray &name, const QString &shown, bool wantFolder)
{
    struct stat st
    {
    };
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("%1 is a symbolic link; it is not followed").arg(shown);
    if (wantFolder && !S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is not a folder").arg(shown);
    if (!wantFolder && S_ISDIR(st.st_mode))
        return QStringLiteral("%1 is a folder").arg(shown);
    if (!wantFolder && !S_ISREG(st.st_mode))
        return QStringLiteral("%1 is not a regular file").arg(shown);
    return {};
}

QString randomSuffix()
{
    return QString::number(QRandomGenerator::global()->generate(), 36);
}

bool writeAll(const FileOps &ops, int fd, const QByteArray &bytes, QString *error)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const long written = ops.write(fd, data, static_cast<unsigned long>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail(error, systemReason(written < 0 ? errno : EIO));
        data += written;
        left -= written;
    }
    return true;
}

// QLockFile tells that it failed, not why: the same steps again give the system's reason.
QString lockFileProblem(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    Fd probe(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!probe.isValid())
        return systemReason(errno);
    const int written = int(::write(probe.get(), "0\n", 2));
    const int saved = errno;
    ::unlink(name.constData());
    return written == 2 ? QStringLiteral("the lock could not be written") : systemReason(saved);
}

GenerationScope *&currentScope()
{
    static GenerationScope *scope = nullptr;
    return scope;
}

} // namespace

FileOps::~FileOps() = default;

long FileOps::write(int fd, const char *data, unsigned long size) const
{
    return ::write(fd, data, size);
}

int FileOps::sync(int fd) const
{
    return ::fsync(fd);
}

int FileOps::rename(int dirFd, const char *from, const char *to) const
{
    return ::renameat(dirFd, from, dirFd, to);
}

const FileOps &FileOps::system()
{
    static const FileOps ops;
    return ops;
}

QString Target::path() const
{
    return QDir::cleanPath(folder + QLatin1Char('/') + relative);
}

Target fileTarget(const QString &path)
{
    const QFileInfo info(path);
    return Target{info.path(), info.fileName()};
}

bool targetBelow(const QString &folder, const QString &path, Target *target, QString *error)
{
    const QString root = absoluteClean(folder);
    const QString full = absoluteClean(path);
    const QString relative = QDir(root).relativeFilePath(full);
    if (relative.isEmpty() || relative == QLatin1String(".") || relative == QLatin1String("..") ||
        relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative))
        return fail(error, QStringLiteral("it lies outside %1").arg(folder));
    *target = Target{folder, relative};
    return true;
}

QString folderLockPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral(".ipcore-host.lock"));
}

struct WriteBatch::Private
{
    struct Staged
    {
        Fd dir;
        QByteArray temp;
        QByteArray name;
        QByteArray backup; // a hard link to the earlier file while the batch commits
        QString key;       // absolute, clean path
        QString shown;
        QByteArray bytes;
    };
    struct Created
    {
        Fd parent;
        QByteArray name;
    };

    explicit Private(const FileOps &o) : ops(o) {}

    // Opens target.folder and walks `parts` below it without following links; missing folders
    // are created when `create` is set. On success *out is the innermost folder.
    bool walk(const Target &target, const QStringList &parts, bool create, Fd *out, QString *error);

    const FileOps &ops;
    std::vector<Staged> staged;
    std::vector<Created> created;
    std::vector<std::unique_ptr<QLockFile>> locks;
    QStringList lockPaths;
    bool committed = false;
};

bool WriteBatch::Private::walk(const Target &target, const QStringList &parts, bool create, Fd *out,
                               QString *error)
{
    const QString folder = target.folder.isEmpty() ? QStringLiteral(".") : target.folder;
    if (folder.contains(QChar(0)) || target.relative.contains(QChar(0)))
        return fail(error, QStringLiteral("the file name holds a NUL character"));
    if (create && !QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create the working folder %1").arg(folder));
    Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isValid())
        return fail(error, QStringLiteral("%1: %2").arg(folder, systemReason(errno)));
    QString shown = folder;
    for (const QString &part : parts) {
        shown += QLatin1Char('/') + part;
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return fail(error, QStringLiteral("%1 leads out of %2").arg(shown, folder));
        const QByteArray name = QFile::encodeName(part);
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        Fd next(::openat(dir.get(), name.constData(), flags));
        if (!next.isValid() && errno == ENOENT && create) {
            if (::mkdirat(dir.get(), name.constData(), 0777) == 0) {
                created.push_back(Created{Fd(::dup(dir.get())), name});
                next = Fd(::openat(dir.get(), name.constData(), flags));
            } else if (errno == EEXIST) {
                // Another run made it first; it is checked like any folder that was there.
                next = Fd(::openat(dir.get(), name.constData(), flags));
            }
        }
        if (!next.isValid()) {
            const int saved = errno;
            const QString problem = kindProblem(dir.get(), name, shown, true);
            return fail(error, problem.isEmpty()
                                   ? QStringLiteral("%1: %2").arg(shown, systemReason(saved))
                                   : problem);
        }
        dir = std::move(next);
    }
    *out = std::move(dir);
    return true;
}

WriteBatch::WriteBatch(const FileOps &ops) : d(std::make_unique<Private>(ops)) {}

WriteBatch::~WriteBatch()
{
    for (const Private::Staged &entry : d->staged) {
        ::unlinkat(entry.dir.get(), entry.temp.constData(), 0);
        if (!entry.backup.isEmpty())
            ::unlinkat(entry.dir.get(), entry.backup.constData(), 0);
    }
    d->locks.clear(); // their files go before the folders they are in
    if (!d->committed) {
        for (auto it = d->created.rbegin(); it != d->created.rend(); ++it)
            ::unlinkat(it->parent.get(), it->name.constData(), AT_REMOVEDIR);
    }
}

bool WriteBatch::lock(const QString &lockPath, int timeoutMs, QString *error)
{
    const QString key = absoluteClean(lockPath);
    if (d->lockPaths.contains(key))
        return true;
    auto lock = std::make_unique<QLockFile>(key);
    if (!lock->tryLock(timeoutMs)) {
        switch (lock->error()) {
        case QLockFile::LockFailedError:
            return fail(error, QStringLiteral("another run is writing there (%1 held for more "
                                              "than %2 s)")
                                   .arg(lockPath, QString::number(timeoutMs / 1000.0)));
        default:
            return fail(error, QStringLiteral("cannot create the lock file %1: %2")
                                   .arg(lockPath, lockFileProblem(key)));
        }
    }
    d->locks.push_back(std::move(lock));
    d->lockPaths << key;
    return true;
}

bool WriteBatch::makeFolders(const Target &target, QString *error)
{
    Fd dir;
    return d->walk(target, target.relative.split(QLatin1Char('/'), Qt::SkipEmptyParts), true, &dir,
                   error);
}

bool WriteBatch::stage(const Target &target, const QByteArray &bytes, QString *error)
{
    const QString shown = target.path();
    QStringList parts = target.relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return fail(error, QStringLiteral("%1 names no file").arg(shown));
    const QString fileName = parts.takeLast();
    Private::Staged entry;
    if (!d->walk(target, parts, false, &entry.dir, error))
        return false;
    entry.name = QFile::encodeName(fileName);
    entry.shown = shown;
    entry.key = absoluteClean(shown);
    const QString problem = kindProblem(entry.dir.get(), entry.name, shown, false);
    if (!problem.isEmpty())
        return fail(error, problem);

    struct stat earlier
    {
    };
    const bool existed =
        ::fstatat(entry.dir.get(), entry.name.constData(), &earlier, AT_SYMLINK_NOFOLLOW) == 0;
    Fd file;
    for (int attempt = 0; attempt < 100 && !file.isValid(); ++attempt) {
        entry.temp = QFile::encodeName(QLatin1Char('.') + fileName + QLatin1Char('.') +
                                       randomSuffix() + QStringLiteral(".tmp"));
        file = Fd(::openat(entry.dir.get(), entry.temp.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.isValid() && errno != EEXIST)
            break;
    }
    if (!file.isValid())
        return fail(error, systemReason(errno));
    // From here the temporary file is ours and the destructor removes it if anything fails.
    d->staged.push_back(std::move(entry));
    if (existed)
        ::fchmod(file.get(), earlier.st_mode & 07777);
    if (!writeAll(d->ops, file.get(), bytes, error))
        return false;
    if (d->ops.sync(file.get()) != 0)
        return fail(error, systemReason(errno));
    if (::close(file.release()) != 0)
        return fail(error, systemReason(errno));
    d->staged.back().bytes = bytes;
    return true;
}

bool WriteBatch::staged(const QString &path, QByteArray *bytes) const
{
    const QString key = absoluteClean(path);
    for (const Private::Staged &entry : d->staged) {
        if (entry.key == key) {
            *bytes = entry.bytes;
            return true;
        }
    }
    return false;
}

bool WriteBatch::isEmpty() const
{
    return d->staged.empty();
}

bool WriteBatch::commit(QString *error)
{
    // Every target is checked and its earlier file kept as a hard link before the first rename,
    // so a failure on the way can put every earlier file back.
    for (Private::Staged &entry : d->staged) {
        const QString problem = kindProblem(entry.dir.get(), entry.name, entry.shown, false);
        if (!problem.isEmpty())
            return fail(error, problem);
        struct stat st
        {
        };
        if (::fstatat(entry.dir.get(), entry.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QByteArray backup = entry.temp + QByteArrayLiteral(".old");
        if (::linkat(entry.dir.get(), entry.name.constData(), entry.dir.get(), backup.constData(),
                     0) != 0)
            return fail(error, QStringLiteral("%1: %2").arg(entry.shown, systemReason(errno)));
        entry.backup = backup;
    }
    for (std::size_t i = 0; i < d->staged.size(); ++i) {
        Private::Staged &entry = d->staged[i];
        if (d->ops.rename(entry.dir.get(), entry.temp.constData(), entry.name.constData()) == 0)
            continue;
        const QString reason = QStringLiteral("%1: %2").arg(entry.shown, systemReason(errno));
        for (std::size_t j = 0; j < i; ++j) {
            Private::Staged &done = d->staged[j];
            if (done.backup.isEmpty()) {
                ::unlinkat(done.dir.get(), done.name.constData(), 0);
            } else if (::renameat(done.dir.get(), done.backup.constData(), done.dir.get(),
                                  done.name.constData()) == 0) {
                done.backup.clear();
            }
        }
        return fail(error, reason);
    }
    d->committed = true;
    for (Private::Staged &entry : d->staged) {
        if (!entry.backup.isEmpty())
            ::unlinkat(entry.dir.get(), entry.backup.constData(), 0);
        ::fsync(entry.dir.get()); // the renames themselves reach the disk
    }
    d->staged.clear();
    return true;
}

GenerationScope::GenerationScope(WriteBatch &batch, const QString &root, int lockTimeoutMs)
    : m_batch(batch), m_root(root), m_lockTimeoutMs(lockTimeoutMs), m_outer(currentScope())
{
    currentScope() = this;
}

GenerationScope::~GenerationScope()
{
    currentScope() = m_outer;
}

GenerationScope *GenerationScope::current()
{
    return currentScope();
}

bool writeFile(const Target &target, const QByteArray &bytes, QString *error, const FileOps &ops)
{
    WriteBatch batch(ops);
    return batch.stage(target, bytes, error) && batch.commit(error);
}

} // namespace HostFiles
