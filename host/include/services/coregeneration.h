#pragma once

#include "devicedb.h"
#include "hostexport.h"
#include "parametermap.h"

#include <QString>
#include <QStringList>

namespace IPSERDESIP {
class BaseProtocol;
}

namespace HostFiles {
class WriteBatch;
}

// The host's one way to a generated core. Every command that needs a core's files asks here:
// the set is judged by the protocol's safety rules (and its value rules unless taken as it is),
// the protocol generates under a generation scope rooted at the working folder, so that its
// files are staged through the batch under the lock of their folder, and the batch is
// committed whole or not at all.
namespace IPCore {

struct CoreRequest
{
    IPSERDESIP::ParameterMap params;
    DEV::DeviceArg device; // null: the set's own "target_device"
    QString workdir;       // absolute; the core's folder goes below it
    bool valueRules = true;
    bool synthesis = false;
    // Staged only: the batch is left to the caller, which drops it (a preview) or adds to it.
    bool commit = true;
};

struct GeneratedCore
{
    QStringList iniLines;
    QStringList moduleOptions;
    QString message; // the synthesis step's report
};

enum class CoreOutcome {
    Generated,
    Refused, // the set broke a rule: *error names the key, the value and what is allowed
    Failed   // the generation or the commit failed: *error says why
};

IPSERDESHOST_EXPORT CoreOutcome generateCore(IPSERDESIP::BaseProtocol &protocol,
                                             const CoreRequest &request,
                                             HostFiles::WriteBatch &batch, GeneratedCore *core,
                                             QString *error);

struct DialogRequest
{
    bool edit = false;               // the dialog over `stored`, else a new core
    IPSERDESIP::ParameterMap stored; // the edited core's set
    QString name;                    // a new core's name
    DEV::DeviceArg device;           // a new core's device
    QString projectDir;              // absolute; what the dialog writes goes below it
};

// The protocol's configuration dialog through the same door: what it writes while it runs (its
// calculation's record) is staged in `batch` like a core's files, below the project folder, in
// a private staging folder under the lock of its folder, and committed or dropped by the caller
// with the rest of its batch. The accepted set; empty on cancel or refusal.
IPSERDESHOST_EXPORT IPSERDESIP::ParameterMap configureCore(IPSERDESIP::BaseProtocol &protocol,
                                                           const DialogRequest &request,
                                                           HostFiles::WriteBatch &batch);

} // namespace IPCore
