#include "writebatchprivate.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace HostFiles {

using Detail::fail;
using Detail::Fd;
using Detail::systemReason;

namespace {

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

} // namespace

bool WriteBatch::lock(const QString &lockPath, int timeoutMs, QString *error)
{
    const QString key = Detail::absoluteClean(lockPath);
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

QString folderLockPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral(".ipcore-host.lock"));
}

} // namespace HostFiles
