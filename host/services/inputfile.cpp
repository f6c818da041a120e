#include <services/inputfile.h>

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IPSERDESIP {

namespace {

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

bool readInputFile(const QString &path, QByteArray *contents, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    if (path.isEmpty() || name.contains('\0')) {
        *error = QStringLiteral("not a usable file name");
        return false;
    }
    // O_NONBLOCK: opening a FIFO must not wait for a writer before it can be refused.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *error = errno == ENOENT ? QStringLiteral("no such file") : systemReason(errno);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return false;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0) {
        *error = systemReason(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        *error = QStringLiteral("is a directory, not a file");
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        *error = QStringLiteral("not a regular file (a device, pipe or socket is not read)");
        return false;
    }
    if (status.st_size > MaxInputFileBytes) {
        *error = QStringLiteral("%1 bytes is over the limit of %2 bytes (16 MiB) for an input "
                                "file")
                     .arg(status.st_size)
                     .arg(MaxInputFileBytes);
        return false;
    }
    // A file that grows while it is read is cut at the limit plus one byte and refused.
    QByteArray data = file.read(MaxInputFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    if (data.size() > MaxInputFileBytes) {
        *error = QStringLiteral("grew over the limit of %1 bytes while it was read")
                     .arg(MaxInputFileBytes);
        return false;
    }
    *contents = data;
    return true;
}

} // namespace IPSERDESIP
