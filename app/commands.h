#pragma once

#include <QStringList>

// The host program's commands. Each receives the program's arguments without the command
// word (arguments[0] is the program name) and returns the process exit code.
namespace HostProgram {

enum ExitCode { Success = 0, JobFailed = 1, BadUsage = 2 };

int runList(const QStringList &arguments);      // list the protocols of the plug-ins
int runDevices(const QStringList &arguments);   // list the device database
int runGenerate(const QStringList &arguments);  // generate a core from a parameter set
int runResources(const QStringList &arguments); // print a parameter set's resource report
int runCheck(const QStringList &arguments);     // prove a parameter set's line rate
int runConfigure(const QStringList &arguments); // run the configuration dialog
int runPlan(const QStringList &arguments);      // plan a link from a converter's mode
int runIlas(const QStringList &arguments);      // preview a stored set's ILAS configuration
int runSimulate(const QStringList &arguments);  // run a generated core's link in a simulator
int runTemplate(const QStringList &arguments);  // write the files around a core
int runTransport(const QStringList &arguments); // write a core's transport modules
int runVersion(const QStringList &arguments);   // the program's and the plug-ins' versions

// Whether a command needs a GUI application object (widgets).
bool needsWidgets(const QString &command, const QStringList &arguments);

} // namespace HostProgram
