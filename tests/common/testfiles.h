#pragma once

#include "testpaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Reading and preparing files around a test. A missing file reads as a marker that no real
// content equals, so a comparison against expected bytes fails visibly.
namespace TestFiles {

inline QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<no file>");
}

inline QString put(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Everything below dir, links and hidden files included, relative and sorted: leftovers show.
// With hashes, each entry also names its content (a file's hash, a link's target) so a changed
// file shows too.
inline QStringList tree(const QString &dir, bool hashes = false)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString hash = info.isSymLink() ? QStringLiteral(" -> ") + info.symLinkTarget()
                             : info.isFile()
                                 ? QStringLiteral(" %1").arg(qHash(bytes(info.filePath())))
                                 : QStringLiteral(" dir");
        entries << QDir(dir).relativeFilePath(info.filePath()) + (hashes ? hash : QString());
    }
    entries.sort();
    return entries;
}

inline QJsonObject readJson(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                          : QJsonObject();
}

inline QString writeJson(const QString &path, const QJsonObject &object)
{
    return put(path, QJsonDocument(object).toJson());
}

// The file's object with the changes applied; a null change removes the key.
inline QJsonObject changedJson(const QString &path, const QJsonObject &changes)
{
    QJsonObject object = readJson(path);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isNull())
            object.remove(it.key());
        else
            object.insert(it.key(), it.value());
    }
    return object;
}

// A copy of the built plug-in in dir/plugins, with its description and wrapper source. The
// vendor's core source, which the synthesis step only has to find, is there when a stand-in is
// given.
inline QString pluginCopy(const QString &dir, const QByteArray &coreStandIn = QByteArray())
{
    const QString plugins = dir + QStringLiteral("/plugins");
    QDir().mkpath(plugins + QStringLiteral("/data"));
    for (const char *file : {"libjesd204b.so", "jesd204b.ipspec", "data/jesd204b_top.v"})
        if (!QFile::copy(TestPaths::pluginDir() + '/' + file, plugins + '/' + file))
            qFatal("cannot copy %s", file);
    if (!coreStandIn.isNull())
        put(plugins + QStringLiteral("/data/jesd204b_core_encryption.v"), coreStandIn);
    return plugins;
}

} // namespace TestFiles
