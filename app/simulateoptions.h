#pragma once

#include "commandsupport.h"

#include <linksettings.h>
#include <simulatorrun.h>

#include <parametermap.h>

#include <QString>
#include <QStringList>

namespace HostProgram {

// What `simulate` was asked to do, every input checked.
struct SimulateOptions
{
    IPSERDESIP::ParameterMap params;
    QString workdir;
    LinkSim::RunSettings settings;
    LinkSim::Simulator simulator = LinkSim::Simulator::Icarus;
    QString dumpFile; // absolute; empty: no lane dump
    QString vcdFile;  // absolute; empty: no waveform
    int timeoutMs = 600 * 1000;
};

// Adds the command's options, parses them and reads the parameter set. False with *exitCode
// set (help printed, or bad usage reported).
bool parseSimulateOptions(CommandLine &command, const QStringList &arguments,
                          SimulateOptions *options, int *exitCode);

} // namespace HostProgram
