#include "filecalls.h"

#include <QDir>

#include <fcntl.h>
#include <sys/stat.h>

namespace HostFiles {
namespace Detail {

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

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

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

} // namespace Detail
} // namespace HostFiles
