#include "filecalls.h"

#include <services/safefile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HostFiles {

namespace {

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

int FileOps::rename(int fromDirFd, const char *from, int toDirFd, const char *to) const
{
    return ::renameat(fromDirFd, from, toDirFd, to);
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
    const QString root = Detail::absoluteClean(folder);
    const QString full = Detail::absoluteClean(path);
    const QString relative = QDir(root).relativeFilePath(full);
    if (relative.isEmpty() || relative == QLatin1String(".") || relative == QLatin1String("..") ||
        relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative))
        return Detail::fail(error, QStringLiteral("it lies outside %1").arg(folder));
    *target = Target{folder, relative};
    return true;
}

QString inputAt(const QString &output, const QStringList &inputs)
{
    struct stat out
    {
    };
    if (output.isEmpty() || ::stat(QFile::encodeName(output).constData(), &out) != 0)
        return {};
    for (const QString &input : inputs) {
        struct stat in
        {
        };
        if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &in) == 0 &&
            in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return input;
    }
    return {};
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

} // namespace HostFiles
