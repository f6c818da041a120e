#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// What the harnesses share: one scratch directory per fuzzing process, and the input as a file
// for the readers that only take a path.
namespace FuzzSupport {

inline const QTemporaryDir &scratchDir()
{
    static const QTemporaryDir dir;
    return dir;
}

// Writes the input to a file of the given name in the scratch directory; its path.
inline QString inputFile(const QString &name, const uint8_t *data, size_t size)
{
    const QString path = scratchDir().filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    return path;
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size));
}

} // namespace FuzzSupport
