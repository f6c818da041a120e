#include "writebatchprivate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
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

// Why the lock's name holds something no run made (a link, a folder, a file that is no lock);
// empty when it is free or a lock file. Garbage in a regular file is removed: a run writes its
// lock whole before it counts as held.
QString notALock(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st
    {
    };
    if (::lstat(name.constData(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("the lock %1 is a symbolic link, which no run makes; remove it")
            .arg(path);
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("the lock %1 is a folder, which no run makes; remove it").arg(path);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("the lock %1 is not a regular file; remove it").arg(path);
    // A run writes its lock right after making it: one left empty for seconds lost its run.
    QFile file(path);
    if (st.st_size == 0 && ::time(nullptr) - st.st_mtime > 2) {
        QLockFile(path).removeStaleLockFile();
    } else if (st.st_size > 0 && file.open(QIODevice::ReadOnly)) {
        bool isNumber = false;
        file.readLine(64).trimmed().toLongLong(&isNumber);
        if (!isNumber)
            QLockFile(path).removeStaleLockFile();
    }
    return {};
}

} // namespace

bool WriteBatch::lock(const QString &lockPath, int timeoutMs, QString *error)
{
    const QString key = Detail::absoluteClean(lockPath);
    if (d->lockPaths.contains(key))
        return true;
    const QString problem = notALock(key);
    if (!problem.isEmpty())
        return fail(error, problem);
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
    Private::recover(key);
    if (QFileInfo(key).fileName() == QFileInfo(folderLockPath(QStringLiteral("."))).fileName())
        d->removeDeadScratch(QFileInfo(key).path());
    return true;
}

QString folderLockPath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral(".ipcore-host.lock"));
}

} // namespace HostFiles
