#pragma once

#include <QByteArray>
#include <QString>

#include <unistd.h>

// The writer's small pieces over the system's file calls, shared by its parts.
namespace HostFiles {
namespace Detail {

// An open file descriptor that closes itself.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd &&other) noexcept : m_fd(other.release()) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = other.release();
        }
        return *this;
    }
    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

QString systemReason(int error);

// Sets *error (when asked for) and returns false.
bool fail(QString *error, const QString &reason);

QString absoluteClean(const QString &path);

// Why an entry that had to be a plain folder or file is not; empty when it is none of these.
QString kindProblem(int dirFd, const QByteArray &name, const QString &shown, bool wantFolder);

} // namespace Detail
} // namespace HostFiles
