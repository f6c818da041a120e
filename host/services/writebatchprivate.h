#pragma once

#include "folderwalk.h"

#include <services/safefile.h>

#include <QLockFile>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

namespace HostFiles {

struct Q_DECL_HIDDEN WriteBatch::Private
{
    struct Staged
    {
        Detail::Fd dir;
        Detail::Fd scratch;    // where temp and backup are: dir, or the private staging folder
        QString scratchFolder; // its absolute path, for the journal
        QByteArray temp;
        QByteArray name;
        QByteArray backup; // a hard link to the earlier file while the batch commits
        QString key;       // absolute, clean path
        QString shown;
        QByteArray bytes;
    };

    // The name of a staging folder starts so; the next run in the folder removes a dead one.
    static constexpr const char *stagingPrefix = ".ipcore-stage-";

    explicit Private(const FileOps &o) : ops(o) {}

    bool walk(const Target &target, const QStringList &parts, bool create, Detail::Fd *out,
              QString *error)
    {
        return Detail::walkFolders(target, parts, create, &created, out, error);
    }

    // Keeps every earlier target as a hard link beside it, after checking each is still a file.
    bool keepEarlierFiles(QString *error);
    // Puts back the earlier files of the first `count` staged entries, already renamed.
    void rollBack(std::size_t count);

    static QString journalPath(const QString &lockPath);
    // Journals beside every lock, naming every staged entry; false with *error.
    bool writeJournals(QString *error);
    void removeJournals();
    // Finishes (decided) or undoes the commit whose journal lies beside lockPath, if any.
    static void recover(const QString &lockPath);
    // Removes the temporary files and staging folders dead runs left in a folder whose lock is
    // held.
    void removeDeadScratch(const QString &folder) const;
    // The private staging folder of a generation's files, made in `dir` (the folder of its first
    // file, whose lock the batch holds) on first use; invalid with errno set.
    const Detail::Fd &stagingFolder(const Detail::Fd &dir, const QString &dirPath);
    void removeStagingFolder();

    const FileOps &ops;
    std::vector<Staged> staged;
    std::vector<Detail::CreatedFolder> created;
    std::vector<std::unique_ptr<QLockFile>> locks;
    QStringList lockPaths;
    Detail::Fd stageParent;
    Detail::Fd stageDir;
    QByteArray stageName;
    QString stagePath;
    bool committed = false;
};

} // namespace HostFiles
