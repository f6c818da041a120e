#pragma once

#include "commandsupport.h"
#include "linkparameters.h"

#include <linkmode.h>

#include <QString>
#include <QStringList>

namespace HostProgram {

// What `plan` was asked to do, every input checked.
struct PlanRequest
{
    IPJESD204B::LinkMode mode;
    CoreDirection direction = CoreDirection::Both;
    QString device;
    QString designPath;
    QString emitPath;
    bool json = false;
    Ratio sysrefMHz;    // a SYSREF to check against the LMFC; invalid when not given
    Ratio skewBudgetNs; // lane skew plus delay variation; invalid when not given
};

// Adds the command's options and parses them into *request. False with *exitCode set (help
// printed, or bad usage reported).
bool parsePlanOptions(CommandLine &command, const QStringList &arguments, PlanRequest *request,
                      int *exitCode);

} // namespace HostProgram
