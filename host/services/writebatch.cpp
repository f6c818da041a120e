#include "writebatchprivate.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HostFiles {

using Detail::absoluteClean;
using Detail::fail;
using Detail::Fd;
using Detail::kindProblem;
using Detail::systemReason;

namespace {

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

// A new temporary file for `fileName` in dir, its name in *temp; invalid with errno set.
Fd createTemporary(const Fd &dir, const QString &fileName, QByteArray *temp)
{
    Fd file;
    for (int attempt = 0; attempt < 100 && !file.isValid(); ++attempt) {
        *temp = QFile::encodeName(QLatin1Char('.') + fileName + QLatin1Char('.') + randomSuffix() +
                                  QStringLiteral(".tmp"));
        file = Fd(::openat(dir.get(), temp->constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file.isValid() && errno != EEXIST)
            break;
    }
    return file;
}

} // namespace

bool WriteBatch::Private::keepEarlierFiles(QString *error)
{
    for (Staged &entry : staged) {
        const QString problem = kindProblem(entry.dir.get(), entry.name, entry.shown, false);
        if (!problem.isEmpty())
            return fail(error, problem);
        struct stat st
        {
        };
        if (::fstatat(entry.dir.get(), entry.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const QByteArray backup = entry.temp + QByteArrayLiteral(".old");
        if (::linkat(entry.dir.get(), entry.name.constData(), entry.scratch.get(),
                     backup.constData(), 0) != 0)
            return fail(error, QStringLiteral("%1: %2").arg(entry.shown, systemReason(errno)));
        entry.backup = backup;
    }
    return true;
}

void WriteBatch::Private::rollBack(std::size_t count)
{
    for (std::size_t j = 0; j < count; ++j) {
        Staged &done = staged[j];
        if (done.backup.isEmpty()) {
            ::unlinkat(done.dir.get(), done.name.constData(), 0);
        } else if (::renameat(done.scratch.get(), done.backup.constData(), done.dir.get(),
                              done.name.constData()) == 0) {
            done.backup.clear();
        }
    }
}

WriteBatch::WriteBatch(const FileOps &ops) : d(std::make_unique<Private>(ops)) {}

const Fd &WriteBatch::Private::stagingFolder(const Fd &dir, const QString &dirPath)
{
    if (stageDir.isValid())
        return stageDir;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = stagingPrefix + QFile::encodeName(randomSuffix());
        if (::mkdirat(dir.get(), name.constData(), 0700) == 0) {
            stageParent = Fd(::dup(dir.get()));
            stageName = name;
            stagePath = dirPath + QLatin1Char('/') + QFile::decodeName(name);
            stageDir = Fd(::openat(dir.get(), name.constData(),
                                   O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            break;
        }
        if (errno != EEXIST)
            break;
    }
    return stageDir;
}

void WriteBatch::Private::removeStagingFolder()
{
    if (stageParent.isValid())
        ::unlinkat(stageParent.get(), stageName.constData(), AT_REMOVEDIR);
    stageDir.reset();
    stageParent.reset();
}

WriteBatch::~WriteBatch()
{
    for (const Private::Staged &entry : d->staged) {
        ::unlinkat(entry.scratch.get(), entry.temp.constData(), 0);
        if (!entry.backup.isEmpty())
            ::unlinkat(entry.scratch.get(), entry.backup.constData(), 0);
    }
    d->staged.clear();
    d->removeStagingFolder();
    d->locks.clear(); // their files go before the folders they are in
    if (!d->committed) {
        for (auto it = d->created.rbegin(); it != d->created.rend(); ++it)
            ::unlinkat(it->parent.get(), it->name.constData(), AT_REMOVEDIR);
    }
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
    // A generation's files are made in a private folder of its own, never beside their targets.
    const GenerationScope *scope = GenerationScope::current();
    const QString dirPath = QFileInfo(entry.key).path();
    if (scope && &scope->batch() == this) {
        if (!d->stagingFolder(entry.dir, dirPath).isValid())
            return fail(error, QStringLiteral("cannot make a staging folder in %1: %2")
                                   .arg(dirPath, systemReason(errno)));
        entry.scratch = Fd(::dup(d->stageDir.get()));
        entry.scratchFolder = d->stagePath;
    } else {
        entry.scratch = Fd(::dup(entry.dir.get()));
        entry.scratchFolder = dirPath;
    }
    Fd file = createTemporary(entry.scratch, fileName, &entry.temp);
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
    // The journals let the next run finish or undo a commit this process does not live through.
    if (!d->keepEarlierFiles(error) || !d->writeJournals(error)) {
        d->removeJournals();
        return false;
    }
    for (std::size_t i = 0; i < d->staged.size(); ++i) {
        Private::Staged &entry = d->staged[i];
        if (d->ops.rename(entry.scratch.get(), entry.temp.constData(), entry.dir.get(),
                          entry.name.constData()) == 0)
            continue;
        const QString reason = QStringLiteral("%1: %2").arg(entry.shown, systemReason(errno));
        d->rollBack(i);
        d->removeJournals();
        return fail(error, reason);
    }
    d->committed = true;
    for (Private::Staged &entry : d->staged)
        ::fsync(entry.dir.get()); // the renames themselves reach the disk
    d->removeJournals();
    for (Private::Staged &entry : d->staged) {
        if (!entry.backup.isEmpty())
            ::unlinkat(entry.scratch.get(), entry.backup.constData(), 0);
    }
    d->staged.clear();
    d->removeStagingFolder();
    return true;
}

bool writeFile(const Target &target, const QByteArray &bytes, QString *error, const FileOps &ops)
{
    WriteBatch batch(ops);
    return batch.stage(target, bytes, error) && batch.commit(error);
}

bool writeGenerated(const QString &path, const QByteArray &bytes, QString *error)
{
    GenerationScope *scope = GenerationScope::current();
    if (!scope)
        return writeFile(fileTarget(path), bytes, error);
    Target target;
    if (!targetBelow(scope->root(), path, &target, error))
        return false;
    // The folders first, so that the lock is never taken through a link.
    const Target folder{target.folder, target.relative.section(QLatin1Char('/'), 0, -2)};
    return scope->batch().makeFolders(folder, error) &&
           scope->batch().lock(folderLockPath(QFileInfo(path).path()), scope->lockTimeoutMs(),
                               error) &&
           scope->batch().stage(target, bytes, error);
}

} // namespace HostFiles
