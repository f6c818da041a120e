#pragma once

#include "commandsupport.h"
#include "planoptions.h"

#include <linkplan.h>

#include <QJsonObject>
#include <QStringList>

// A planned link in its system: the design's other links and the SYSREF they share, a given
// SYSREF against each, and the receive release window for a skew budget.
namespace HostProgram {

struct PlannedSystem
{
    QStringList lines;        // printed after the plan
    QStringList failures;     // each fails the plan (exit 1)
    bool sysrefTight = false; // a given SYSREF as fast as some LMFC
    QJsonObject json;         // "designLinks", "commonSysref", "skewBudget" for plan --json
};

// For a valid plan; own names the planned core's earlier self in the design, left out.
PlannedSystem planSystem(const PlanRequest &request, const IPJESD204B::LinkPlan &plan,
                         const QString &own);

// Prints the lines (not with --json), the warning and the failures; the exit code.
int reportPlannedSystem(const CommandLine &command, const PlanRequest &request,
                        const PlannedSystem &system);

} // namespace HostProgram
