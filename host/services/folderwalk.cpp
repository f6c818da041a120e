#include "folderwalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace HostFiles {
namespace Detail {

namespace {

// Opens (or, when asked, makes and opens) the folder `name` below dir without following a link.
Fd openChild(const Fd &dir, const QByteArray &name, bool create,
             std::vector<CreatedFolder> *created)
{
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    Fd next(::openat(dir.get(), name.constData(), flags));
    if (!next.isValid() && errno == ENOENT && create) {
        if (::mkdirat(dir.get(), name.constData(), 0777) == 0) {
            created->push_back(CreatedFolder{Fd(::dup(dir.get())), name});
            next = Fd(::openat(dir.get(), name.constData(), flags));
        } else if (errno == EEXIST) {
            // Another run made it first; it is checked like any folder that was there.
            next = Fd(::openat(dir.get(), name.constData(), flags));
        }
    }
    return next;
}

} // namespace

bool walkFolders(const Target &target, const QStringList &parts, bool create,
                 std::vector<CreatedFolder> *created, Fd *out, QString *error)
{
    const QString folder = target.folder.isEmpty() ? QStringLiteral(".") : target.folder;
    if (folder.contains(QChar(0)) || target.relative.contains(QChar(0)))
        return fail(error, QStringLiteral("the file name holds a NUL character"));
    if (create && !QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return fail(error, QStringLiteral("cannot create the working folder %1: %2")
                               .arg(folder, systemReason(errno)));
    Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.isValid())
        return fail(error, QStringLiteral("%1: %2").arg(folder, systemReason(errno)));
    QString shown = folder;
    for (const QString &part : parts) {
        shown += QLatin1Char('/') + part;
        if (part == QLatin1String(".") || part == QLatin1String(".."))
            return fail(error, QStringLiteral("%1 leads out of %2").arg(shown, folder));
        const QByteArray name = QFile::encodeName(part);
        Fd next = openChild(dir, name, create, created);
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

} // namespace Detail
} // namespace HostFiles
