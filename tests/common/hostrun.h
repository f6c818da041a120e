#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Running the built host program the way a user does, for the tests of its commands.
namespace TestSupport {

struct HostRun
{
    int exitCode = -1; // -1 when the program hung or crashed
    QByteArray out;
    QByteArray err;

    QStringList outLines() const; // without empty lines
    QStringList errLines() const; // split at every newline, empty ones kept
};

HostRun runHost(const QStringList &arguments, int timeoutMs = 60000);

} // namespace TestSupport
