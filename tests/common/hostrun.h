#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// Running the built host program the way a user does, for the tests of its commands.
namespace TestSupport {

struct HostRun
{
    int exitCode = -1; // -1 when the program hung or crashed
    QByteArray out;
    QByteArray err;

    QStringList outLines() const; // without empty lines
    QStringList errLines() const; // split at every newline, empty ones kept
    QJsonObject json() const;     // standard output as a JSON object
};

// How a run differs from the test's own process.
struct HostSetup
{
    QStringList environment;  // "NAME=value" sets (an empty value too), a bare "NAME" removes
    qint64 fileSizeLimit = 0; // RLIMIT_FSIZE in bytes through prlimit; 0: inherited
    int timeoutMs = 60000;
    QString workingDirectory;   // empty: the test's
    QString standardOutputFile; // empty: read by the test
};

HostRun runHost(const QStringList &arguments, const HostSetup &setup = {});

// Runs that overlap: start several, then finish each.
std::unique_ptr<QProcess> startHost(const QStringList &arguments, const HostSetup &setup = {});
HostRun finishHost(QProcess &process, int timeoutMs = 60000);

} // namespace TestSupport
