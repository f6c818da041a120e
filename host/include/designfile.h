#pragma once

#include "hostexport.h"

#include <QString>

namespace HostFiles {
class WriteBatch;
}

namespace IPSERDESIP {

class Message;

// How addInstance treats a core of the same name already in the design: an edited core
// replaces its earlier entries; a new core that finds one was added by another run meanwhile.
enum class SameName { Replace, Refuse };

// A design: the other cores of a project as the SERDES model should see them (their lanes,
// PLLs, reference clocks, protocol instances), global data and PLL-table overrides. Stored
// as JSON.
class IPSERDESHOST_EXPORT DesignFile
{
public:
    // Loads the design into serdes::instance(), replacing what the model held. A malformed
    // design loads nothing and explains itself in *error (file and entry named).
    static bool load(const QString &path, QString *error);
    // Adds an accepted core's resource report to the design file as an instance and writes
    // the file back atomically. The model's global data (what the accepted dialog published:
    // quad bias, DRP record) is written into the design's global data too; the keys the core
    // changed or added are recorded in its instance entry, and serdes::removeInstance gives
    // them back when the core is edited.
    // The update reads the design again under the design's lock, so that a core another run
    // added in the meantime is judged and kept. With a batch, the lock is held and the new file
    // staged in it, for the caller to commit with its other files; without one it is written
    // at once.
    static bool addInstance(const QString &path, const Message &report, QString *error,
                            SameName sameName = SameName::Replace,
                            HostFiles::WriteBatch *batch = nullptr);
    // How long a run waits for another one that is updating the same design.
    static constexpr int LockTimeoutMs = 10000;
};

} // namespace IPSERDESIP
