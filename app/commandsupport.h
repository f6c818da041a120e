#pragma once

#include "commands.h"
#include "parameterfile.h"
#include "pluginloader.h"

#include <devicedb.h>
#include <parametermap.h>

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace IPSERDESIP {
class BaseProtocol;
}

namespace HostProgram {

// What every command shares: its parser with --help, one-line errors on standard error as
// "ipcore-host <command>: ...", and the way it finds the device and the JESD204B protocol.
class CommandLine
{
public:
    CommandLine(const QString &command, const QString &description);

    QCommandLineParser &parser() { return m_parser; }
    // --plugin-dir DIR, defaulting to where the build or installation put the plug-in.
    void addPluginDirOption();

    // Parses the arguments. Returns true when the command should go on; otherwise *exitCode
    // holds the code to return (help printed, or bad usage reported).
    bool parse(const QStringList &arguments, int *exitCode);

    // For a command over one parameter set: adds --plugin-dir and the positional PARAMS.json,
    // parses, and reads the set (a version other than the supported one refused). False with
    // *exitCode set when the command should stop.
    bool parseWithParameterFile(const QStringList &arguments, IPSERDESIP::ParameterMap *params,
                                int *exitCode);

    // One line: control characters in the message (from files, names, paths) are escaped.
    int fail(int code, const QString &message) const;
    // Refuses (BadUsage, false) an output that is one of the inputs, by any name.
    bool refuseOutputOverInput(const QString &output, const QStringList &inputs,
                               int *exitCode) const;
    // One "warning: ..." line on standard error per entry; the command goes on.
    void warn(const QStringList &warnings) const;

    QString pluginDir() const;
    QString parameterFile() const;

private:
    QString m_command;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_pluginDir;
    QCommandLineOption m_verbose;
    bool m_takesParameterFile = false;
};

// The text with every control, line or paragraph separator character escaped ("\n",
// "\u001b"), so that a string from a file prints as one line and forges none.
QString printable(const QString &text);

// Writes the bytes to standard output and flushes it; false with *error when that fails.
bool writeStandardOutput(const QByteArray &bytes, QString *error);

// The command's exit code once standard output is flushed: a failed flush or an earlier failed
// write ends the command in one line with JobFailed.
int finishStandardOutput(const QString &command, int exitCode);

// --device ID, a part-number id or a device name; `use` ends the help sentence with what the
// command does with it.
QCommandLineOption deviceOption(const QString &use);

// A part-number id or a device name; null when the database knows neither.
DEV::DeviceArg lookUpDevice(const QString &idOrName);

// Loads the plug-ins of the command line's directory and finds the JESD204B protocol. On
// failure it is null and *exitCode / the reported message say why.
IPSERDESIP::BaseProtocol *loadJesd204b(const CommandLine &command, PluginSet *plugins,
                                       int *exitCode);

} // namespace HostProgram
