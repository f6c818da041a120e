#include "writebatchprivate.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A commit that a killed run left half done is finished or undone by the next run that takes
// one of its locks. Before its first rename a commit writes a journal beside each lock it holds,
// naming every staged file, its temporary and its kept earlier file; the journal beside its
// first lock is written last and is the decision: once it exists the commit goes forward.
namespace HostFiles {

namespace {

const QByteArray JournalHeader = QByteArrayLiteral("ipcore-host commit 2");

QByteArray field(const QString &text)
{
    return QFile::encodeName(text).toPercentEncoding();
}

QString unfield(const QByteArray &bytes)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(bytes));
}

bool exists(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

void removeFile(const QString &path)
{
    ::unlink(QFile::encodeName(path).constData());
}

// Writes the bytes to path through a temporary beside it, on the disk before the rename.
bool writeJournal(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const QByteArray temp = name + ".tmp";
    Detail::Fd file(
        ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.isValid())
        return false;
    const bool written =
        ::write(file.get(), bytes.constData(), std::size_t(bytes.size())) == bytes.size() &&
        ::fsync(file.get()) == 0;
    file.reset();
    return written && ::rename(temp.constData(), name.constData()) == 0;
}

} // namespace

QString WriteBatch::Private::journalPath(const QString &lockPath)
{
    return lockPath + QStringLiteral(".journal");
}

bool WriteBatch::Private::writeJournals(QString *error)
{
    if (lockPaths.isEmpty())
        return true; // one unlocked file: its rename alone is the commit
    QByteArray text = JournalHeader + '\n';
    for (const QString &lock : lockPaths)
        text += "journal " + field(journalPath(lock)) + '\n';
    for (const Staged &entry : staged) {
        const QString dir = QFileInfo(entry.key).path();
        text += "file " + field(dir) + ' ' + field(QFile::decodeName(entry.name)) + ' ' +
                field(entry.scratchFolder) + ' ' + field(QFile::decodeName(entry.temp)) + ' ' +
                field(QFile::decodeName(entry.backup)) + '\n';
    }
    // The decision, beside the first lock, goes last.
    for (int i = lockPaths.size() - 1; i >= 0; --i) {
        if (!writeJournal(journalPath(lockPaths.at(i)), text))
            return Detail::fail(error, QStringLiteral("%1: %2").arg(journalPath(lockPaths.at(i)),
                                                                    Detail::systemReason(errno)));
    }
    return true;
}

void WriteBatch::Private::removeJournals()
{
    for (int i = 1; i < lockPaths.size(); ++i)
        removeFile(journalPath(lockPaths.at(i)));
    if (!lockPaths.isEmpty())
        removeFile(journalPath(lockPaths.first()));
}

void WriteBatch::Private::recover(const QString &lockPath)
{
    QFile journal(journalPath(lockPath));
    if (!journal.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = journal.readAll().split('\n');
    journal.close();
    if (lines.value(0) != JournalHeader)
        return;
    QStringList journals;
    for (const QByteArray &line : lines) {
        if (line.startsWith("journal "))
            journals << unfield(line.mid(8));
    }
    const bool decided = !journals.isEmpty() && exists(journals.first());
    QStringList scratchFolders;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() != 6 || parts.first() != "file")
            continue;
        const QString name = QDir(unfield(parts.at(1))).filePath(unfield(parts.at(2)));
        const QDir scratch(unfield(parts.at(3)));
        const QString temp = scratch.filePath(unfield(parts.at(4)));
        if (decided && exists(temp))
            ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(name).constData());
        else
            removeFile(temp);
        if (!parts.at(5).isEmpty())
            removeFile(scratch.filePath(unfield(parts.at(5))));
        if (!scratchFolders.contains(scratch.path()))
            scratchFolders << scratch.path();
    }
    // A staging folder emptied here goes with its run.
    for (const QString &folder : qAsConst(scratchFolders)) {
        if (QFileInfo(folder).fileName().startsWith(QLatin1String(stagingPrefix)))
            ::rmdir(QFile::encodeName(folder).constData());
    }
    for (int i = journals.size() - 1; i >= 0; --i)
        removeFile(journals.at(i) + QStringLiteral(".tmp"));
    for (int i = 1; i < journals.size(); ++i)
        removeFile(journals.at(i));
    if (!journals.isEmpty())
        removeFile(journals.first());
}

void WriteBatch::Private::removeDeadScratch(const QString &folder) const
{
    QDirIterator it(folder, {QStringLiteral(".*.tmp"), QStringLiteral(".*.tmp.old")},
                    QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (it.hasNext()) {
        const QString path = it.next();
        const QByteArray name = QFile::encodeName(it.fileName());
        const bool ours = std::any_of(staged.begin(), staged.end(), [&](const Staged &entry) {
            return entry.temp == name || entry.backup == name;
        });
        if (!ours)
            removeFile(path);
    }
    // Every run that stages here holds the folder's lock, so a staging folder not ours is dead.
    QDirIterator folders(folder, {QLatin1String(stagingPrefix) + QLatin1Char('*')},
                         QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    while (folders.hasNext()) {
        const QString path = folders.next();
        if (QFile::encodeName(folders.fileName()) != stageName)
            QDir(path).removeRecursively();
    }
}

} // namespace HostFiles
